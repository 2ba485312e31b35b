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
  std::wstring Guid;     // the feed's own id of the item (RSS guid, Atom id), trimmed
  // What tells this item from others across refreshes: its address, or its
  // id when it has none.
  const std::wstring& Identity() const { return Link.empty() ? Guid : Link; }
  // Where the list last laid the headline out; the right edge once the
  // headline has been measured (painted or pointed at).
  RECT TitleRect = {0, 0, 0, 0};
};

using TElementList = std::vector<std::unique_ptr<TElement>>;
