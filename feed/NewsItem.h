// One news item as the list shows it: text ready to paint.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct TElement {
  std::wstring Title;    // plain text, wrapped at 50 columns with "\r\n"
  std::wstring Summary;  // plain text, wrapped at 60 columns with "\r\n"
  std::wstring Link;     // the address the item opens
  RECT TitleRect = {0, 0, 0, 0};  // where the headline was last laid out
};

using TElementList = std::vector<std::unique_ptr<TElement>>;
