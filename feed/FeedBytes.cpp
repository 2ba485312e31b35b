#include "feed/FeedBytes.h"

namespace {

// windows-1254 at 0x80..0x9F; 0 where the code page assigns nothing.
constexpr char16_t Cp1254C1[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0,      0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0,      0x0178,  // 98-9F
};

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at i and its code point, or
// 0 when the byte at i starts none. The second byte's range excludes
// overlong forms, surrogates and values past U+10FFFF (Unicode's table 3-7).
std::size_t Utf8Sequence(std::string_view s, std::size_t i, char32_t& code) {
  auto at = [&](std::size_t k) { return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0u; };
  const unsigned char b0 = at(0);
  if (b0 < 0x80) {
    code = b0;
    return 1;
  }
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    if (b0 == 0xE0) low = 0xA0;
    if (b0 == 0xED) high = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  const unsigned char b1 = at(1);
  if (i + 1 >= s.size() || b1 < low || b1 > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (i + k >= s.size() || !IsContinuation(at(k))) return 0;
  code = b0 & (0xFF >> (length + 1));
  for (std::size_t k = 1; k < length; ++k) code = code << 6 | (at(k) & 0x3F);
  return length;
}

void AppendCode(std::u16string& out, char32_t code) {
  if (code < 0x10000) {
    out += static_cast<char16_t>(code);
  } else {
    code -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (code >> 10));
    out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  }
}

}  // namespace

char16_t Windows1254Char(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte < 0xA0) return Cp1254C1[byte - 0x80];
  // Latin-1 but for the six Turkish letters.
  switch (byte) {
    case 0xD0: return 0x011E;  // Ğ
    case 0xDD: return 0x0130;  // İ
    case 0xDE: return 0x015E;  // Ş
    case 0xF0: return 0x011F;  // ğ
    case 0xFD: return 0x0131;  // ı
    case 0xFE: return 0x015F;  // ş
    default: return byte;
  }
}

TUtf8Evidence Utf8EvidenceOf(std::string_view bytes) {
  TUtf8Evidence evidence;
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t code;
    std::size_t n = Utf8Sequence(bytes, i, code);
    if (n == 0) {
      ++evidence.Invalid;
      ++i;
    } else {
      if (n > 1) ++evidence.Multibyte;
      i += n;
    }
  }
  return evidence;
}

std::u16string DecodeUtf8Or1254(std::string_view bytes, std::size_t* legacyBytes) {
  std::u16string out;
  out.reserve(bytes.size());
  std::size_t legacy = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t code;
    if (std::size_t n = Utf8Sequence(bytes, i, code)) {
      AppendCode(out, code);
      i += n;
    } else {
      if (char16_t c = Windows1254Char(static_cast<unsigned char>(bytes[i]))) out += c;
      ++legacy;
      ++i;
    }
  }
  if (legacyBytes) *legacyBytes = legacy;
  return out;
}
