#include "settings/WideCase.h"

namespace {

// Latin Extended-A pairs capital and small letters on neighbouring code
// units; in these runs the capital sits on the odd one.
bool OddCapitalRun(char16_t c) {
  return (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E);
}

char16_t LatinExtendedAUpper(char16_t c) {
  switch (c) {
    case 0x0131: return u'I';    // dotless i
    case 0x017F: return u'S';    // long s
    case 0x0130: case 0x0138: case 0x0149: return c;  // no pair
    default: break;
  }
  if (OddCapitalRun(c)) return (c % 2 == 0) ? static_cast<char16_t>(c - 1) : c;
  return (c % 2 == 1) ? static_cast<char16_t>(c - 1) : c;
}

char16_t GreekUpper(char16_t c) {
  switch (c) {
    case 0x03AC: return 0x0386;
    case 0x03AD: return 0x0388;
    case 0x03AE: return 0x0389;
    case 0x03AF: return 0x038A;
    case 0x03C2: return 0x03A3;  // final sigma
    case 0x03CC: return 0x038C;
    case 0x03CD: return 0x038E;
    case 0x03CE: return 0x038F;
    default: break;
  }
  if ((c >= 0x03B1 && c <= 0x03C1) || (c >= 0x03C3 && c <= 0x03CB)) return static_cast<char16_t>(c - 0x20);
  return c;
}

char16_t CyrillicUpper(char16_t c) {
  if (c >= 0x0430 && c <= 0x044F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x0450 && c <= 0x045F) return static_cast<char16_t>(c - 0x50);
  // 0x0460-0x0481 and 0x048A-0x04BF pair capital (even) with small (odd).
  if (((c >= 0x0460 && c <= 0x0481) || (c >= 0x048A && c <= 0x04BF)) && c % 2 == 1)
    return static_cast<char16_t>(c - 1);
  if (c >= 0x04C1 && c <= 0x04CE && c % 2 == 0) return static_cast<char16_t>(c - 1);
  if (c == 0x04CF) return 0x04C0;
  if (c >= 0x04D0 && c <= 0x052F && c % 2 == 1) return static_cast<char16_t>(c - 1);
  return c;
}

}  // namespace

char16_t WideUpperChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  if (c < 0x100) {
    if (c == 0x00B5) return 0x039C;  // micro sign
    if (c == 0x00FF) return 0x0178;
    if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) return static_cast<char16_t>(c - 0x20);
    return c;
  }
  if (c < 0x180) return LatinExtendedAUpper(c);
  if (c >= 0x0370 && c < 0x0400) return GreekUpper(c);
  if (c >= 0x0400 && c < 0x0530) return CyrillicUpper(c);
  return c;
}

std::u16string WideUpperCase(std::u16string_view text) {
  std::u16string result(text);
  for (char16_t& c : result) c = WideUpperChar(c);
  return result;
}
