#include <doctest.h>

#include "widgets/ListSelection.h"

namespace {
// Five items of uneven height: rows 0, 60, 100, 260, 300; a 120-row page.
const std::vector<int> Tops{0, 60, 100, 260, 300};
constexpr int Page = 120;
}  // namespace

TEST_CASE("keys move the selection from headline to headline") {
  struct Row {
    int from;
    TListKey key;
    int to;
  };
  const Row rows[] = {
      {0, TListKey::Down, 1},      {1, TListKey::Down, 2},     {4, TListKey::Down, 4},  // stays on the last
      {2, TListKey::Up, 1},        {0, TListKey::Up, 0},                                // stays on the first
      {3, TListKey::Home, 0},      {1, TListKey::End, 4},
      {0, TListKey::PageDown, 2},  // row 120 lies in item 2 (100..260)
      {2, TListKey::PageDown, 3},  // row 220 is still item 2: at least one item on
      {3, TListKey::PageDown, 4},  {4, TListKey::PageDown, 4},
      {4, TListKey::PageUp, 2},  // row 180 lies in item 2
      {1, TListKey::PageUp, 0},    {0, TListKey::PageUp, 0},
      {-1, TListKey::Down, 0},  // nothing selected yet: the first
      {-1, TListKey::End, 4},      {9, TListKey::Up, 0},  // out of range (a shorter list): the first
  };
  for (const Row& r : rows) {
    CAPTURE(r.from);
    CAPTURE(static_cast<int>(r.key));
    CHECK(MovedSelection(r.from, r.key, Tops, Page) == r.to);
  }
}

TEST_CASE("an empty list has no selection, a one-item list only its item") {
  CHECK(MovedSelection(-1, TListKey::Down, {}, Page) == -1);
  CHECK(MovedSelection(0, TListKey::End, {}, Page) == -1);
  for (TListKey key : {TListKey::Up, TListKey::Down, TListKey::PageUp, TListKey::PageDown, TListKey::End})
    CHECK(MovedSelection(0, key, {0}, Page) == 0);
  // A page of no rows still moves by one.
  CHECK(MovedSelection(0, TListKey::PageDown, Tops, 0) == 1);
}

TEST_CASE("a refresh keeps the selection on the same headline, or goes to the first") {
  const std::vector<std::wstring> links{L"http://a/1", L"http://a/2", L"http://a/3"};
  CHECK(ReloadedSelection(L"http://a/3", links) == 2);  // moved down the list
  CHECK(ReloadedSelection(L"http://a/9", links) == 0);  // gone
  CHECK(ReloadedSelection(L"", links) == 0);            // an item without a link has no identity
  CHECK(ReloadedSelection(L"http://a/1", {}) == -1);    // nothing left to select
  CHECK(ReloadedSelection(L"http://A/3", links) == 0);  // addresses compare exactly
}
