// TCanvasEx: cairo compositing is pixel-exact; GDI+ drawing lands in the same
// premultiplied pixels.
#include <doctest.h>

#include <cstdint>

#include "framework/CanvasEx.h"
#include "tests/framework/GraphicsTestUtil.h"

namespace {

std::uint8_t Alpha(std::uint32_t pixel) { return pixel >> 24; }

// Counts pixels of the canvas with alpha in [low, high].
int CountAlpha(const TBitmapEx& bitmap, int low, int high) {
  int n = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      int a = Alpha(bitmap.Pixel(x, y));
      if (a >= low && a <= high) ++n;
    }
  return n;
}

bool Premultiplied(std::uint32_t pixel) {
  std::uint32_t a = pixel >> 24;
  return ((pixel >> 16) & 0xFF) <= a && ((pixel >> 8) & 0xFF) <= a && (pixel & 0xFF) <= a;
}

}  // namespace

TEST_CASE("a new canvas has its defaults and a transparent picture") {
  TCanvasEx canvas(30, 20);
  CHECK(canvas.Width() == 30);
  CHECK(canvas.Height() == 20);
  CHECK(canvas.Bitmap().Width() == 30);
  CHECK(canvas.DC() == canvas.Bitmap().DC());
  CHECK(canvas.Graphics() != nullptr);
  CHECK(canvas.Antialias());
  CHECK(canvas.TextRenderingHint() == 4);
  CHECK(canvas.SmoothingMode() == 4);
  CHECK(canvas.InterpolationMode() == 5);
  CHECK(canvas.PixelOffsetMode() == 3);
  CHECK(canvas.TextContrast() == 4);
  CHECK(AllPixels(canvas.Bitmap(), 0));
}

TEST_CASE("Antialias switches the text rendering hint between 4 and 3") {
  TCanvasEx canvas(4, 4);
  canvas.SetTextRenderingHint(1);
  canvas.SetAntialias(true);  // unchanged: the hint stays
  CHECK(canvas.TextRenderingHint() == 1);
  canvas.SetAntialias(false);
  CHECK(canvas.TextRenderingHint() == 3);
  canvas.SetAntialias(true);
  CHECK(canvas.TextRenderingHint() == 4);
}

TEST_CASE("Clear and Resize leave every pixel 0") {
  TCanvasEx canvas(16, 8);
  auto opaque = MakeBitmap(16, 8, Coded);
  canvas.Draw(*opaque, 0, 0);
  REQUIRE(canvas.Bitmap().Pixel(3, 3) == Coded(3, 3));
  canvas.Clear();
  CHECK(AllPixels(canvas.Bitmap(), 0));

  canvas.Font().SetSize(14);
  canvas.SetInterpolationMode(6);
  canvas.Draw(*opaque, 0, 0);
  canvas.Resize(16, 8);  // same size: still a fresh, empty picture
  CHECK(AllPixels(canvas.Bitmap(), 0));
  canvas.Resize(40, 3);
  CHECK(canvas.Bitmap().Width() == 40);
  CHECK(canvas.Bitmap().Height() == 3);
  CHECK(AllPixels(canvas.Bitmap(), 0));
  // Tools and settings survive.
  CHECK(canvas.Font().Size() == 14);
  CHECK(canvas.InterpolationMode() == 6);
  canvas.Draw(*opaque, 0, 0);
  CHECK(canvas.Bitmap().Pixel(15, 2) == Coded(15, 2));
}

TEST_CASE("Draw composites OVER at an offset, clipped to the canvas") {
  TCanvasEx canvas(10, 10);
  auto source = MakeBitmap(4, 4, Coded);
  canvas.Draw(*source, 8, -1);
  CHECK(canvas.Bitmap().Pixel(8, 0) == Coded(0, 1));
  CHECK(canvas.Bitmap().Pixel(9, 2) == Coded(1, 3));
  CHECK(canvas.Bitmap().Pixel(7, 0) == 0);
  CHECK(canvas.Bitmap().Pixel(8, 3) == 0);
}

TEST_CASE("DrawAlpha at 128 halves a premultiplied pixel; 255 is a plain Draw") {
  TCanvasEx canvas(2, 1);
  auto white = MakeBitmap(1, 1, [](int, int) { return 0xFFFFFFFFu; });
  canvas.DrawAlpha(*white, 0, 0, 128);
  canvas.DrawAlpha(*white, 1, 0, 255);
  CHECK(canvas.Bitmap().Pixel(0, 0) == 0x80808080);
  CHECK(canvas.Bitmap().Pixel(1, 0) == 0xFFFFFFFF);
}

TEST_CASE("StretchDraw") {
  SUBCASE("10 x 10 to 20 x 20 turns each source pixel into a 2 x 2 block") {
    TCanvasEx canvas(24, 24);
    auto source = MakeBitmap(10, 10, Coded);
    canvas.StretchDraw(*source, 2, 3, 20, 20);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) {
        bool inside = x >= 2 && x < 22 && y >= 3 && y < 23;
        CHECK(canvas.Bitmap().Pixel(x, y) == (inside ? Coded((x - 2) / 2, (y - 3) / 2) : 0u));
      }
  }
  SUBCASE("equal size is a plain Draw") {
    TCanvasEx canvas(12, 12);
    auto source = MakeBitmap(5, 4, Coded);
    canvas.StretchDraw(*source, 1, 1, 5, 4);
    CHECK(canvas.Bitmap().Pixel(1, 1) == Coded(0, 0));
    CHECK(canvas.Bitmap().Pixel(5, 4) == Coded(4, 3));
    CHECK(canvas.Bitmap().Pixel(6, 4) == 0);
  }
  SUBCASE("shrinking by 2 picks every other source pixel") {
    TCanvasEx canvas(5, 5);
    auto source = MakeBitmap(10, 10, Coded);
    canvas.StretchDraw(*source, 0, 0, 5, 5);
    CHECK(canvas.Bitmap().Pixel(0, 0) == Coded(0, 0));
    CHECK(canvas.Bitmap().Pixel(3, 4) == Coded(6, 8));
  }
  SUBCASE("non-positive sizes draw nothing") {
    const int sizes[][2] = {{0, 5}, {5, 0}, {-5, 5}, {5, -1}, {0, 0}};
    auto source = MakeBitmap(4, 4, Coded);
    for (auto& size : sizes) {
      TCanvasEx canvas(8, 8);
      canvas.StretchDraw(*source, 0, 0, size[0], size[1]);
      CHECK(AllPixels(canvas.Bitmap(), 0));
    }
    auto empty = TBitmapEx::CreateSized(0, 0);
    TCanvasEx canvas(8, 8);
    canvas.StretchDraw(*empty, 0, 0, 8, 8);
    CHECK(AllPixels(canvas.Bitmap(), 0));
  }
}

TEST_CASE("DrawPart of 16 x 16 at (32, 0) of a 64 x 16 strip touches only its square") {
  TCanvasEx canvas(64, 32);
  auto strip = MakeBitmap(64, 16, Coded);
  canvas.DrawPart(*strip, 0, 0, 32, 0, 16, 16);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) {
      bool inside = x < 16 && y < 16;
      CHECK(canvas.Bitmap().Pixel(x, y) == (inside ? Coded(x + 32, y) : 0u));
    }
  // No path is left behind: a later fill of the context path paints nothing.
  cairo_fill(canvas.Context());
  CHECK(canvas.Bitmap().Pixel(40, 20) == 0);
}

TEST_CASE("TileRect anchors its tiles at the canvas origin") {
  TCanvasEx canvas(12, 12);
  auto tile = MakeBitmap(4, 4, Coded);
  canvas.TileRect(*tile, 2, 2, 10, 10);
  CHECK(canvas.Bitmap().Pixel(2, 2) == Coded(2, 2));
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      bool inside = x >= 2 && x < 10 && y >= 2 && y < 10;
      CHECK(canvas.Bitmap().Pixel(x, y) == (inside ? Coded(x % 4, y % 4) : 0u));
    }
}

TEST_CASE("DrawImage keeps half-transparent pixels premultiplied") {
  // The bitmap is handed to GDI+ as premultiplied; declared straight, this
  // pixel would come out at about a quarter of its brightness.
  TCanvasEx canvas(4, 4);
  auto half = MakeBitmap(4, 4, [](int, int) { return 0x80808080u; });
  canvas.DrawImage(*half, 0, 0, 4, 4);
  std::uint32_t p = canvas.Bitmap().Pixel(1, 1);
  CHECK(Alpha(p) >= 0x7E);
  CHECK(Alpha(p) <= 0x81);
  CHECK(((p >> 16) & 0xFF) >= 0x7E);
  CHECK(Premultiplied(p));
}

TEST_CASE("DrawLine draws with the pen into the canvas pixels") {
  TCanvasEx canvas(20, 20);
  canvas.Pen().SetColor(0xFFFF0000);
  canvas.DrawLine(0, 10, 19, 10);
  int red = 0;
  for (int x = 0; x < 20; ++x)
    for (int y = 8; y <= 12; ++y) {
      std::uint32_t p = canvas.Bitmap().Pixel(x, y);
      if (Alpha(p) > 0) {
        CHECK(Premultiplied(p));
        CHECK((p & 0xFFFF) <= 2);  // red only
        ++red;
      }
    }
  CHECK(red >= 15);
  CHECK(canvas.Bitmap().Pixel(10, 2) == 0);
}

TEST_CASE("text over a transparent canvas leaves premultiplied, non-opaque edges") {
  // The check that catches GDI+ bound to the pixels as opaque RGB: then the
  // anti-aliased edges would be opaque, mixed with black.
  TCanvasEx canvas(160, 40);
  canvas.Font().SetSize(16);
  canvas.Font().SetColor(0xFFFFFFFF);
  canvas.DrawText(RECT{0, 0, 160, 40}, L"Güncelleniyor");
  int touched = 0, edges = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 160; ++x) {
      std::uint32_t p = canvas.Bitmap().Pixel(x, y);
      if (p == 0) continue;
      ++touched;
      CHECK(Premultiplied(p));
      if (Alpha(p) < 0xF0) ++edges;
    }
  CHECK(touched > 50);
  CHECK(edges > 10);
  CHECK(CountAlpha(canvas.Bitmap(), 0xFF, 0xFF) == 0);  // font colour alpha is 254
  // Far corner untouched.
  CHECK(canvas.Bitmap().Pixel(159, 39) == 0);
}

TEST_CASE("Clear removes drawn text; the empty text draws nothing") {
  TCanvasEx canvas(100, 30);
  canvas.DrawText(RECT{0, 0, 100, 30}, L"Kapat");
  REQUIRE(CountAlpha(canvas.Bitmap(), 1, 255) > 0);
  canvas.Clear();
  CHECK(AllPixels(canvas.Bitmap(), 0));
  canvas.DrawText(RECT{0, 0, 100, 30}, L"");
  CHECK(AllPixels(canvas.Bitmap(), 0));
}

TEST_CASE("text measuring") {
  TCanvasEx canvas(10, 10);
  SUBCASE("the empty text measures (1, 1)") {
    SIZE extent = canvas.TextExtent(L"");
    CHECK(extent.cx == 1);
    CHECK(extent.cy == 1);
    CHECK(canvas.TextWidth(L"") == 1);
  }
  SUBCASE("longer text is wider; larger fonts are taller") {
    SIZE short_ = canvas.TextExtent(L"Kapat");
    SIZE long_ = canvas.TextExtent(L"Kapat Kapat Kapat");
    CHECK(short_.cx > 1);
    CHECK(long_.cx > short_.cx);
    CHECK(long_.cy == short_.cy);
    float small = canvas.TextHeight(L"Kapat");
    canvas.Font().SetSize(20);
    CHECK(canvas.TextHeight(L"Kapat") > small * 1.5f);
    CHECK(canvas.TextExtent(L"Kapat").cy > short_.cy);
  }
  SUBCASE("a two-line text is about twice as tall as one line") {
    float one = canvas.TextHeight(L"Son dakika");
    float two = canvas.TextHeight(L"Son dakika\r\nhaberleri");
    CHECK(one > 5.0f);
    CHECK(two > one * 1.7f);
    CHECK(two < one * 2.3f);
  }
}

TEST_CASE("a canvas of no size draws nothing and fails nowhere") {
  auto source = MakeBitmap(4, 4, Coded);
  for (auto size : {SIZE{0, 0}, SIZE{0, 10}, SIZE{-5, -5}}) {
    TCanvasEx canvas(size.cx, size.cy);
    CHECK(canvas.Bitmap().Empty());
    CHECK(canvas.Graphics() == nullptr);
    canvas.Clear();
    canvas.Draw(*source, 0, 0);
    canvas.DrawAlpha(*source, 0, 0, 10);
    canvas.StretchDraw(*source, 0, 0, 8, 8);
    canvas.DrawPart(*source, 0, 0, 1, 1, 2, 2);
    canvas.TileRect(*source, 0, 0, 10, 10);
    canvas.DrawImage(*source, 0, 0, 4, 4);
    canvas.DrawLine(0, 0, 5, 5);
    canvas.DrawText(RECT{0, 0, 10, 10}, L"x");
    CHECK(canvas.TextExtent(L"x").cx >= 1);
    canvas.Resize(3, 3);
    CHECK(canvas.Graphics() != nullptr);
    canvas.Draw(*source, -1, -1);
    CHECK(canvas.Bitmap().Pixel(0, 0) == Coded(1, 1));
  }
}
