// HtmlToText on any input: never crashes, hangs or throws, and renders
// exactly what the parser and the formatter would. The first byte
// picks how the rest is read: odd as raw UTF-16LE code units (lone
// surrogates included), even as UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "html/HtmlToText.h"
#include "html/HtmlToTextUtf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::u16string fragment;
  if (data[0] & 1) {
    for (std::size_t i = 1; i + 1 < size; i += 2)
      fragment.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  } else {
    fragment = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  }
  std::u16string text = HtmlToText(fragment);
  // The rendering never begins with a space: leading spaces are dropped.
  if (!text.empty() && text[0] == u' ') std::abort();
  // Plain text takes a shortcut past the parser; it must render the same.
  if (text != HtmlToTextParsed(fragment)) std::abort();
  return 0;
}
