#include <doctest.h>

#include <windows.h>

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
  SUBCASE("a click opens the link with the referral, even after a query") {
    std::wstring opened;
    f.list.OpenAddress = [&](const std::wstring& address) { opened = address; };
    f.list.OpenItem(1, a.top + 1);
    CHECK(opened.rfind(L"http://news.example/a?x=1?ref=", 0) == 0);
    opened.clear();
    f.list.OpenItem(1, a.bottom + 3);
    CHECK(opened.empty());
  }
}

TEST_CASE("a missing file changes nothing; a non-feed keeps the items") {
  ListFixture f;
  f.list.SetItems(TwoItems(L"http://x/"));
  f.list.LoadFromFile(L"C:\\missing\\news.xml");
  CHECK(f.list.FileName().empty());
  CHECK(f.list.Items()->size() == 2);
}
