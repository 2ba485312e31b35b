#include <doctest.h>

#include <windows.h>

#include "tests/widgets/SkinTestUtil.h"
#include "widgets/SkinResource.h"
#include "widgets/ThrobberEx.h"

TEST_CASE("the throbber steps through its 18 frames and wraps to the first") {
  gdiplus::TGdiPlusSession gdip;
  TThrobberEx throbber;
  CHECK(throbber.Frame() == 0);
  // After n calls from frame 0.
  struct Row {
    int calls, frame;
  };
  const Row rows[] = {{1, 1}, {2, 2}, {16, 16}, {17, 17}, {18, 0}, {19, 1}, {36, 0}, {18 * 50 + 5, 5}};
  for (const Row& row : rows) {
    CAPTURE(row.calls);
    throbber.SetFrame(0);
    for (int i = 0; i < row.calls; ++i) throbber.NextFrame();
    CHECK(throbber.Frame() == row.frame);
  }
  SUBCASE("a frame outside the strip starts the sequence again") {
    for (int bad : {18, 19, 1000, -1, -18}) {
      CAPTURE(bad);
      throbber.SetFrame(bad);
      throbber.NextFrame();
      CHECK(throbber.Frame() == 0);
    }
  }
}

TEST_CASE("the throbber shows the strip's cell of its frame") {
  SkinFixture f;
  TThrobberEx throbber;
  REQUIRE(throbber.Bitmap() != nullptr);
  CHECK(throbber.Bitmap()->Width() == 18);
  CHECK(throbber.Bitmap()->Height() == 324);
  throbber.SetSize(18, 18);
  f.Place(throbber, 26, 301);
  const TBitmapEx& canvas = throbber.Canvas().Bitmap();
  for (int frame : {0, 1, 9, 17}) {
    CAPTURE(frame);
    throbber.SetFrame(frame);
    throbber.Paint();
    TCanvasEx expected(18, 18);
    expected.DrawPart(*throbber.Bitmap(), 0, 0, 0, frame * 18, 18, 18);
    CHECK(FirstDifference(canvas, 0, 0, expected.Bitmap()) == "");
    CHECK(OpaqueishPixels(canvas) > 0);
  }
  SUBCASE("a frame outside the strip paints nothing") {
    throbber.SetFrame(18);
    throbber.Paint();
    CHECK(OpaqueishPixels(canvas) == 0);
    throbber.SetFrame(-1);
    throbber.Paint();
    CHECK(OpaqueishPixels(canvas) == 0);
  }
  SUBCASE("a hidden throbber keeps its frame and is not composited") {
    throbber.SetFrame(7);
    throbber.Hide();
    f.window.Update();
    CHECK(throbber.Frame() == 7);
    auto empty = TBitmapEx::CreateSized(18, 18);
    CHECK(FirstDifference(f.window.Canvas().Bitmap(), 26, 301, *empty) == "");
    throbber.Show();
    f.window.Update();
    TCanvasEx expected(18, 18);
    expected.DrawPart(*throbber.Bitmap(), 0, 0, 0, 7 * 18, 18, 18);
    CHECK(FirstDifference(f.window.Canvas().Bitmap(), 26, 301, expected.Bitmap()) == "");
  }
}
