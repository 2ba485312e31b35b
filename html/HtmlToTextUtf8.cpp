#include "html/HtmlToTextUtf8.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint64_t HighBits = 0x8080808080808080ull;

// Copies the ASCII run at s[i...] (as far as it goes, eight bytes at a time)
// to out[o...]; returns the new i, o moved along with it.
std::size_t CopyAscii(const unsigned char* s, std::size_t n, std::size_t i, char16_t* out, std::size_t& o) {
  while (i + 8 <= n) {
    std::uint64_t word;
    std::memcpy(&word, s + i, 8);
    if (word & HighBits) break;
    for (int k = 0; k < 8; ++k) out[o + k] = s[i + k];
    i += 8, o += 8;
  }
  while (i < n && s[i] < 0x80) out[o++] = s[i++];
  return i;
}

}  // namespace

void Utf8ToUtf16(std::string_view text, std::u16string& out) {
  // Never more UTF-16 units than bytes: the buffer is sized once, then
  // written through a pointer and cut to length.
  out.resize(text.size());
  char16_t* d = out.data();
  std::size_t o = 0;
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    i = CopyAscii(s, n, i, d, o);
    if (i >= n) break;
    const unsigned char b = s[i];
    std::size_t length;
    char32_t cp, min;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2, cp = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3, cp = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4, cp = b & 0x07, min = 0x10000;
    } else {
      d[o++] = 0xFFFD;
      ++i;
      continue;
    }
    std::size_t j = 1;
    for (; j < length && i + j < n && (s[i + j] & 0xC0) == 0x80; ++j) cp = (cp << 6) | (s[i + j] & 0x3F);
    if (j < length || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      d[o++] = 0xFFFD;
      i += j;  // the lead byte and the continuation bytes that were read
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      d[o++] = static_cast<char16_t>(0xD800 + (cp >> 10));
      d[o++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      d[o++] = static_cast<char16_t>(cp);
    }
    i += length;
  }
  out.resize(o);
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  Utf8ToUtf16(text, out);
  return out;
}

void Utf16ToUtf8(std::u16string_view text, std::string& out) {
  // At most three bytes per unit (a pair of surrogates makes four from two).
  out.resize(text.size() * 3);
  char* d = out.data();
  std::size_t o = 0;
  const std::size_t n = text.size();
  const char16_t* u = text.data();
  for (std::size_t i = 0; i < n; ++i) {
    // ASCII runs four units at a time.
    while (i + 4 <= n) {
      std::uint64_t word;
      std::memcpy(&word, u + i, 8);
      if (word & 0xFF80FF80FF80FF80ull) break;
      for (int k = 0; k < 4; ++k) d[o + k] = static_cast<char>(u[i + k]);
      i += 4, o += 4;
    }
    if (i >= n) break;
    char32_t cp = text[i];
    if (cp < 0x80) {
      d[o++] = static_cast<char>(cp);
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x800) {
      d[o++] = static_cast<char>(0xC0 | (cp >> 6));
      d[o++] = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      d[o++] = static_cast<char>(0xE0 | (cp >> 12));
      d[o++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      d[o++] = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      d[o++] = static_cast<char>(0xF0 | (cp >> 18));
      d[o++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      d[o++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      d[o++] = static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  out.resize(o);
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  Utf16ToUtf8(text, out);
  return out;
}
