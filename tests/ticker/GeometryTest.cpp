#include <doctest.h>

#include "ticker/Geometry.h"

namespace {
const TArea Work{0, 0, 1280, 994};
}

TEST_CASE("edge snapping: within 7 pixels snaps flush, 8 does not, top and left win") {
  struct Row {
    int x, y, ex, ey;
  };
  const Row rows[] = {
      {7, 100, 0, 100},                    // left edge
      {8, 100, 8, 100},                    // just too far
      {-7, 100, 0, 100},                   // outside counts as near
      {1280 - 475 - 7, 300, 805, 300},     // right edge
      {400, 994 - 350 + 7, 400, 644},      // bottom edge
      {400, 3, 400, 0},                    // top edge
  };
  for (const Row& r : rows) {
    int x = r.x, y = r.y;
    SnapToEdges(Work, FaceWidth, FaceHeight, x, y);
    CAPTURE(r.x);
    CAPTURE(r.y);
    CHECK(x == r.ex);
    CHECK(y == r.ey);
  }
  // A work area barely taller than the window: top wins over bottom.
  TArea tight{0, 0, 1000, 355};
  int x = 100, y = 3;
  SnapToEdges(tight, FaceWidth, FaceHeight, x, y);
  CHECK(y == 0);
  TArea narrow{0, 0, 480, 900};
  x = 3;
  y = 300;
  SnapToEdges(narrow, FaceWidth, FaceHeight, x, y);
  CHECK(x == 0);
}

TEST_CASE("the miniature's corner follows the work-area quadrant") {
  CHECK(CornerFor(Work, 0, 0) == 0);
  CHECK(CornerFor(Work, 639, 497) == 0);  // top exactly at half: top part
  CHECK(CornerFor(Work, 640, 0) == 2);    // left exactly at half: right part
  CHECK(CornerFor(Work, 0, 498) == 1);
  CHECK(CornerFor(Work, 900, 900) == 3);
}

TEST_CASE("shrinking takes 15 frames to a 119 x 87 miniature; growing back ends at 1.0") {
  float scale = 1.0f;
  int frames = 0;
  while (ShrinkStep(scale, 0.05f, 0.2f)) ++frames;
  CHECK(frames == 15);
  CHECK(scale < 0.25f);
  CHECK(scale > 0.24f);
  TMiniRect r = MiniatureRect(3, scale);
  CHECK(r.W == 119);
  CHECK(r.H == 87);
  CHECK(r.X == 475 - 119);
  CHECK(r.Y == 350 - 87);
  frames = 0;
  while (GrowStep(scale, 0.05f, 1.0f)) ++frames;
  CHECK(frames == 15);
  CHECK(scale == 1.0f);
  CHECK(MiniatureRect(0, scale).W == 475);
}

TEST_CASE("a saved position off every monitor opens in the nearest work area's corner") {
  const std::vector<TArea> works = {{0, 0, 1280, 984}, {1280, 0, 2560, 1024}};
  struct Case {
    int left, top;
    int wantLeft, wantTop;
  } cases[] = {
      {100, 100, 100, 100},        // on screen: untouched
      {1000, 100, 1000, 100},      // straddles two monitors, more than half on the first
      {1100, 100, 1100, 100},      // 180 px on the first, 295 on the second: stays
      {-5000, -5000, 0, 0},        // far up-left: top-left corner of the first
      {9000, 3000, 2085, 674},     // far down-right: bottom-right of the second
      {3000, 100, 2085, 0},        // right of the second, top half
      {-300, 900, 0, 634},         // mostly below-left of the first
      {600, -300, 805, 0},         // above the first, right half
  };
  for (const Case& c : cases) {
    CAPTURE(c.left);
    CAPTURE(c.top);
    int left = c.left, top = c.top;
    PlaceOnScreen(works, FaceWidth, FaceHeight, left, top);
    CHECK(left == c.wantLeft);
    CHECK(top == c.wantTop);
  }
  // A work area smaller than the window keeps its top-left corner in view.
  int left = 5000, top = 5000;
  PlaceOnScreen({{0, 0, 400, 300}}, FaceWidth, FaceHeight, left, top);
  CHECK(left == 0);
  CHECK(top == 0);
  // Exactly half visible is visible enough; a pixel less is not.
  left = -238;
  top = 0;
  PlaceOnScreen({{0, 0, 1280, 984}}, 476, FaceHeight, left, top);
  CHECK(left == -238);
  left = -239;
  PlaceOnScreen({{0, 0, 1280, 984}}, 476, FaceHeight, left, top);
  CHECK(left == 0);
}

TEST_CASE("the miniature's corner is measured from the monitor's own origin") {
  const TArea second{1280, 0, 2560, 1024};
  CHECK(CornerFor(second, 1280, 0) == 0);
  CHECK(CornerFor(second, 1920, 0) == 2);
  CHECK(CornerFor(second, 1300, 600) == 1);
}
