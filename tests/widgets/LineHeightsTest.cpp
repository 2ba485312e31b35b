// Deriving a text's height from its shape must give exactly what measuring
// it gives, or the list would lay out differently than it paints.
#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/CanvasEx.h"
#include "framework/GdiPlus.h"
#include "widgets/LineHeights.h"

namespace {

// Texts as the list gets them (wrapped, with lone line feeds): Turkish
// letters, capitals with dots and descenders, digits and punctuation, long
// and short lines, empty lines and edges.
const std::vector<std::wstring> Corpus = {
    L"İstanbul'da kar yağışı etkili oluyor",
    L"Ağır çekim: ĞÜŞİÖÇ ğüşıöç",
    L"x",
    L"...",
    L"Merkez Bankası faiz kararını açıkladı\npolitika faizi sabit",
    L"jjj ggg yyy\nÂÎÛ âîû\nqpq",
    L"1\n2\n3\n4\n5\n6",
    L"Para Politikası Kurulu politika faizini sabit tuttu; karar\npiyasalarda \u201cbeklendiği gibi\u201d "
    L"karşılandı.\nüçüncü satır — uzun tire ile",
    L"",
    L"\nbaşta boş satır",
    L"sonda boş satır\n",
    L"ortada\n\nboş satır",
    L"AFAD'ın açıkladığı verilere göre deprem 7 kilometre derinlikte\nmeydana geldi.",
    L"Ege'de 4,2 büyüklüğünde deprem",
    L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
    L"iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii\nMMMMMMMMM",
    L"kısa\nçok daha uzun bir ikinci satır burada\nve üç",
};

}  // namespace

TEST_CASE("a text's height from its shape equals its measured height, in the list's fonts") {
  gdiplus::TGdiPlusSession gdip;
  TCanvasEx canvas(390, 213);
  canvas.SetAntialias(false);
  canvas.Font().SetName(L"Trebuchet MS");
  struct Font {
    int style, size;
  };
  for (Font font : {Font{1, 10}, Font{0, 9}}) {
    CAPTURE(font.style);
    canvas.Font().SetStyle(font.style);
    canvas.Font().SetSize(font.size);
    // Every order: the text that stands for a shape is each one in turn.
    for (size_t first = 0; first < Corpus.size(); ++first) {
      TLineHeights heights;
      for (size_t k = 0; k < Corpus.size(); ++k) {
        const std::wstring& text = Corpus[(first + k) % Corpus.size()];
        CAPTURE(text.size());
        CHECK(heights.Height(canvas, text) == canvas.TextHeight(text));
      }
      CHECK(heights.Measured() < static_cast<int>(Corpus.size()));
    }
  }
}

TEST_CASE("shapes: lines and empty lines count; other scripts are measured") {
  unsigned long long a = 0, b = 0;
  REQUIRE(TLineHeights::Shape(L"bir\niki", a));
  REQUIRE(TLineHeights::Shape(L"üç\ndört", b));
  CHECK(a == b);
  REQUIRE(TLineHeights::Shape(L"bir\niki\n", b));
  CHECK(a != b);
  REQUIRE(TLineHeights::Shape(L"bir\n\niki", b));
  CHECK(a != b);
  REQUIRE(TLineHeights::Shape(L"bir", b));
  CHECK(a != b);
  unsigned long long none = 0;
  CHECK_FALSE(TLineHeights::Shape(L"東京", none));
  CHECK_FALSE(TLineHeights::Shape(L"sekme\tkarakteri", none));
  CHECK_FALSE(TLineHeights::Shape(L"\U0001F600", none));
}
