#include "html/WrapText.h"

#include <bitset>
#include <cstddef>

namespace {

class TBreakChars {
 public:
  explicit TBreakChars(std::u16string_view chars) : chars_(chars) {
    for (char16_t c : chars) {
      if (c < 256) latin_.set(c);
    }
  }
  bool Contains(char16_t c) const {
    if (c < 256) return latin_.test(c);
    return chars_.find(c) != std::u16string_view::npos;
  }

 private:
  std::u16string_view chars_;
  std::bitset<256> latin_;
};

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::u16string WrapText(std::u16string_view line, std::u16string_view breakStr,
                        std::u16string_view breakChars, int maxCol) {
  // Positions are 0-based; breakPos -1 means no break character seen yet.
  const TBreakChars isBreak(breakChars);
  const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(line.size());
  std::ptrdiff_t col = 1, pos = 0, linePos = 0, breakPos = -1;
  bool inBar = false, existingBreak = false;
  std::u16string result;
  result.reserve(line.size() + line.size() / 16);

  while (pos < n) {
    const char16_t ch = line[pos];
    if (IsHighSurrogate(ch) && pos + 1 < n && IsLowSurrogate(line[pos + 1])) {
      ++pos;  // the pair takes one column, and no break falls inside it
    } else {
      if (ch == u'|') inBar = !inBar;
      if (!inBar) {
        if (!breakStr.empty() && ch == breakStr[0] && line.substr(pos, breakStr.size()) == breakStr) {
          existingBreak = true;
          pos += static_cast<std::ptrdiff_t>(breakStr.size()) - 1;
          breakPos = pos;
        } else if (isBreak.Contains(ch)) {
          breakPos = pos;
        }
      }
    }
    ++pos;
    ++col;

    if (!inBar && (existingBreak || (col > maxCol && breakPos > linePos))) {
      col = 1;
      result.append(line.substr(linePos, breakPos - linePos + 1));
      if (ch != u'|') {
        // This look-ahead only decides whether a break string is needed (none
        // when only break characters remain); the next line is scanned again
        // from just after the break.
        while (pos < n) {
          if (isBreak.Contains(line[pos])) {
            ++pos;
            existingBreak = false;
          } else if (line[pos] == u'\r' && pos + 1 < n && line[pos + 1] == u'\n') {
            pos += 2;
            existingBreak = true;
          } else {
            break;
          }
        }
      }
      if (pos < n && !existingBreak) result.append(breakStr);
      linePos = breakPos + 1;
      pos = linePos;
      existingBreak = false;
    }
  }
  result.append(line.substr(linePos));
  return result;
}
