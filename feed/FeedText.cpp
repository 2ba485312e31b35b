#include "feed/FeedText.h"

#include "framework/WideText.h"
#include "html/HtmlToText.h"
#include "html/WrapText.h"

namespace {

constexpr int TitleColumns = 50;
constexpr int SummaryColumns = 60;

// Wrapping works on UTF-16 itself: a detour through the ANSI code page
// would turn Turkish letters into '?' on any system not set to 1254.
std::wstring Wrap(const std::wstring& text, int columns) {
  return WideFromU16(WrapText(U16FromWide(text), WrapBreakStr, WrapBreakChars, columns));
}

std::wstring TrimControls(const std::wstring& text) {
  size_t first = 0, last = text.size();
  while (first < last && text[first] <= L' ') ++first;
  while (last > first && text[last - 1] <= L' ') --last;
  return text.substr(first, last - first);
}

std::wstring HtmlText(const std::wstring& html) { return WideFromU16(HtmlToText(U16FromWide(html))); }

// windows-1254 at 0x80..0x9F; 0 where the code page assigns nothing. Ž and ž
// (0x8E, 0x9E) are windows-1252's, which ISO-8859-1 labels hide the same way.
constexpr wchar_t Cp1254High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

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
  return Wrap(RepairC1(HtmlText(TrimControls(xmlText))), TitleColumns);
}

std::wstring FeedSummaryText(const std::wstring& xmlText) {
  return Wrap(RepairC1(HtmlText(xmlText)), SummaryColumns);
}

std::wstring PlainTitleText(const std::wstring& text) { return Wrap(RepairC1(text), TitleColumns); }

std::wstring PlainSummaryText(const std::wstring& text) { return Wrap(RepairC1(text), SummaryColumns); }
