// Pixel operations of TBitmapEx: exact byte arithmetic, in place.
#include <doctest.h>

#include <cstdint>
#include <vector>

#include "tests/framework/GraphicsTestUtil.h"

namespace {

std::uint32_t Bytes(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return (std::uint32_t(a) << 24) | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}

}  // namespace

TEST_CASE("a new bitmap is transparent, DIB-backed and tightly strided") {
  auto bitmap = TBitmapEx::CreateSized(7, 5);
  CHECK(bitmap->Width() == 7);
  CHECK(bitmap->Height() == 5);
  CHECK(bitmap->Stride() == 28);
  CHECK(bitmap->DC() != nullptr);
  CHECK(bitmap->Data() != nullptr);
  CHECK(AllPixels(*bitmap, 0));
}

TEST_CASE("sizes that cannot be made give the empty bitmap") {
  const int sizes[][2] = {{0, 5}, {5, 0}, {-3, 4}, {4, -3}, {0, 0}, {100000, 100000}};
  for (auto& size : sizes) {
    CAPTURE(size[0]);
    CAPTURE(size[1]);
    auto bitmap = TBitmapEx::CreateSized(size[0], size[1]);
    CHECK(bitmap->Empty());
    CHECK(bitmap->Data() == nullptr);
    // Every operation is a harmless no-op.
    bitmap->Blur(2);
    bitmap->Fade(10);
    bitmap->Tint(0xFF102030);
    CHECK(!bitmap->AsGdipBitmap());
    CHECK(bitmap->Clone()->Empty());
  }
}

TEST_CASE("Clone is an exact, independent copy") {
  auto source = MakeBitmap(9, 4, [](int x, int y) { return (x + y) % 3 ? Coded(x, y) : 0x80402010u; });
  auto copy = source->Clone();
  REQUIRE(copy->Width() == 9);
  REQUIRE(copy->Height() == 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 9; ++x) CHECK(copy->Pixel(x, y) == source->Pixel(x, y));
  copy->Fade(0);
  CHECK(source->Pixel(1, 0) == Coded(1, 0));
}

TEST_CASE("Fade multiplies all four bytes by alpha and shifts by 8") {
  struct Row {
    std::uint32_t pixel;
    std::uint8_t alpha;
    std::uint32_t expected;
  };
  const Row rows[] = {
      {0xFFFFFFFF, 255, 0xFEFEFEFE},
      {0xFFFFFFFF, 0, 0x00000000},
      {0xFFFFFFFF, 128, 0x7F7F7F7F},
      {0x80808080, 240, 0x78787878},
      {Bytes(200, 100, 50, 1), 240, Bytes(187, 93, 46, 0)},
  };
  for (const Row& row : rows) {
    CAPTURE(row.pixel);
    CAPTURE(int(row.alpha));
    auto bitmap = MakeBitmap(3, 2, [&](int, int) { return row.pixel; });
    bitmap->Fade(row.alpha);
    CHECK(AllPixels(*bitmap, row.expected));
  }
}

TEST_CASE("Tint scales blue, green and red by the colour's channels and keeps alpha") {
  struct Row {
    std::uint32_t pixel, color, expected;
  };
  const Row rows[] = {
      {0xFFFFFFFF, 0xFFF0F0F0, 0xFFEFEFEF},
      {0xC0804020, 0x00FF8000, Bytes(0xC0, 0x7F, 0x20, 0x00)},
      {0x80808080, 0xFF000000, 0x80000000},
      // Red is bits 16-23, blue bits 0-7 of the colour.
      {0xFFFFFFFF, 0x00FF0000, 0xFFFE0000},
      {0xFFFFFFFF, 0x000000FF, 0xFF0000FE},
  };
  for (const Row& row : rows) {
    CAPTURE(row.pixel);
    CAPTURE(row.color);
    auto bitmap = MakeBitmap(2, 2, [&](int, int) { return row.pixel; });
    bitmap->Tint(row.color);
    CHECK(AllPixels(*bitmap, row.expected));
  }
}

TEST_CASE("Blur") {
  SUBCASE("0 passes changes nothing") {
    auto bitmap = MakeBitmap(5, 5, Coded);
    bitmap->Blur(0);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) CHECK(bitmap->Pixel(x, y) == Coded(x, y));
  }
  SUBCASE("3 x 3: only the centre changes, to the shifted sum of its four neighbours") {
    // The centre's own value takes no part.
    auto bitmap = MakeBitmap(3, 3, [](int x, int y) {
      const std::uint32_t values[3][3] = {{0x01020304, 0x10203040, 0x05060708},
                                          {0x20406080, 0xFFFFFFFF, 0x04080C10},
                                          {0x0A0B0C0D, 0x01010101, 0x0F0E0D0C}};
      return values[y][x];
    });
    bitmap->Blur(1);
    // Per byte (A, R, G, B): (above + below + left + right) >> 2.
    std::uint32_t expected = Bytes((0x10 + 0x01 + 0x20 + 0x04) >> 2, (0x20 + 0x01 + 0x40 + 0x08) >> 2,
                                   (0x30 + 0x01 + 0x60 + 0x0C) >> 2, (0x40 + 0x01 + 0x80 + 0x10) >> 2);
    CHECK(bitmap->Pixel(1, 1) == expected);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 3; ++x)
        if (x != 1 || y != 1) CHECK(bitmap->Pixel(x, y) != expected);
    CHECK(bitmap->Pixel(0, 0) == 0x01020304);
    CHECK(bitmap->Pixel(2, 2) == 0x0F0E0D0C);
  }
  SUBCASE("a pass works in place: left and upper neighbours already hold new values") {
    // One bright pixel on the left border of row 1 of a 4 x 3 bitmap.
    auto bitmap = MakeBitmap(4, 3, [](int x, int y) { return x == 0 && y == 1 ? 0xFFFFFFFFu : 0u; });
    bitmap->Blur(1);
    // (1,1) = (0 + 0 + 0xFF + 0) >> 2 = 0x3F; (2,1) sees the new (1,1) on
    // its left: 0x3F >> 2 = 0x0F. With old values it would stay 0.
    CHECK(bitmap->Pixel(1, 1) == 0x3F3F3F3F);
    CHECK(bitmap->Pixel(2, 1) == 0x0F0F0F0F);
  }
  SUBCASE("two passes equal one pass applied twice; the border never changes") {
    auto twice = MakeBitmap(8, 6, [](int x, int y) { return (x * 7 + y * 13) % 5 ? 0xFF808080u : 0x40404040u; });
    auto stepwise = twice->Clone();
    twice->Blur(2);
    stepwise->Blur(1);
    stepwise->Blur(1);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        CHECK(twice->Pixel(x, y) == stepwise->Pixel(x, y));
        if (x == 0 || y == 0 || x == 7 || y == 5)
          CHECK(twice->Pixel(x, y) == (((x * 7 + y * 13) % 5) ? 0xFF808080u : 0x40404040u));
      }
  }
  SUBCASE("bitmaps narrower or lower than 3 pixels are unchanged") {
    for (auto size : {std::vector<int>{2, 5}, std::vector<int>{5, 2}, std::vector<int>{1, 1}}) {
      auto bitmap = MakeBitmap(size[0], size[1], Coded);
      bitmap->Blur(3);
      for (int y = 0; y < size[1]; ++y)
        for (int x = 0; x < size[0]; ++x) CHECK(bitmap->Pixel(x, y) == Coded(x, y));
    }
  }
}

TEST_CASE("pixel operations leave bitmaps of other formats alone") {
  auto bitmap = TBitmapEx::CreateSized(4, 4, CAIRO_FORMAT_RGB24);
  REQUIRE(bitmap->Data() != nullptr);
  SetPixel(*bitmap, 1, 1, 0xFF804020);
  bitmap->Fade(0);
  bitmap->Tint(0);
  bitmap->Blur(1);
  CHECK(bitmap->Pixel(1, 1) == 0xFF804020);
}
