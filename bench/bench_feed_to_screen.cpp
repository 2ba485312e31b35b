// From a downloaded feed to a painted list, for feeds of 20 to 5,000 items:
// what each step costs, beside what the platform's XML DOM alone takes to
// load the same file (the part no reader of this feed can skip). The worker
// parses (load, convert, wrap); the window thread only lays out, paints the
// viewport and composites. Then: memory of the list with 20 and with 5,000
// items, and the window-thread cost of each kind of frame in a 500-item
// list (a busy-indicator step, the highlighted row moving, a wheel step,
// the whole face), beside handing a 20x20 region alone to the screen.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/AtomicFile.h"
#include "bench/BenchTools.h"
#include "feed/FeedParser.h"
#include "feed/FeedSource.h"
#include "feed/FeedText.h"
#include "feed/XmlDom.h"
#include "framework/GdiPlus.h"
#include "framework/LayeredUpdate.h"
#include "framework/ProcessMemory.h"
#include "framework/WindowEx.h"
#include "widgets/ContentEx.h"
#include "widgets/ListScroll.h"
#include "widgets/ScrollWidgets.h"
#include "widgets/ThrobberEx.h"

namespace {

// Turkish headlines and summaries of news-site length, with the markup
// summaries usually carry.
std::string GeneratedFeed(int items) {
  static const wchar_t* const Titles[] = {
      L"İstanbul'da şiddetli yağış ulaşımı olumsuz etkiledi",
      L"Merkez Bankası faiz kararını açıkladı: politika faizi sabit",
      L"Ege Denizi'nde 4,2 büyüklüğünde deprem korkuttu",
      L"Milli takımın aday kadrosu belli oldu, üç yeni isim var"};
  static const wchar_t* const Summaries[] = {
      L"&lt;p&gt;Meteoroloji Genel Müdürlüğü'nün uyarılarının ardından kentin birçok ilçesinde sağanak etkili "
      L"oldu; &lt;b&gt;ekipler&lt;/b&gt; çalışmalarını sürdürüyor. Sürücülerin dikkatli olması istendi.&lt;/p&gt;",
      L"Para Politikası Kurulu toplantısının ardından yapılan açıklamada enflasyon görünümünün yakından "
      L"izlendiği belirtildi; karar piyasalarda &amp;quot;beklendiği gibi&amp;quot; karşılandı.",
      L"&lt;p&gt;AFAD'ın açıkladığı verilere göre deprem &lt;i&gt;7 kilometre&lt;/i&gt; derinlikte meydana "
      L"geldi. Can kaybı ya da hasar bildirilmedi.&lt;/p&gt;&lt;p&gt;Artçı sarsıntılar sürüyor.&lt;/p&gt;",
      L"Teknik direktör, hazırlık maçları öncesi 26 kişilik aday kadroyu duyurdu. Kadroda üç yeni isim yer "
      L"aldı; kamp çalışmaları pazartesi günü başlayacak."};
  std::wstring xml = L"<?xml version=\"1.0\" encoding=\"utf-8\"?><rss version=\"2.0\"><channel><title>Son dakika</title>";
  for (int i = 0; i < items; ++i) {
    xml += L"<item><title>" + std::to_wstring(i) + L". " + Titles[i % 4] + L"</title><description>" +
           Summaries[(i / 4) % 4] + L"</description><link>http://haber.example/gundem/" + std::to_wstring(i) +
           L"</link><guid>" + std::to_wstring(i) + L"</guid></item>";
  }
  return BenchUtf8(xml + L"</channel></rss>");
}

// Time spent handing finished frames to the window system, which under
// Wine means copying them to the X server.
double presentMs = 0;
// The last dirty rectangle handed over.
RECT lastDirty{0, 0, 0, 0};
BOOL WINAPI TimedUpdateLayered(HWND window, const UPDATELAYEREDWINDOWINFO* info) {
  double t0 = BenchNowMs();
  BOOL ok = UpdateLayeredDirty(window, info);
  presentMs += BenchNowMs() - t0;
  lastDirty = info->prcDirty ? *info->prcDirty : RECT{0, 0, info->psize->cx, info->psize->cy};
  return ok;
}
// Every frame as it was handed over before there were dirty rectangles:
// the whole picture through UpdateLayeredWindow.
BOOL WINAPI TimedWholeUpdateLayered(HWND window, const UPDATELAYEREDWINDOWINFO* info) {
  double t0 = BenchNowMs();
  BOOL ok = ::UpdateLayeredWindow(window, info->hdcDst, const_cast<POINT*>(info->pptDst), const_cast<SIZE*>(info->psize),
                                  info->hdcSrc, const_cast<POINT*>(info->pptSrc), info->crKey,
                                  const_cast<BLENDFUNCTION*>(info->pblend), info->dwFlags);
  presentMs += BenchNowMs() - t0;
  lastDirty = RECT{0, 0, info->psize->cx, info->psize->cy};
  return ok;
}

// The ticker's list area in a window of the ticker's size.
struct TFace {
  TWindowEx window;
  TContainerEx viewport;
  TContentEx list;
  TScrollerEx track;
  TThumbEx thumb;
  TThrobberEx throbber;
  int dragY = 0, dragTop = 0;
  TListScroll scroll{list, viewport, track, thumb, dragY, dragTop};
  static void Place(TControl& c, TControl& parent, int x, int y, int w, int h) {
    c.SetParent(&parent);
    c.SetLeft(x);
    c.SetTop(y);
    c.SetSize(w, h);
    c.Show();
  }
  TFace() {
    window.SetSize(475, 350);
    window.HandleNeeded();
    Place(viewport, window, 30, 75, 415, 213);
    Place(list, viewport, 0, 0, 390, 213);
    Place(track, viewport, 395, 0, 20, 213);
    Place(thumb, track, 1, 0, 18, 70);
    Place(throbber, window, 26, 301, TThrobberEx::FrameSize, TThrobberEx::FrameSize);
    list.Canvas().SetAntialias(false);
    list.Font().SetName(L"Trebuchet MS");
    list.Font().SetSize(9);
  }
  // What the window thread does with parsed items: hand them over, fit the
  // scroll bar, composite the face.
  void Show(const std::wstring& path, std::unique_ptr<TElementList> items) {
    list.ShowFeed(path, std::move(items));
    scroll.Fit();
    window.Update();
  }
};

// The baseline: the platform's DOM reading the file by itself, as fast as
// it can go (no checks of the program's own around it).
void DomAloneLoad(const std::wstring& path) {
  CLSID clsid;
  if (FAILED(::CLSIDFromProgID(L"Microsoft.XMLDOM", &clsid))) return;
  ComPtr<IXMLDOMDocument> doc;
  if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                reinterpret_cast<void**>(doc.Put()))))
    return;
  doc->put_async(VARIANT_FALSE);
  UniqueVariant source(path.c_str());
  VARIANT_BOOL ok = VARIANT_FALSE;
  doc->load(source.Get(), &ok);
}

}  // namespace

int main() {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  gdiplus::TGdiPlusSession gdip;
  TWindowEx::UpdateLayered = &TimedUpdateLayered;

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring dir = std::wstring(temp) + L"kavrelo-bench-fts-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring file = dir + L"\\news.xml";

  const int Runs = 21;
  std::printf("Feed to screen (ms; median / max of %d runs after a warm-up). DOM = the XML DOM loading the file\n"
              "alone; parse = the feed reader (load, convert, wrap; worker thread); window = items to the list,\n"
              "layout, paint of the viewport band, composite (window thread); screen = the face handed to the\n"
              "screen (UpdateLayeredWindow, Wine's copy to X); again = the same items once more (a refresh that\n"
              "brings nothing new), without the screen; path = parse + window; +screen = path + screen\n\n",
              Runs);
  std::printf("| %5s | %9s | %15s | %15s | %15s | %15s | %15s | %8s | %8s | %8s |\n", "items", "bytes", "DOM", "parse",
              "window", "screen", "again", "path/DOM", "goal", "+screen");
  std::printf("|-------|-----------|-----------------|-----------------|-----------------|-----------------|"
              "-----------------|----------|----------|----------|\n");
  double path500 = 0, path5000 = 0;
  for (int count : {20, 100, 500, 5000}) {
    std::string body = GeneratedFeed(count);
    WriteFileFlushed(file, body);
    TBenchTimes dom, parse, window, screen, again;
    for (int run = 0; run <= Runs; ++run) {
      // The DOM alone just before and just after the feed reader, so that a
      // machine that slows down for a while slows both down alike.
      double t0 = BenchNowMs();
      DomAloneLoad(file);
      double t1 = BenchNowMs();
      auto items = ParseFeed(file);
      double t2 = BenchNowMs();
      auto same = ParseFeed(file);
      double t3 = BenchNowMs();
      DomAloneLoad(file);
      double t4 = BenchNowMs();
      auto face = std::make_unique<TFace>();
      presentMs = 0;
      double t5 = BenchNowMs();
      face->Show(file, std::move(items));
      double t6 = BenchNowMs();
      double shown = presentMs;
      presentMs = 0;
      face->Show(file, std::move(same));
      double t7 = BenchNowMs();
      if (run == 0) continue;
      dom.ms.push_back(t1 - t0);
      dom.ms.push_back(t4 - t3);
      parse.ms.push_back(t2 - t1);
      parse.ms.push_back(t3 - t2);
      window.ms.push_back(t6 - t5 - shown);
      screen.ms.push_back(shown);
      again.ms.push_back(t7 - t6 - presentMs);
    }
    double path = parse.Median() + window.Median();
    if (count == 500) path500 = path;
    if (count == 5000) path5000 = path;
    double domMedian = dom.Median();
    std::printf("| %5d | %9zu | %6.2f / %6.2f | %6.2f / %6.2f | %6.2f / %6.2f | %6.2f / %6.2f | %6.2f / %6.2f | %7.2fx | "
                "%8s | %7.2fx |\n",
                count, body.size(), domMedian, dom.Max(), parse.Median(), parse.Max(), window.Median(), window.Max(),
                screen.Median(), screen.Max(), again.Median(), again.Max(), path / domMedian,
                count == 500 ? "<= 3x" : "", (path + screen.Median()) / domMedian);
  }
  std::printf("\n5,000 items / 500 items (whole path): %.2fx (goal: <= 10x)\n\n", path5000 / path500);

  // Where the 500-item path goes.
  {
    WriteFileFlushed(file, GeneratedFeed(500));
    TBenchTimes read, dom, parse, convert, layout, paint, composite, present;
    for (int run = 0; run <= Runs; ++run) {
      double t0 = BenchNowMs();
      std::wstring text;
      ReadFeedText(file, text);
      double t1 = BenchNowMs();
      {
        TXmlDocument doc;
        doc.LoadXml(text);
      }
      double t2 = BenchNowMs();
      auto items = ParseFeed(file);
      double t3 = BenchNowMs();
      for (const auto& item : *items) {
        FeedTitleText(item->Title);
        FeedSummaryText(item->Summary);
      }
      double t4 = BenchNowMs();
      TFace face;
      double t5 = BenchNowMs();
      face.list.ShowFeed(file, std::move(items));
      face.scroll.Fit();
      double t6 = BenchNowMs();
      face.list.Invalidate();
      face.list.Repaint();
      double t7 = BenchNowMs();
      presentMs = 0;
      face.window.Update();
      double t8 = BenchNowMs();
      if (run == 0) continue;
      read.ms.push_back(t1 - t0);
      dom.ms.push_back(t2 - t1);
      parse.ms.push_back(t3 - t2);
      convert.ms.push_back(t4 - t3);
      layout.ms.push_back(t6 - t5);
      paint.ms.push_back(t7 - t6);
      composite.ms.push_back(t8 - t7 - presentMs);
      present.ms.push_back(presentMs);
    }
    std::printf("The 500-item path step by step (ms, median / max)\n\n");
    std::printf("| %-52s | %15s |\n", "step", "ms");
    std::printf("|------------------------------------------------------|-----------------|\n");
    auto row = [](const char* name, TBenchTimes& t) {
      std::printf("| %-52s | %6.2f / %6.2f |\n", name, t.Median(), t.Max());
    };
    row("worker: read and decode the file", read);
    row("worker: XML DOM from the decoded text", dom);
    row("worker: the whole feed reader", parse);
    row("(the texts converted and wrapped again, for scale)", convert);
    row("window: items to the list, layout, scroll bar", layout);
    row("window: paint of the band", paint);
    row("window: composite of the face", composite);
    row("window: the face to the screen (UpdateLayeredWindow)", present);
    std::printf("\n");
  }

  // Memory: the list's share of the process with 20 and with 5,000 items.
  {
    std::string small = GeneratedFeed(20), large = GeneratedFeed(5000);
    auto face = std::make_unique<TFace>();
    WriteFileFlushed(file, small);
    face->Show(file, ParseFeed(file));
    unsigned long long base = CommittedPrivateBytes(::GetCurrentProcess());
    WriteFileFlushed(file, large);
    face->Show(file, ParseFeed(file));
    face->scroll.Key(VK_END);
    face->window.Update();
    unsigned long long big = CommittedPrivateBytes(::GetCurrentProcess());
    std::printf("Private bytes with the list showing 20 items: %.1f MB; 5,000 items, scrolled to the end: %.1f MB;\n"
                "difference %.2f MB (goal: <= 5 MB)\n\n",
                static_cast<double>(base) / 1048576.0, static_cast<double>(big) / 1048576.0,
                (static_cast<double>(big) - static_cast<double>(base)) / 1048576.0);
  }

  // Each kind of frame with 500 items: window-thread time, the part of it
  // spent handing the frame to the screen, and the dirty rectangle.
  {
    TFace face;
    WriteFileFlushed(file, GeneratedFeed(500));
    face.Show(file, ParseFeed(file));
    face.list.ShowSelection(true, false);
    face.window.Update();
    struct TKind {
      explicit TKind(const char* n) : name(n) {}
      const char* name;
      TBenchTimes total, screen;
      std::vector<RECT> dirty;
      // The dirty rectangle of the median area.
      RECT TypicalDirty() {
        auto area = [](const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); };
        std::sort(dirty.begin(), dirty.end(), [&](const RECT& a, const RECT& b) { return area(a) < area(b); });
        return dirty.empty() ? RECT{0, 0, 0, 0} : dirty[dirty.size() / 2];
      }
    };
    TKind alone{"a 20x20 region handed over alone"}, plain{"whole picture, UpdateLayeredWindow"},
        throbber{"busy-indicator frame"}, throbberWhole{"busy-indicator frame as before"},
        row{"highlighted row moves (selection)"}, wheel{"wheel step"}, wheelWhole{"wheel step as before"},
        whole{"whole face recomposed"};
    // As before: the whole face composed again and handed over whole.
    auto asBefore = [&face](auto&& change) {
      TWindowEx::UpdateLayered = &TimedWholeUpdateLayered;
      change();
      face.window.Invalidate();
      face.window.Update();
      TWindowEx::UpdateLayered = &TimedUpdateLayered;
    };
    auto time = [](TKind& kind, auto&& frame) {
      presentMs = 0;
      lastDirty = RECT{0, 0, 0, 0};
      double t0 = BenchNowMs();
      frame();
      kind.total.ms.push_back(BenchNowMs() - t0);
      kind.screen.ms.push_back(presentMs);
      if (!::IsRectEmpty(&lastDirty)) kind.dirty.push_back(lastDirty);
    };
    HWND window = face.window.WindowHandle();
    const int Frames = 400;
    for (int i = 0; i < Frames; ++i) {
      time(alone, [&] {
        POINT at{face.window.Left(), face.window.Top()}, from{0, 0};
        SIZE size{face.window.Width(), face.window.Height()};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, face.window.Opacity(), AC_SRC_ALPHA};
        RECT dirty{26, 301, 46, 321};
        ::GdiFlush();
        UPDATELAYEREDWINDOWINFO info{sizeof(info), nullptr, &at, &size, face.window.Canvas().DC(), &from, 0, &blend,
                                     ULW_ALPHA, &dirty};
        TimedUpdateLayered(window, &info);
      });
      // What every frame handed over before there were dirty rectangles.
      time(plain, [&] {
        POINT at{face.window.Left(), face.window.Top()}, from{0, 0};
        SIZE size{face.window.Width(), face.window.Height()};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, face.window.Opacity(), AC_SRC_ALPHA};
        ::GdiFlush();
        double t0 = BenchNowMs();
        ::UpdateLayeredWindow(window, nullptr, &at, &size, face.window.Canvas().DC(), &from, 0, &blend, ULW_ALPHA);
        presentMs += BenchNowMs() - t0;
        lastDirty = RECT{0, 0, size.cx, size.cy};
      });
      time(throbber, [&] {
        face.throbber.NextFrame();
        face.window.Update();
      });
      time(throbberWhole, [&] { asBefore([&] { face.throbber.NextFrame(); }); });
      time(row, [&] {
        // Back and forth over the items in view.
        auto [first, last] = face.list.VisibleItems();
        int next = face.list.Selected() + 1;
        if (next < static_cast<int>(first) || next >= static_cast<int>(last)) next = static_cast<int>(first);
        face.list.SetSelected(next);
        face.window.Update();
      });
      time(whole, [&] {
        face.window.Invalidate();
        face.window.Update();
      });
    }
    // The wheel steps down 100 notches from the top and back up, the same
    // path for either kind of frame, in alternating blocks so that a busy
    // machine slows both alike.
    for (int block = 0; block < 4; ++block) {
      const bool before = block % 2 == 1;
      face.scroll.Key(VK_HOME);
      face.window.Update();
      for (int i = 0; i < 200; ++i) {
        const int delta = i < 100 ? -120 : 120;
        if (before) {
          time(wheelWhole, [&] { asBefore([&] { face.scroll.ScrollBy(WheelScroll(delta)); }); });
        } else {
          time(wheel, [&] {
            face.scroll.ScrollBy(WheelScroll(delta));
            face.window.Update();
          });
        }
      }
    }
    const double base = alone.total.Median();
    std::printf("Per frame, 500 items (ms, window thread; %d frames each). dirty = the rectangle handed to the\n"
                "screen (of median area); screen = the part spent handing the frame to the screen; ratio = median /\n"
                "a 20x20 region handed over alone; as before = the whole face composed again and handed over whole\n"
                "with UpdateLayeredWindow, as every frame was before dirty rectangles\n\n",
                Frames);
    std::printf("| %-36s | %9s | %8s | %8s | %8s | %8s |\n", "frame", "dirty", "median", "max", "screen", "ratio");
    std::printf("|--------------------------------------|-----------|----------|----------|----------|----------|\n");
    for (TKind* k : {&alone, &plain, &throbber, &throbberWhole, &row, &wheel, &wheelWhole, &whole}) {
      char dirty[32];
      const RECT d = k->TypicalDirty();
      std::snprintf(dirty, sizeof dirty, "%ldx%ld", d.right - d.left, d.bottom - d.top);
      double m = k->total.Median();
      std::printf("| %-36s | %9s | %8.3f | %8.3f | %8.3f | %7.2fx |\n", k->name, dirty, m, k->total.Max(),
                  k->screen.Median(), m / base);
    }
    const double area = 415.0 * 213.0 / (475.0 * 350.0);
    const double share = wheelWhole.total.Median() * area;
    std::printf("\nbusy-indicator frame / 20x20 alone: %.2fx (goal: <= 2x); as before it took %.2fx\n",
                throbber.total.Median() / base, throbberWhole.total.Median() / base);
    std::printf("wheel step / the scroll area's share of a wheel step as before (%.0f%% of %.3f ms = %.3f ms): %.2fx "
                "(goal: <= 1.5x)\n",
                100 * area, wheelWhole.total.Median(), share, wheel.total.Median() / share);
  }

  DeleteFileW(file.c_str());
  RemoveDirectoryW(dir.c_str());
  ::CoUninitialize();
  return 0;
}
