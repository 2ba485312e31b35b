// WrapText on any text and width: never crashes or hangs; it only inserts
// break strings (the text itself comes back unchanged between them), and
// never inside a surrogate pair. Input: one byte of width, then UTF-16LE code
// units.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "html/WrapText.h"

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int width = data[0] % 100;  // 0 included: every break character breaks
  std::u16string text;
  for (std::size_t i = 1; i + 1 < size; i += 2)
    text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));

  // As the news list calls it.
  WrapText(text, WrapBreakStr, WrapBreakChars, width);

  // With a break string the text cannot hold, the insertions can be checked.
  constexpr char16_t mark = 0xFFFF;
  for (char16_t& c : text) {
    if (c == mark) c = u'x';
  }
  std::u16string wrapped = WrapText(text, std::u16string(1, mark), WrapBreakChars, width);
  std::u16string unwrapped;
  for (std::size_t i = 0; i < wrapped.size(); ++i) {
    if (wrapped[i] != mark) {
      unwrapped.push_back(wrapped[i]);
      continue;
    }
    if (i > 0 && i + 1 < wrapped.size() && IsHigh(wrapped[i - 1]) && IsLow(wrapped[i + 1]))
      std::abort();  // a surrogate pair was split
  }
  if (unwrapped != text) std::abort();
  return 0;
}
