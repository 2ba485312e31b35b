#include <doctest.h>

#include <cstdint>
#include <cstdlib>

#include "tests/widgets/SkinTestUtil.h"
#include "widgets/SkinResource.h"

namespace {
int Alpha(const TBitmapEx& b, int x, int y) { return static_cast<int>(b.Pixel(x, y) >> 24); }
}  // namespace

TEST_CASE("each drawn scale has its own images; others are resampled to the scaled size") {
  gdiplus::TGdiPlusSession gdip;
  // Drawn: the image is the resource of that scale, untouched.
  for (int dpi : {96, 120, 144, 168, 192}) {
    CAPTURE(dpi);
    const int id = SkinImageId(5012, dpi);
    REQUIRE(id != 0);
    auto drawn = LoadSkinImage(id);
    auto chosen = LoadSkinImage(5012, TScale(dpi));
    REQUIRE(drawn);
    REQUIRE(chosen);
    CHECK(chosen->Width() == TScale(dpi).Px(20));
    CHECK(SameBitmap(*chosen, *drawn));
  }
  CHECK(SkinImageId(5002, 110) == 0);
  CHECK(SkinImageId(5002, 120) == 5102);
  CHECK(SkinImageId(5002, 192) == 5402);

  // Between the steps and beyond the largest: the scaled size of the 96-DPI
  // image, and the background's transparent corners stay transparent.
  auto base = LoadSkinImage(5002);
  REQUIRE(base);
  for (int dpi : {100, 110, 132, 180, 240, 288}) {
    CAPTURE(dpi);
    const TScale s(dpi);
    auto face = LoadSkinImage(5002, s);
    REQUIRE(face);
    CHECK(face->Width() == s.Px(475));
    CHECK(face->Height() == s.Px(350));
    CHECK(Alpha(*face, 0, 0) == 0);
    CHECK(Alpha(*face, face->Width() - 1, face->Height() - 1) == 0);
    // The middle and the top edge keep the alpha the picture has there: an
    // edge filtered against the transparent outside would lose about half.
    // (Windows' GDI+ does that unless told to mirror the edges; Wine's
    // clamps them anyway, so here this guards the resampling as a whole.)
    CHECK(std::abs(Alpha(*face, face->Width() / 2, face->Height() / 2) - Alpha(*base, 237, 175)) <= 2);
    CHECK(std::abs(Alpha(*face, face->Width() / 2, 0) - Alpha(*base, 237, 0)) <= 12);
    auto track = LoadSkinImage(5000, s);
    REQUIRE(track);
    CHECK(track->Width() == s.Px(20));
    CHECK(track->Height() == s.Px(213));
  }
}

TEST_CASE("the busy strip is scaled frame by frame, every frame its scaled square") {
  gdiplus::TGdiPlusSession gdip;
  for (int dpi : {96, 110, 120, 150, 192, 250}) {
    CAPTURE(dpi);
    const TScale s(dpi);
    auto strip = LoadSkinImage(5003, s, 18);
    REQUIRE(strip);
    const int frame = s.Px(18);
    CHECK(strip->Width() == frame);
    CHECK(strip->Height() == 18 * frame);
  }
}
