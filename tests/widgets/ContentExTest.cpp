#include <doctest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/AtomicFile.h"
#include "feed/LinkPolicy.h"
#include "framework/ComPtr.h"
#include "framework/GdiPlus.h"
#include "framework/WindowEx.h"
#include "widgets/ContentEx.h"
#include "widgets/ScrollWidgets.h"

namespace {

std::unique_ptr<TElementList> TwoItems(const wchar_t* link) {
  auto items = std::make_unique<TElementList>();
  for (const wchar_t* title : {L"Birinci başlık", L"İkinci başlık\r\nikinci satır"}) {
    auto item = std::make_unique<TElement>();
    item->Title = title;
    item->Summary = L"Özet metni\r\nbir satır daha";
    item->Link = link;
    items->push_back(std::move(item));
  }
  return items;
}

// The list's items with these links, one headline each.
std::unique_ptr<TElementList> Linked(std::initializer_list<const wchar_t*> links) {
  auto items = std::make_unique<TElementList>();
  for (const wchar_t* link : links) {
    auto item = std::make_unique<TElement>();
    item->Title = L"Başlık";
    item->Link = link;
    items->push_back(std::move(item));
  }
  return items;
}

struct ListFixture {
  gdiplus::TGdiPlusSession gdip;
  TContainerEx viewport;
  TContentEx list;
  ListFixture() {
    viewport.SetParentWindow(nullptr);
    viewport.SetSize(415, 213);
    list.SetParent(&viewport);
    list.SetSize(390, 213);
    list.Font().SetName(L"Trebuchet MS");
    list.Font().SetSize(9);
  }
};

}  // namespace

TEST_CASE("an empty list keeps its height and reports the viewport's") {
  ListFixture f;
  f.list.SetHeight(99);
  CHECK(f.list.UpdateHeight() == 213);
  CHECK(f.list.Height() == 99);
  CHECK(f.list.ItemAtPoint(0, 0) == -1);
}

TEST_CASE("layout: headline, 2 + 2 around the separator, summary, 15 after each item") {
  ListFixture f;
  f.list.SetItems(TwoItems(L"http://news.example/a?x=1"));
  int height = f.list.UpdateHeight();
  CHECK(height == f.list.ListHeight());
  const auto& items = *f.list.Items();
  RECT a = f.list.HeadlineRect(0), b = f.list.HeadlineRect(1);
  CHECK(EqualRect(&a, &items[0]->TitleRect));
  CHECK(a.left == 0);
  CHECK(a.top == 0);
  CHECK(a.right > 0);
  CHECK(b.top > a.bottom);
  // Between the two headlines: 2 + 2, the summary's text + 4, then 15.
  f.list.Font().SetStyle(0);
  f.list.Font().SetSize(9);
  float summary = f.list.Canvas().TextHeight(L"Özet metni\nbir satır daha");
  CHECK(b.top - a.bottom == doctest::Approx(2 + 2 + summary + 4 + 15).epsilon(0.02));
  // The second headline has two lines: taller than the first.
  CHECK(b.bottom - b.top > a.bottom - a.top);

  SUBCASE("hit-testing counts the left edge, not the right one") {
    CHECK(f.list.ItemAtPoint(0, a.top) == 0);
    CHECK(f.list.ItemAtPoint(a.right, a.top) == -1);
    CHECK(f.list.ItemAtPoint(a.right - 1, a.bottom - 1) == 0);
    CHECK(f.list.ItemAtPoint(0, a.bottom + 3) == -1);  // the summary opens nothing
    CHECK(f.list.ItemAtPoint(1, b.top + 1) == 1);
  }
  SUBCASE("a click opens the link with the referral, as \"&ref=\" after a query") {
    std::wstring opened;
    f.list.OpenAddress = [&](const std::wstring& address) { opened = address; };
    f.list.OpenItem(1, a.top + 1);
    CHECK(opened == L"http://news.example/a?x=1&ref=" + BuildReferral());
    opened.clear();
    f.list.OpenItem(1, a.bottom + 3);
    CHECK(opened.empty());
  }
}

TEST_CASE("only web pages open; the hand shows only where a click would open one") {
  ListFixture f;
  f.list.BaseAddress = L"http://haber.example/sondakika.rss";
  f.list.SetItems(Linked({L"https://haber.example/a#son", L"/haber/5", L"", L"file:///C:/windows/notepad.exe",
                          L"C:\\windows\\notepad.exe", L"kavtest:payload", L"javascript:alert(1)"}));
  f.list.UpdateHeight();
  const wchar_t* expected[] = {
      L"https://haber.example/a?ref=kavrelo#son", L"http://haber.example/haber/5?ref=kavrelo", L"", L"", L"", L"", L""};
  const auto& items = *f.list.Items();
  for (size_t i = 0; i < items.size(); ++i) {
    CAPTURE(items[i]->Link);
    RECT r = items[i]->TitleRect;
    std::wstring want = expected[i];
    if (!want.empty()) want.replace(want.find(L"kavrelo"), 7, BuildReferral());
    std::wstring opened = L"(nothing)";
    f.list.OpenAddress = [&](const std::wstring& address) { opened = address; };
    f.list.OpenItem(r.left + 1, r.top + 1);
    CHECK(opened == (want.empty() ? L"(nothing)" : want));
    f.list.Perform(WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 1, r.top + 1));
    CHECK(f.list.Cursor() == (want.empty() ? 0 : 13));
  }
}

namespace {

struct TempFile {
  explicit TempFile(const std::string& bytes) {
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    path = std::wstring(dir) + L"kavrelo-list-" + std::to_wstring(::GetCurrentProcessId()) + L".xml";
    SaveFileAtomically(path, bytes);
  }
  ~TempFile() { ::DeleteFileW(path.c_str()); }
  std::wstring path;
};

}  // namespace

TEST_CASE("a missing file changes nothing; a file that is no feed keeps the items") {
  ComSession com;
  ListFixture f;
  f.list.SetItems(TwoItems(L"http://x/"));
  f.list.LoadFromFile(L"C:\\missing\\news.xml");
  CHECK(f.list.FileName().empty());
  CHECK(f.list.Items()->size() == 2);
  for (const char* bytes : {"<html><body><h1>404</h1></body></html>", "<rss><channel><title>boş</title></channel></rss>",
                            "<rss><channel><item><title>yarım", ""}) {
    CAPTURE(bytes);
    TempFile file(bytes);
    f.list.LoadFromFile(file.path);
    CHECK(f.list.FileName() == file.path);
    REQUIRE(f.list.Items()->size() == 2);
    CHECK((*f.list.Items())[0]->Title == L"Birinci başlık");
  }
  // A feed does replace them: the cases above did not pass by never loading.
  TempFile feed("<rss><channel><item><title>Yeni</title></item></channel></rss>");
  f.list.LoadFromFile(feed.path);
  REQUIRE(f.list.Items()->size() == 1);
  CHECK((*f.list.Items())[0]->Title == L"Yeni");
}

namespace {

std::unique_ptr<TElementList> ManyItems(int count, const wchar_t* tag = L"") {
  auto items = std::make_unique<TElementList>();
  for (int i = 0; i < count; ++i) {
    auto item = std::make_unique<TElement>();
    item->Title = L"Haber " + std::to_wstring(i) + tag + L": İstanbul'da yağmur";
    item->Summary = L"Meteoroloji uyardı; sağanak öğleden sonra\r\nkuzey ilçelerde etkili olacak.";
    item->Link = L"http://news.example/" + std::to_wstring(i);
    items->push_back(std::move(item));
  }
  return items;
}

// The list in a real window, as the ticker places it.
struct WindowFixture {
  gdiplus::TGdiPlusSession gdip;
  TWindowEx window;
  TContainerEx viewport;
  TContentEx list;
  WindowFixture() {
    window.SetSize(475, 350);
    window.HandleNeeded();
    viewport.SetParent(&window);
    viewport.SetLeft(30);
    viewport.SetTop(75);
    viewport.SetSize(415, 213);
    viewport.Show();
    list.SetParent(&viewport);
    list.SetSize(390, 213);
    list.Canvas().SetAntialias(false);
    list.Font().SetName(L"Trebuchet MS");
    list.Font().SetSize(9);
    list.Show();
  }
  std::uint32_t Pixel(int x, int y) { return window.Canvas().Bitmap().Pixel(x, y); }
  // Dark blue headline ink in the window's rows of a list rectangle.
  int TitleInk(const RECT& r) {
    int ink = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        std::uint32_t p = Pixel(30 + x, 75 + y + list.ScrollTop());
        int a = p >> 24, red = (p >> 16) & 0xFF, blue = p & 0xFF;
        if (a > 128 && blue > red + 60) ++ink;
      }
    return ink;
  }
  std::vector<std::uint32_t> Face() {
    std::vector<std::uint32_t> px;
    for (int y = 75; y < 75 + 213; ++y)
      for (int x = 30; x < 30 + 390; ++x) px.push_back(Pixel(x, y));
    return px;
  }
};

}  // namespace

TEST_CASE("a 5,000-item list: laid out, hit-tested and painted to its last headline") {
  WindowFixture f;
  f.list.ShowFeed(L"news.xml", ManyItems(5000));
  const auto& items = *f.list.Items();
  const RECT last = f.list.HeadlineRect(4999);
  CHECK(f.list.ListHeight() > 32767 * 10);  // far past what a window or surface may hold
  CHECK(f.list.ListHeight() > last.bottom);
  CHECK(f.list.Height() == 213);
  for (size_t i = 1; i < items.size(); ++i)
    if (items[i]->TitleRect.top <= items[i - 1]->TitleRect.bottom) FAIL("headline ", i, " overlaps the one before");
  // The canvas stays a few viewports tall, whatever the list's length.
  CHECK(f.list.Canvas().Height() <= 3 * 213);
  CHECK(f.list.Canvas().Width() == 390);

  CHECK(f.list.ItemAtPoint(1, last.top) == 4999);
  CHECK(f.list.ItemAtPoint(last.right - 1, last.bottom - 1) == 4999);
  CHECK(f.list.ItemAtPoint(last.right, last.top) == -1);
  CHECK(f.list.ItemAtPoint(1, last.bottom + 3) == -1);
  CHECK(f.list.ItemAtPoint(1, items[2500]->TitleRect.top) == 2500);

  f.list.SetScrollTop(213 - f.list.ListHeight());  // End
  f.window.Update();
  CHECK(f.list.BandTop() + f.list.Canvas().Height() == f.list.ListHeight());
  CHECK(f.TitleInk(last) > 20);
  CHECK(f.TitleInk(f.list.HeadlineRect(4998)) > 20);

  SUBCASE("a click on the last headline opens it") {
    std::wstring opened;
    f.list.OpenAddress = [&](const std::wstring& address) { opened = address; };
    int y = last.top + 2 + f.list.ScrollTop();  // the window's row
    CHECK(y > 0);
    CHECK(y < 213);
    LPARAM at = MAKELPARAM(3, y);
    ::SendMessageW(f.list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    POINT screen{3, y};
    ::ClientToScreen(f.list.Handle(), &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::SendMessageW(f.list.Handle(), WM_LBUTTONUP, 0, at);
    CHECK(opened.rfind(L"http://news.example/4999?ref=", 0) == 0);
  }
}

TEST_CASE("the band: scrolling inside it only recomposites, and looks as a fresh paint does") {
  WindowFixture f;
  f.list.ShowFeed(L"news.xml", ManyItems(40));
  f.list.SetScrollTop(-1000);
  f.window.Update();
  const int band = f.list.BandTop();
  CHECK(band == 1000 - 213);  // the viewport in the middle of three
  const size_t first = f.list.PaintedFirst(), last = f.list.PaintedLast();
  CHECK(f.list.ItemAtPoint(1, f.list.HeadlineRect(first).top) == static_cast<int>(first));
  CHECK(f.list.HeadlineRect(first).top < 1000 + 213);
  CHECK(f.list.HeadlineRect(last).top >= 1000 + 213);  // only what is seen
  f.list.SetScrollTop(-1100);
  f.window.Update();
  CHECK(f.list.BandTop() == band);  // still inside the band: the new rows join the painted ones
  CHECK(f.list.PaintedFirst() == first);
  CHECK(f.list.PaintedLast() > last);
  auto composited = f.Face();
  f.list.Invalidate();  // render afresh around the same view
  f.window.Update();
  CHECK(f.list.BandTop() == band + 100);
  CHECK(f.Face() == composited);

  SUBCASE("a step out of the band renders the band around the new view") {
    f.list.SetScrollTop(-2000);
    f.window.Update();
    CHECK(f.list.BandTop() <= 2000);
    CHECK(f.list.BandTop() + f.list.Canvas().Height() >= 2000 + 213);
  }
}

TEST_CASE("texts are measured once per load, only where seen; the same items again are not measured") {
  WindowFixture f;
  f.list.ShowFeed(L"a.xml", ManyItems(5000));
  // Heights come from the texts' shapes: a handful of measurements for
  // 5,000 items, and no headline width before anything is seen.
  const int layout = f.list.Measured();
  CHECK(layout > 0);
  CHECK(layout <= 4);
  f.window.Update();
  const size_t seen = f.list.PaintedLast() - f.list.PaintedFirst();
  CHECK(seen > 0);
  CHECK(seen < 10);
  CHECK(f.list.Measured() == layout + static_cast<int>(seen));
  f.list.ItemAtPoint(1, f.list.HeadlineRect(0).top);  // already measured
  CHECK(f.list.Measured() == layout + static_cast<int>(seen));
  f.list.ItemAtPoint(1, f.list.HeadlineRect(2000).top + 1);  // pointed at: measured once
  f.list.ItemAtPoint(2, f.list.HeadlineRect(2000).top + 1);
  CHECK(f.list.Measured() == layout + static_cast<int>(seen) + 1);

  std::vector<RECT> before;
  for (size_t i = 0; i < 30; ++i) before.push_back(f.list.HeadlineRect(i));
  f.list.ShowFeed(L"a.xml", ManyItems(5000));
  CHECK(f.list.Measured() == 0);
  for (size_t i = 0; i < before.size(); ++i) {
    RECT now = f.list.HeadlineRect(i);
    CHECK(EqualRect(&before[i], &now));
  }
  CHECK(f.list.Measured() == 0);

  // A new item on top, the rest pushed down: only the new one is measured
  // (as much as it costs in a list of its own), and the old ones keep their
  // sizes at their new places.
  auto fresh = [] {
    auto item = std::make_unique<TElement>();
    item->Title = L"Son dakika: yeni haber\r\nikinci satır";
    return item;
  };
  TContentEx alone;
  alone.SetParent(&f.viewport);
  alone.SetSize(390, 213);
  alone.Canvas().SetAntialias(false);
  alone.Font().SetName(L"Trebuchet MS");
  alone.Font().SetSize(9);
  auto single = std::make_unique<TElementList>();
  single->push_back(fresh());
  alone.ShowFeed(L"a.xml", std::move(single));
  alone.HeadlineRect(0);
  auto shifted = ManyItems(5000);
  shifted->insert(shifted->begin(), fresh());
  f.list.ShowFeed(L"a.xml", std::move(shifted));
  for (size_t i = 0; i <= before.size(); ++i) f.list.HeadlineRect(i);
  CHECK(f.list.Measured() == alone.Measured());
  int shift = f.list.HeadlineRect(1).top - before[0].top;
  CHECK(shift > 0);
  for (size_t i = 0; i < before.size(); ++i) {
    RECT now = f.list.HeadlineRect(i + 1);
    CHECK(now.bottom - now.top == before[i].bottom - before[i].top);
    CHECK(now.right == before[i].right);
  }
}

TEST_CASE("the selection survives a new list on the same address, goes to the first otherwise, and reads on one line") {
  ListFixture f;
  f.list.ShowFeed(L"news.xml", Linked({L"http://a/1", L"http://a/2", L"http://a/3"}));
  CHECK(f.list.Selected() == 0);  // a list always has one selected
  f.list.SetSelected(2);
  CHECK(f.list.SameItems(*Linked({L"http://a/1", L"http://a/2", L"http://a/3"})));
  CHECK_FALSE(f.list.SameItems(*Linked({L"http://a/1", L"http://a/2"})));
  CHECK_FALSE(f.list.SameItems(*Linked({L"http://a/1", L"http://a/2", L"http://a/4"})));
  // Two new headlines on top: the selected one is now the fifth.
  f.list.ShowFeed(L"news.xml", Linked({L"http://a/9", L"http://a/8", L"http://a/1", L"http://a/2", L"http://a/3"}));
  CHECK(f.list.Selected() == 4);
  f.list.ShowFeed(L"news.xml", Linked({L"http://a/1", L"http://a/2"}));
  CHECK(f.list.Selected() == 0);
  f.list.SetSelected(99);  // clamped
  CHECK(f.list.Selected() == 1);
  f.list.SetItems(TwoItems(L"http://x/"));
  CHECK(f.list.ItemTitle(1) == L"İkinci başlık ikinci satır");
  CHECK(f.list.ItemSummary(0) == L"Özet metni bir satır daha");
  CHECK(f.list.ItemTitle(5).empty());
  f.list.SetItems(std::make_unique<TElementList>());
  CHECK(f.list.Selected() == -1);
}
