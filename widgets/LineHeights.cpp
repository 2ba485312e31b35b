#include "widgets/LineHeights.h"

namespace {

// Latin with Turkish letters, and general punctuation: the characters every
// font the list may get has.
bool Plain(wchar_t c) { return (c >= 0x20 && c < 0x250) || (c >= 0x2000 && c < 0x2070); }

}  // namespace

bool TLineHeights::Shape(const std::wstring& text, unsigned long long& shape) {
  // Bits: the line count, then whether the text is empty, starts or ends
  // with a line feed, or has an empty line inside.
  unsigned long long lines = 1, flags = 0;
  if (text.empty()) flags |= 1;
  if (!text.empty() && text.front() == L'\n') flags |= 2;
  if (!text.empty() && text.back() == L'\n') flags |= 4;
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (c == L'\n') {
      ++lines;
      if (i + 1 < text.size() && text[i + 1] == L'\n') flags |= 8;
    } else if (!Plain(c)) {
      return false;
    }
  }
  shape = lines << 4 | flags;
  return true;
}

float TLineHeights::Height(TCanvasEx& canvas, const std::wstring& text) {
  unsigned long long shape = 0;
  if (!Shape(text, shape)) {
    ++measured_;
    return canvas.TextHeight(text);
  }
  auto it = known_.find(shape);
  if (it != known_.end()) return it->second;
  ++measured_;
  float height = canvas.TextHeight(text);
  known_.emplace(shape, height);
  return height;
}
