// What completing one feed exchange costs, and on which thread. The worker
// writes the body beside the cache and reads it with the feed reader; the
// window thread only moves the checked file into place, stores the
// validators, hands the parsed items to the list and repaints it. A body
// that is not a feed costs the window thread nothing but freeing the worker
// with its copy of the body.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/AtomicFile.h"
#include "bench/BenchTools.h"
#include "feed/FeedParser.h"
#include "framework/GdiPlus.h"
#include "ticker/FeedValidators.h"
#include "widgets/ContentEx.h"
#include "widgets/ScrollWidgets.h"

namespace {

std::string GeneratedFeed(int items) {
  std::wstring xml = L"<?xml version=\"1.0\" encoding=\"utf-8\"?><rss version=\"2.0\"><channel><title>Son dakika</title>";
  for (int i = 0; i < items; ++i) {
    xml += L"<item><title>Son dakika " + std::to_wstring(i) +
           L": İstanbul'da şiddetli yağış ulaşımı olumsuz etkiledi</title><description>&lt;p&gt;Meteoroloji "
           L"Genel Müdürlüğü'nün uyarılarının ardından kentin birçok ilçesinde sağanak etkili oldu; "
           L"&lt;b&gt;ekipler&lt;/b&gt; çalışmalarını sürdürüyor. Sürücülerin dikkatli olması istendi."
           L"&lt;/p&gt;</description><link>http://haber.example/gundem/" +
           std::to_wstring(i) + L"</link><guid>" + std::to_wstring(i) + L"</guid></item>";
  }
  return BenchUtf8(xml + L"</channel></rss>");
}

std::string Padded(const std::string& head, const std::string& unit, const std::string& tail, size_t size) {
  std::string out = head;
  while (out.size() + unit.size() + tail.size() <= size) out += unit;
  out += tail;
  out.resize(size, ' ');
  return out;
}

struct TScenario {
  const char* name;
  std::string body;
};

}  // namespace

int main(int argc, char** argv) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  gdiplus::TGdiPlusSession gdip;
  const size_t limit = 4u << 20;

  std::string demo;
  {
    std::ifstream in(argc > 1 ? argv[1] : "tools/demo/sondakika.rss", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    demo = s.str();
  }
  std::vector<TScenario> scenarios = {
      {"demo feed", demo},
      {"500-item feed", GeneratedFeed(500)},
      {"4 MiB HTML page (not a feed)",
       Padded("<!DOCTYPE html><html><head><title>Giriş</title></head><body>",
              "<p>Otel kablosuz ağına hoş geldiniz<br>oda numaranızı girin</p>\n", "</body></html>", limit)},
      {"4 MiB well-formed XML (not a feed)",
       Padded("<?xml version=\"1.0\"?><data>", "<row a=\"1\">değer ğüşıöç</row>\n", "</data>", limit)},
  };

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring dir = std::wstring(temp) + L"kavrelo-bench-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring cache = dir + L"\\news.xml", check = cache + L".download", validators = cache + L".validators";

  TContainerEx viewport;
  viewport.SetParentWindow(nullptr);
  viewport.SetSize(415, 213);
  TContentEx list;
  list.SetParent(&viewport);
  list.SetSize(390, 213);
  list.Font().SetName(L"Trebuchet MS");
  list.Font().SetSize(9);

  std::printf("Completing one feed exchange (ms; %d runs each; worker = write + feed reader, window = move into\n"
              "place, validators, items to the list, repaint of the list)\n\n", 15);
  std::printf("| %-34s | %9s | %11s | %11s | %11s | %11s |\n", "body", "size", "worker med", "worker max",
              "window med", "window max");
  std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(36, '-').c_str(), std::string(11, '-').c_str(),
              std::string(13, '-').c_str(), std::string(13, '-').c_str(), std::string(13, '-').c_str(),
              std::string(13, '-').c_str());
  for (TScenario& s : scenarios) {
    TBenchTimes worker, window;
    for (int run = 0; run < 16; ++run) {
      // The worker's copy of the body, freed with it on the window thread.
      auto received = std::make_unique<std::string>(s.body);
      double t0 = BenchNowMs();
      WriteFileFlushed(check, s.body);
      std::unique_ptr<TElementList> items = ParseFeed(check);
      bool feed = items && !items->empty();
      if (!feed) DeleteFileW(check.c_str());
      double t1 = BenchNowMs();
      if (feed) {
        ReplaceWithFile(check, cache);
        SaveFeedValidators(validators, {"\"e1\"", "Tue, 08 Dec 2026 10:00:00 GMT"}, s.body);
        list.ShowFeed(cache, std::move(items));
        list.Repaint();
      }
      received.reset();
      double t2 = BenchNowMs();
      if (run == 0) continue;  // warm-up
      worker.ms.push_back(t1 - t0);
      window.ms.push_back(t2 - t1);
    }
    std::printf("| %-34s | %9zu | %11.2f | %11.2f | %11.2f | %11.2f |\n", s.name, s.body.size(), worker.Median(),
                worker.Max(), window.Median(), window.Max());
  }
  for (const std::wstring& f : {cache, check, validators}) DeleteFileW(f.c_str());
  RemoveDirectoryW(dir.c_str());
  ::CoUninitialize();
  return 0;
}
