// Where the keyboard moves the selection in the news list, and where the
// selection goes when a refresh replaces the items. Only numbers and
// addresses: the list hands in its rows.
#pragma once

#include <string>
#include <vector>

enum class TListKey { Up, Down, Home, End, PageUp, PageDown };

// The item selected after `key`, from `current` (-1: none yet; any move
// then lands on the first item). `tops` holds each item's first list row,
// ascending; a page is `viewport` rows. Paging lands on the item at the
// row one viewport away from the current item's top, and moves at least
// one item while there is one to go to. -1 only for an empty list.
int MovedSelection(int current, TListKey key, const std::vector<int>& tops, int viewport);

// The selection in the new items: the item with the address the selected
// one had, or else the first. -1 only for an empty list.
int ReloadedSelection(const std::wstring& selectedLink, const std::vector<std::wstring>& links);
