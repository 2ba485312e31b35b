#include <doctest.h>

#include <windows.h>

#include "tests/widgets/SkinTestUtil.h"
#include "widgets/BackgroundEx.h"
#include "widgets/ImageEx.h"
#include "widgets/SkinResource.h"

TEST_CASE("an auto-sized image takes its picture's size, whatever was set before") {
  gdiplus::TGdiPlusSession gdip;
  struct Row {
    int id, width, height;
  };
  const Row rows[] = {{5000, 20, 213}, {5001, 18, 70},  {5002, 475, 350}, {5003, 18, 324}, {5004, 136, 34},
                      {5005, 385, 211}, {5006, 12, 12},  {5007, 20, 20},   {5008, 20, 20},   {5009, 342, 224},
                      {5010, 64, 64},   {5011, 21, 21},  {5012, 20, 20},   {5013, 20, 20}};
  for (const Row& row : rows) {
    CAPTURE(row.id);
    TImageEx image;
    image.SetSize(7, 9);
    image.SetResourceID(row.id);
    CHECK(image.ResourceID() == row.id);
    CHECK(image.Width() == row.width);
    CHECK(image.Height() == row.height);
    REQUIRE(image.Image() != nullptr);
    REQUIRE(image.Bitmap() != nullptr);
    CHECK(image.Bitmap() != image.Image());
    CHECK(SameBitmap(*image.Bitmap(), *image.Image()));
  }
}

TEST_CASE("an image without AutoSize keeps its size until AutoSize is switched on") {
  gdiplus::TGdiPlusSession gdip;
  TImageEx image;
  image.SetAutoSize(false);
  image.SetSize(385, 183);
  image.SetResourceID(5011);
  CHECK(image.Width() == 385);
  CHECK(image.Height() == 183);
  image.SetAutoSize(true);
  CHECK(image.Width() == 21);
  CHECK(image.Height() == 21);
}

TEST_CASE("fading and tinting Bitmap leaves Image as decoded") {
  gdiplus::TGdiPlusSession gdip;
  TImageEx sheet;
  sheet.SetResourceID(5005);
  REQUIRE(sheet.Bitmap() != nullptr);
  auto decoded = LoadSkinImage(5005);
  REQUIRE(decoded != nullptr);
  sheet.Bitmap()->Fade(240);
  sheet.Bitmap()->Tint(0xFFF0F0F0);
  CHECK(SameBitmap(*sheet.Image(), *decoded));
  // Every channel of the working copy: faded by 240/256, colours once more.
  int checked = 0;
  for (int y = 0; y < decoded->Height(); y += 7)
    for (int x = 0; x < decoded->Width(); x += 5) {
      std::uint32_t was = decoded->Pixel(x, y), now = sheet.Bitmap()->Pixel(x, y);
      std::uint32_t a = ((was >> 24) * 240) >> 8;
      auto colour = [&](int shift) { return (((((was >> shift) & 0xFF) * 240) >> 8) * 240) >> 8; };
      std::uint32_t expected = (a << 24) | (colour(16) << 16) | (colour(8) << 8) | colour(0);
      if (now != expected) {
        CHECK(now == expected);
        return;
      }
      ++checked;
    }
  CHECK(checked > 1000);

  SUBCASE("setting the same resource again discards the tint") {
    sheet.SetResourceID(5005);
    CHECK(SameBitmap(*sheet.Bitmap(), *decoded));
    CHECK(SameBitmap(*sheet.Image(), *decoded));
  }
}

TEST_CASE("a resource that is not there leaves an empty picture of unchanged size") {
  SkinFixture f;
  TImageEx image;
  image.SetResourceID(5012);
  image.SetResourceID(4999);
  CHECK(image.ResourceID() == 4999);
  CHECK(image.Image() == nullptr);
  CHECK(image.Bitmap() == nullptr);
  CHECK(image.Width() == 20);
  CHECK(image.Height() == 20);
  CHECK(LoadSkinImage(-1) == nullptr);
  f.Place(image, 5, 5);
  image.Paint();
  CHECK(OpaqueishPixels(image.Canvas().Bitmap()) == 0);
  image.SetAutoSize(false);
  image.SetAutoSize(true);
  CHECK(image.Width() == 20);
}

TEST_CASE("an image paints its working copy at its origin, composited at its place") {
  SkinFixture f;
  TImageEx button;
  button.SetResourceID(5012);
  f.Place(button, 426, 25);
  CHECK(WindowClass(button.WindowHandle()) == L"Static");
  CHECK(TakesClicks(button.WindowHandle()));
  button.Bitmap()->Fade(128);
  button.Paint();
  CHECK(SameBitmap(button.Canvas().Bitmap(), *button.Bitmap()));
  f.window.Update();
  CHECK(FirstDifference(f.window.Canvas().Bitmap(), 426, 25, *button.Bitmap()) == "");
}

TEST_CASE("the background paints the bitmap it was given, and frees the one it replaces") {
  SkinFixture f;
  TBackgroundEx background;
  background.SetSize(475, 350);
  f.Place(background, 0, 0);
  background.Paint();
  CHECK(OpaqueishPixels(background.Canvas().Bitmap()) == 0);
  background.SetBitmap(LoadSkinImage(5002));
  REQUIRE(background.Bitmap() != nullptr);
  background.Paint();
  CHECK(SameBitmap(background.Canvas().Bitmap(), *background.Bitmap()));
  background.SetBitmap(nullptr);
  background.Paint();
  CHECK(OpaqueishPixels(background.Canvas().Bitmap()) == 0);
}
