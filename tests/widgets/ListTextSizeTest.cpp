// The list at larger text sizes: texts wrapped again to the list's width,
// rows as tall as their lines and apart, hit-testing where the lines are.
#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/GdiPlus.h"
#include "widgets/ContentEx.h"
#include "widgets/ScrollWidgets.h"

namespace {

struct Fixture {
  gdiplus::TGdiPlusSession gdip;
  TContainerEx viewport;
  TContentEx list;
  Fixture() {
    viewport.SetParentWindow(nullptr);
    viewport.SetSize(415, 213);
    list.SetParent(&viewport);
    list.SetSize(390, 213);
    list.Font().SetName(L"Trebuchet MS");
    auto items = std::make_unique<TElementList>();
    // As the feed reader stores them: wrapped at 50 and 60 columns.
    const wchar_t* texts[][2] = {
        {L"İstanbul'da kar yağışı etkili oluyor",
         L"Meteoroloji, İstanbul için yoğun kar uyarısında bulundu. \r\nŞehir hatları vapur seferlerinin bir "
         L"kısmı iptal edildi."},
        {L"Merkez Bankası faiz kararını açıkladı", L"Kısa."},
        {L"Çok_uzun_bir_kelime_ki_hiçbir_satıra_sığmayacak_kadar_uzun_olan_bir_başlık",
         L"Satır sonunda kalan bir nokta.\r\nAyrı paragraf."},
    };
    for (auto& t : texts) {
      auto item = std::make_unique<TElement>();
      item->Title = t[0];
      item->Summary = t[1];
      item->Link = L"http://news.example/a";
      items->push_back(std::move(item));
    }
    list.SetItems(std::move(items));
  }
};

}  // namespace

TEST_CASE("larger texts are wrapped to the list's width, and rows grow without overlapping") {
  Fixture f;
  std::vector<LONG> heights;
  for (int percent : {100, 150, 200, 225}) {
    INFO(percent << "%");
    f.list.SetTextPercent(percent);
    CHECK(f.list.TextPercent() == percent);
    f.list.UpdateHeight();
    LONG bottom = 0;
    for (size_t i = 0; i < f.list.Count(); ++i) {
      const RECT title = f.list.HeadlineRect(i), item = f.list.ItemRect(i);
      CHECK(title.top >= bottom);
      CHECK(item.top == title.top);
      CHECK(item.bottom > title.bottom);
      // Nothing runs under the scroller or past the list once wrapped
      // again (at 100% a word longer than the column wrap stays whole).
      if (percent != 100) CHECK(title.right <= f.list.Width());
      bottom = item.bottom;
    }
    heights.push_back(f.list.ListHeight());
  }
  // Taller with every size.
  for (size_t k = 1; k < heights.size(); ++k) CHECK(heights[k] > heights[k - 1]);
  // Back at 100%: as before.
  f.list.SetTextPercent(100);
  f.list.UpdateHeight();
  CHECK(f.list.ListHeight() == heights[0]);
}

TEST_CASE("a wrapped headline answers a click on any of its lines") {
  Fixture f;
  f.list.SetTextPercent(100);
  f.list.UpdateHeight();
  const RECT one = f.list.HeadlineRect(0);
  f.list.SetTextPercent(200);
  f.list.UpdateHeight();
  const RECT two = f.list.HeadlineRect(0);
  // Two lines at 200%, each taller than the one line at 100%.
  CHECK(two.bottom - two.top > 2 * (one.bottom - one.top));
  CHECK(f.list.ItemAtPoint(5, two.bottom - 3) == 0);
  CHECK(f.list.ItemAtPoint(5, two.top + 2) == 0);
  CHECK(f.list.ItemAtPoint(5, two.bottom + 1) == -1);
  // The word longer than the list is cut between letters, not left to run
  // past the edge.
  const RECT long_word = f.list.HeadlineRect(2);
  CHECK(long_word.right <= f.list.Width());
}
