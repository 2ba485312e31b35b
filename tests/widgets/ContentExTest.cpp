#include <doctest.h>

#include <windows.h>

#include <string>

#include "app/AtomicFile.h"
#include "feed/LinkPolicy.h"
#include "framework/ComPtr.h"
#include "framework/GdiPlus.h"
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
  CHECK(height == f.list.Height());
  const auto& items = *f.list.Items();
  RECT a = items[0]->TitleRect, b = items[1]->TitleRect;
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
    TMessage move{nullptr, WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 1, r.top + 1), 0};
    f.list.Dispatch(move);
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
