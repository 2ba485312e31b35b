#include <doctest.h>

#include <initializer_list>

#include "framework/Scale.h"

TEST_CASE("scaling rounds half up at every step, and 96 DPI changes nothing") {
  const int dpis[] = {96, 120, 144, 168, 192};
  const int expected[][5] = {
      // 475, 350, 18, 21, 7 at each DPI
      {475, 350, 18, 21, 7},
      {594, 438, 23, 26, 9},
      {713, 525, 27, 32, 11},
      {831, 613, 32, 37, 12},
      {950, 700, 36, 42, 14},
  };
  const int lengths[] = {475, 350, 18, 21, 7};
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 5; ++j) CHECK(TScale(dpis[i]).Px(lengths[j]) == expected[i][j]);
  // Negative coordinates (a sheet waiting above its panel) round the same
  // way, half up, not towards zero.
  CHECK(TScale(120).Px(-183) == -229);  // -228.75
  CHECK(TScale(144).Px(-15) == -22);    // -22.5 rounds up
  CHECK(TScale(144).Px(15) == 23);      // 22.5 rounds up
}

TEST_CASE("boxes that meet at 96 DPI meet at every scale, however deep they sit") {
  for (int dpi = 96; dpi <= 288; ++dpi) {
    const TScale s(dpi);
    CAPTURE(dpi);
    // Side by side in a parent at an odd place: the right edge of one is the
    // left edge of the next, and together they fill the parent's width.
    const int ox = 30 + 7, oy = 75 + 3;
    int x = 0;
    int filled = 0;
    for (int w : {7, 13, 1, 29, 18, 11}) {
      TBox b = s.Box(ox, oy, x, 0, w, 5);
      CHECK(b.Left == filled);
      filled += b.Width;
      x += w;
    }
    CHECK(filled == s.Box(0, 0, ox, oy, x, 5).Width);
    // A child as tall as its parent covers it exactly.
    TBox parent = s.Box(0, 0, 30, 75, 415, 213);
    TBox child = s.Box(30, 75, 0, 0, 415, 213);
    CHECK(child.Width == parent.Width);
    CHECK(child.Height == parent.Height);
    CHECK(child.Left == 0);
  }
}

TEST_CASE("a length scaled and measured back comes home; nonsense DPI is 96") {
  for (int dpi : {96, 120, 144, 168, 192, 240})
    for (int n : {0, 1, 15, 213, 5000, -183}) CHECK(TScale(dpi).Unscaled(TScale(dpi).Px(n)) == n);
  CHECK(TScale(0).Dpi() == 96);
  CHECK(TScale(-144).Dpi() == 96);
  CHECK(TScale(1 << 30).Dpi() == 96);
  CHECK(TScale().IsBase());
  CHECK(TScale(144).Factor() == doctest::Approx(1.5));
}
