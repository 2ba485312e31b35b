// What reading an ill-formed feed costs next to the same feed well-formed:
// the strict parse that refuses it, the repair and the second parse. Each
// row is a 1 MB feed of the same items with one kind of slip in every item
// (the last row has them all); the ratio is to the well-formed feed's time
// in the same run.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/AtomicFile.h"
#include "bench/BenchTools.h"
#include "feed/FeedParser.h"
#include "feed/FeedRepair.h"
#include "feed/FeedSource.h"
#include "feed/XmlDom.h"
#include "framework/ComPtr.h"
#include "framework/WideText.h"

namespace {

constexpr size_t TargetBytes = 1024 * 1024;

struct TSlips {
  bool ampersands = false, legacyBytes = false, markup = false, prefixes = false, controls = false, truncated = false;
};

// One item; the slips replace their well-formed spelling, so every feed
// holds the same news.
std::string ItemOf(int i, const TSlips& s) {
  std::string n = std::to_string(i);
  std::string title = s.legacyBytes ? "Son dakika " + n + ": \xDDstanbul'da \xFE" "iddetli ya\xF0\xFD\xFE"
                                    : "Son dakika " + n + ": \xC4\xB0stanbul'da \xC5\x9F" "iddetli ya\xC4\x9F\xC4\xB1\xC5\x9F";
  if (s.ampersands) title += " & ula\xC5\x9F\xC4\xB1m&nbsp;aksad\xC4\xB1";
  else title += " &amp; ula\xC5\x9F\xC4\xB1m&#160;aksad\xC4\xB1";
  if (s.controls) title += "\x01";
  std::string description = s.markup
      ? "<p>Meteoroloji Genel M\xC3\xBC" "d\xC3\xBCrl\xC3\xBC\xC4\x9F\xC3\xBC'n\xC3\xBCn uyar\xC4\xB1lar\xC4\xB1n\xC4\xB1n ardından "
        "<b>ekipler</b> \xC3\xA7" "al\xC4\xB1\xC5\x9Fmalar\xC4\xB1n\xC4\xB1 s\xC3\xBCrd\xC3\xBCr\xC3\xBCyor.<br>S\xC3\xBCr\xC3\xBC"
        "c\xC3\xBClerin dikkatli olmas\xC4\xB1 istendi."
      : "&lt;p&gt;Meteoroloji Genel M\xC3\xBC" "d\xC3\xBCrl\xC3\xBC\xC4\x9F\xC3\xBC'n\xC3\xBCn uyar\xC4\xB1lar\xC4\xB1n\xC4\xB1n ardından "
        "&lt;b&gt;ekipler&lt;/b&gt; \xC3\xA7" "al\xC4\xB1\xC5\x9Fmalar\xC4\xB1n\xC4\xB1 s\xC3\xBCrd\xC3\xBCr\xC3\xBCyor.&lt;br&gt;S\xC3\xBCr\xC3\xBC"
        "c\xC3\xBClerin dikkatli olmas\xC4\xB1 istendi.";
  return "<item><title>" + title + "</title><description>" + description + "</description><link>http://haber.example/gundem/" +
         n + "</link><guid>" + n + "</guid><dc:creator>Muhabir " + n + "</dc:creator></item>\n";
}

std::string FeedOf(const TSlips& s) {
  std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"";
  if (!s.prefixes) head += " xmlns:dc=\"http://purl.org/dc/elements/1.1/\"";
  head += "><channel><title>Son dakika</title>\n";
  std::string feed = head;
  for (int i = 0; feed.size() < TargetBytes; ++i) feed += ItemOf(i, s);
  if (s.truncated) return feed + ItemOf(999999, s).substr(0, 60);
  return feed + "</channel></rss>\n";
}

struct TRow {
  const char* name;
  TSlips slips;
};

double MedianMs(int runs, const std::function<void()>& work) {
  TBenchTimes times;
  for (int i = 0; i < runs; ++i) {
    double start = BenchNowMs();
    work();
    times.ms.push_back(BenchNowMs() - start);
  }
  return times.Median();
}

}  // namespace

int main() {
  ComSession com;
  TSlips all;
  all.ampersands = all.legacyBytes = all.markup = all.prefixes = all.controls = all.truncated = true;
  const TRow rows[] = {
      {"well-formed", {}},
      {"bare & and &nbsp;", {true, false, false, false, false, false}},
      {"windows-1254 bytes", {false, true, false, false, false, false}},
      {"raw HTML in fields", {false, false, true, false, false, false}},
      {"undeclared dc:", {false, false, false, true, false, false}},
      {"control characters", {false, false, false, false, true, false}},
      {"truncated", {false, false, false, false, false, true}},
      {"all of them", all},
  };
  wchar_t dir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + L"kavrelo-bench-recovery.xml";
  std::printf("%-20s %9s %6s %10s %11s %11s %7s\n", "feed (1 MB)", "bytes", "items", "read", "repair ms", "parse ms",
              "ratio");
  double baseline = 0;
  for (const auto& row : rows) {
    std::string bytes = FeedOf(row.slips);
    SaveFileAtomically(path, bytes);
    TFeedReading reading;
    size_t items = 0;
    double parse = MedianMs(5, [&] {
      auto list = ParseFeed(path, nullptr, &reading);
      items = list ? list->size() : 0;
    });
    std::wstring text;
    ReadFeedText(path, text);
    std::u16string u16 = U16FromWide(text);
    double repair = MedianMs(5, [&] { TFeedRepair r(u16, MaxXmlElementDepth); });
    if (baseline == 0) baseline = parse;
    std::printf("%-20s %9zu %6zu %10s %11.1f %11.1f %6.2fx\n", row.name, bytes.size(), items,
                reading.Recovered ? "recovered" : "strict", repair, parse, parse / baseline);
  }
  ::DeleteFileW(path.c_str());
  return 0;
}
