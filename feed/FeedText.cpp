#include "feed/FeedText.h"

#include "framework/WideText.h"
#include "html/HtmlToText.h"
#include "html/WrapText.h"

namespace {

constexpr int TitleColumns = 50;
constexpr int SummaryColumns = 60;

// The texts go through the portable core's UTF-16 once: converted in, one
// copy per step that changes them, converted out. Wrapping works on UTF-16
// itself: a detour through the ANSI code page would turn Turkish letters
// into '?' on any system not set to 1254.
std::u16string_view TrimControls(std::u16string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && text[first] <= u' ') ++first;
  while (last > first && text[last - 1] <= u' ') --last;
  return text.substr(first, last - first);
}

// windows-1254 at 0x80..0x9F; 0 where the code page assigns nothing. Ž and ž
// (0x8E, 0x9E) are windows-1252's, which ISO-8859-1 labels hide the same way.
constexpr wchar_t Cp1254High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

}  // namespace

namespace {

void RepairC1InPlace(std::u16string& text) {
  size_t out = 0;
  for (char16_t c : text) {
    if (c < 0x80 || c > 0x9F)
      text[out++] = c;
    else if (wchar_t repaired = Cp1254High[c - 0x80])
      text[out++] = static_cast<char16_t>(repaired);
  }
  text.resize(out);
}

std::wstring Finished(std::u16string text, int columns) {
  RepairC1InPlace(text);
  return WideFromU16(WrapText(text, WrapBreakStr, WrapBreakChars, columns));
}

}  // namespace

std::wstring RepairC1(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (c >= 0x80 && c <= 0x9F) {
      if (wchar_t repaired = Cp1254High[c - 0x80]) out += repaired;
    } else {
      out += c;
    }
  }
  return out;
}

std::wstring FeedTitleText(const std::wstring& xmlText) {
  const std::u16string text = U16FromWide(xmlText);
  return Finished(HtmlToText(TrimControls(text)), TitleColumns);
}

std::wstring FeedSummaryText(const std::wstring& xmlText) {
  return Finished(HtmlToText(U16FromWide(xmlText)), SummaryColumns);
}

std::wstring PlainTitleText(const std::wstring& text) { return Finished(U16FromWide(text), TitleColumns); }

std::wstring PlainSummaryText(const std::wstring& text) { return Finished(U16FromWide(text), SummaryColumns); }
