#include "html/HtmlToTextUtf8.h"

#include <cstdint>
#include <cstring>

#include "html/HtmlToText.h"
#include "html/TextScan.h"

namespace {

#if defined(KAVRELO_SSE2_SCANS)
// Widens the ASCII run at s[i...] sixteen bytes at a time into out[o...]
// and moves i and o past it, up to the first byte of a longer sequence or
// the last fifteen bytes. Whole blocks are stored before they are looked at:
// out holds at least n units and o never passes i.
void CopyAsciiBlocks(const unsigned char* s, std::size_t n, std::size_t& i, char16_t* out, std::size_t& o) {
  const __m128i zero = _mm_setzero_si128();
  while (n - i >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o + 8), _mm_unpackhi_epi8(v, zero));
    const int high = _mm_movemask_epi8(v);
    if (high) {
      const std::size_t k = static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(high)));
      i += k, o += k;
      return;
    }
    i += 16, o += 16;
  }
}

// Narrows the ASCII run at u[i...] eight units at a time into out[o...], as
// CopyAsciiBlocks; out holds at least three bytes per unit of the input.
void CopyAsciiBlocks(const char16_t* u, std::size_t n, std::size_t& i, char* out, std::size_t& o) {
  const __m128i notAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
  const __m128i zero = _mm_setzero_si128();
  while (n - i >= 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(u + i));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + o), _mm_packus_epi16(v, v));
    const int ascii = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, notAscii), zero));
    if (ascii != 0xFFFF) {
      const std::size_t k = static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(~ascii))) >> 1;
      i += k, o += k;
      return;
    }
    i += 8, o += 8;
  }
}
#else
constexpr std::uint64_t HighBits = 0x8080808080808080ull;

void CopyAsciiBlocks(const unsigned char* s, std::size_t n, std::size_t& i, char16_t* out, std::size_t& o) {
  while (n - i >= 8) {
    std::uint64_t word;
    std::memcpy(&word, s + i, 8);
    if (word & HighBits) return;
    for (int k = 0; k < 8; ++k) out[o + k] = s[i + k];
    i += 8, o += 8;
  }
}

void CopyAsciiBlocks(const char16_t* u, std::size_t n, std::size_t& i, char* out, std::size_t& o) {
  while (n - i >= 4) {
    std::uint64_t word;
    std::memcpy(&word, u + i, 8);
    if (word & 0xFF80FF80FF80FF80ull) return;
    for (int k = 0; k < 4; ++k) out[o + k] = static_cast<char>(u[i + k]);
    i += 4, o += 4;
  }
}
#endif


// Decodes text into out, which has room for text.size() units (never more
// are needed); returns how many were written.
std::size_t DecodeUtf8(std::string_view text, char16_t* d) {
  std::size_t o = 0;
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    CopyAsciiBlocks(s, n, i, d, o);
    while (i < n && s[i] < 0x80) d[o++] = s[i++];
    if (i >= n) break;
    const unsigned char b = s[i];
    // Two bytes, the common case in European text.
    if (b >= 0xC2 && b <= 0xDF && i + 1 < n && (s[i + 1] & 0xC0) == 0x80) {
      d[o++] = static_cast<char16_t>(((b & 0x1F) << 6) | (s[i + 1] & 0x3F));
      i += 2;
      continue;
    }
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
  return o;
}

}  // namespace

void Utf8ToUtf16(std::string_view text, std::u16string& out) {
  // Sized once, written through a pointer and cut to length.
  out.resize(text.size());
  out.resize(DecodeUtf8(text, out.data()));
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
  std::size_t i = 0;
  while (i < n) {
    CopyAsciiBlocks(u, n, i, d, o);
    if (i >= n) break;
    char32_t cp = u[i++];
    if (cp < 0x80) {
      d[o++] = static_cast<char>(cp);
      continue;
    }
    if (cp < 0x800) {
      d[o++] = static_cast<char>(0xC0 | (cp >> 6));
      d[o++] = static_cast<char>(0x80 | (cp & 0x3F));
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF && i < n && u[i] >= 0xDC00 && u[i] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (u[i++] - 0xDC00);
      d[o++] = static_cast<char>(0xF0 | (cp >> 18));
      d[o++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      d[o++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      d[o++] = static_cast<char>(0x80 | (cp & 0x3F));
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;  // a lone surrogate
    d[o++] = static_cast<char>(0xE0 | (cp >> 12));
    d[o++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    d[o++] = static_cast<char>(0x80 | (cp & 0x3F));
  }
  out.resize(o);
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  Utf16ToUtf8(text, out);
  return out;
}

void HtmlToTextUtf8(std::string_view fragment, std::string& text) {
  text.clear();
  try {
    // Without "<" or "&" (bytes that only ever stand for themselves in
    // UTF-8) there is no markup, and no parser runs.
    if (fragment.find_first_of("<&") == std::string_view::npos) {
      Utf16ToUtf8(HtmlToText(Utf8ToUtf16(fragment)), text);
      return;
    }
    const bool done = HtmlToTextParsedWith(
        fragment.size(), [&](char16_t* input) { return DecodeUtf8(fragment, input); },
        [&](std::u16string_view result) { Utf16ToUtf8(result, text); });
    if (!done) text.clear();
  } catch (...) {
    text.clear();
  }
}

std::string HtmlToTextUtf8(std::string_view fragment) {
  std::string text;
  HtmlToTextUtf8(fragment, text);
  return text;
}
