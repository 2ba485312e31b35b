#include <doctest.h>

#include "widgets/ScrollMath.h"

namespace {
// A list of 513 pixels in the ticker's 213-pixel viewport, 70-pixel thumb.
const TScrollGeometry Tall{513, 213, 213, 70};
}  // namespace

TEST_CASE("paging and jumping through a tall list") {
  CHECK(Tall.Ratio() == doctest::Approx(300.0 / 143.0));
  int top = ScrolledTop(0, -213, Tall);  // Page Down
  CHECK(top == -213);
  CHECK(ThumbTopFor(top, Tall) == 102);  // 213 * 143 / 300 = 101.53
  top = ScrolledTop(top, -1073741823, Tall);  // End
  CHECK(top == -300);
  CHECK(ThumbTopFor(top, Tall) == 143);
  CHECK(ScrolledTop(top, -10, Tall) == -300);  // past the end: clamped
  CHECK(ScrolledTop(-300, 1073741823, Tall) == 0);  // Home
  CHECK(ScrolledTop(0, 1073741823, Tall) == 0);     // Home at the top: no change
  CHECK(ScrolledTop(-5, 2147483647, Tall) == 0);    // no overflow on huge deltas
}

TEST_CASE("a list no taller than its viewport never moves") {
  const TScrollGeometry Short{150, 213, 213, 70};
  CHECK(ScrolledTop(0, -120, Short) == 0);
  CHECK(ScrolledTop(0, 120, Short) == 0);
  CHECK(ThumbTopFor(0, Short) == -1);  // no ratio: the thumb stays put
}

TEST_CASE("wheel deltas scroll half, truncated towards zero") {
  CHECK(WheelScroll(-120) == -60);
  CHECK(WheelScroll(120) == 60);
  CHECK(WheelScroll(-1) == 0);
  CHECK(WheelScroll(-241) == -120);
}

TEST_CASE("dragging the thumb clamps it to the track and shows the matching part") {
  int thumb = 500;
  CHECK(ListTopForThumb(thumb, Tall) == -300);
  CHECK(thumb == 143);
  thumb = -40;
  CHECK(ListTopForThumb(thumb, Tall) == 0);
  CHECK(thumb == 0);
  thumb = 102;
  CHECK(ListTopForThumb(thumb, Tall) == -214);  // 102 * 300 / 143 = 213.99
}
