// Frames as small as their change: what is painted, composed and handed to
// the system when only part of the window changed, and that it looks as a
// full recompose does.
#include <doctest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FrameRecorder.h"
#include "LayeredFixture.h"
#include "framework/LayeredUpdate.h"

namespace {

// Solid, with text and a line drawn over it by GDI+, and counting how often
// its picture is handed to the parent.
class Lettered : public Solid {
 public:
  using Solid::Solid;
  int presents = 0;
  void Paint() override {
    Solid::Paint();
    Font().SetName(L"Tahoma");
    Font().SetSize(9);
    Font().SetColor(0xFF000000);
    Canvas().DrawText(RECT{0, 0, Width(), Height()}, L"Şğİ yazı");
    Canvas().Pen().SetColor(0xC0FFFFFF);
    Canvas().DrawLine(0, Height() - 2, Width(), 1);
  }
  void Present() override {
    ++presents;
    Solid::Present();
  }
};

struct Scene : Fixture {
  Lettered back{0x80204060}, a{0xFFFF0000}, b{0xFF0000FF}, inner{0xFF00FF00};
  Scene() {
    Place(back, window, 0, 0, 60, 40);
    Place(a, back, 4, 4, 24, 14);
    Place(b, back, 20, 12, 30, 20);  // over a
    Place(inner, b, 10, 8, 10, 8);  // clear of a
    window.Update();
  }
  // The same state painted and composed from scratch.
  std::vector<std::uint32_t> Full() {
    for (TControlEx* c : {static_cast<TControlEx*>(&window), static_cast<TControlEx*>(&back),
                          static_cast<TControlEx*>(&a), static_cast<TControlEx*>(&b), static_cast<TControlEx*>(&inner)})
      c->Invalidate();
    window.Update();
    return Pixels(window.Canvas().Bitmap());
  }
};

}  // namespace

TEST_CASE("the canvas clip holds for cairo and GDI+ alike, and an empty one lets nothing through") {
  gdiplus::TGdiPlusSession gdip;
  TCanvasEx canvas(40, 30);
  auto red = TBitmapEx::CreateSized(40, 30);
  auto* px = reinterpret_cast<std::uint32_t*>(red->Data());
  for (int i = 0; i < 40 * 30; ++i) px[i] = 0xFFFF0000;
  red->MarkDirty();
  canvas.Draw(*red, 0, 0);
  canvas.SetClip(RECT{10, 5, 20, 15});
  CHECK(Str(canvas.ClipArea()) == "10,5-20,15");
  canvas.Clear();  // cairo
  canvas.Brush().SetColor(0xFF0000FF);
  canvas.FillRect(RECT{0, 0, 40, 30});  // GDI+
  canvas.Pen().SetColor(0xFF00FF00);
  canvas.DrawLine(0, 20, 40, 20);  // GDI+, outside the clip
  const TBitmapEx& b = canvas.Bitmap();
  CHECK(b.Pixel(10, 5) == 0xFF0000FFu);
  CHECK(b.Pixel(19, 14) == 0xFF0000FFu);
  for (POINT p : {POINT{9, 5}, POINT{20, 14}, POINT{10, 4}, POINT{19, 15}, POINT{5, 20}, POINT{0, 0}}) {
    CAPTURE(p.x);
    CAPTURE(p.y);
    CHECK(b.Pixel(p.x, p.y) == 0xFFFF0000u);
  }
  canvas.SetClip(RECT{50, 50, 60, 60});  // off the canvas: empty
  canvas.FillRect(RECT{0, 0, 40, 30});
  canvas.Draw(*red, 0, 0);
  CHECK(b.Pixel(15, 10) == 0xFF0000FFu);
  canvas.ResetClip();
  canvas.FillRect(RECT{0, 0, 40, 30});
  CHECK(b.Pixel(0, 0) == 0xFF0000FFu);
  CHECK(b.Pixel(39, 29) == 0xFF0000FFu);
}

TEST_CASE("a marked child: only its area is composed again, the rest of the window is kept") {
  Scene s;
  const int bPresents = s.b.presents, backPaints = s.back.paints;
  s.a.Invalidate();
  RECT marked = s.window.MarkedArea();
  CHECK(Str(marked) == "4,4-28,18");
  CHECK(Str(s.back.MarkedPart()) == "4,4-28,18");
  s.window.Update();
  CHECK(s.a.paints == 2);
  CHECK(s.back.paints == backPaints + 1);  // its picture under the area
  CHECK(s.b.presents == bPresents + 1);    // b overlaps the area: composed again over it
  CHECK(s.inner.paints == 1);              // but not painted

  // A child that does not meet the area is neither painted nor composed.
  const int aPresents = s.a.presents;
  s.inner.Invalidate();
  s.window.Update();
  CHECK(s.a.presents == aPresents);
  CHECK(s.inner.paints == 2);
  CHECK(Difference(s.window.Canvas().Bitmap(), s.Full()) == "");

  // Part of a picture: only that part, in every parent.
  s.b.InvalidateArea(RECT{2, 10, 8, 14});
  CHECK(Str(s.b.MarkedPart()) == "2,10-8,14");
  CHECK(Str(s.window.MarkedArea()) == "22,22-28,26");
  s.window.Update();
  CHECK(Difference(s.window.Canvas().Bitmap(), s.Full()) == "");
  s.b.InvalidateArea(RECT{40, 40, 50, 50});  // off the picture
  CHECK_FALSE(s.b.Marked());
}

TEST_CASE("the dirty rectangle: the composed area, and the whole picture for the first frame, moves, opacity, shows and "
          "frame changes") {
  Fixture f;
  Solid child(0xFFFF0000);
  Place(child, f.window, 10, 10, 20, 20);
  FrameRecorder recorder;
  std::vector<RECT>& handed = FrameRecorder::Handed();
  f.window.Update();
  REQUIRE(handed.size() == 1);
  CHECK(Str(handed.back()) == "0,0-60,40");  // the first frame

  child.Invalidate();
  f.window.Update();
  CHECK(Str(handed.back()) == "10,10-30,30");

  f.window.Update();  // nothing marked: the screen shows it already
  CHECK(handed.size() == 2);

  f.window.SetLeft(f.window.Left() + 5);
  f.window.Update();
  REQUIRE(handed.size() == 3);
  CHECK(Str(handed.back()) == "0,0-60,40");  // moved

  f.window.SetOpacity(200);
  REQUIRE(handed.size() == 4);
  CHECK(Str(handed.back()) == "0,0-60,40");  // a fade step hands over the picture as it is
  child.Invalidate();
  f.window.Update();
  CHECK(Str(handed.back()) == "10,10-30,30");

  f.window.Hide();
  f.window.Show();
  child.Invalidate();
  f.window.Update();
  CHECK(Str(handed.back()) == "0,0-60,40");  // after a show

  size_t before = handed.size();
  f.window.SetAlwaysTop(true);  // its own Update hands the picture over again
  REQUIRE(handed.size() == before + 1);
  CHECK(Str(handed.back()) == "0,0-60,40");
  before = handed.size();
  f.window.SetTransparent(true);
  f.window.Update();
  REQUIRE(handed.size() == before + 1);
  CHECK(Str(handed.back()) == "0,0-60,40");

  f.window.SetSize(70, 40);
  child.SetLeft(11);
  f.window.Update();
  CHECK(Str(handed.back()) == "0,0-70,40");  // a new size
}

TEST_CASE("the system takes the dirty rectangle: UpdateLayeredWindowIndirect is there and accepts our record") {
  Fixture f;
  f.window.Update();
  CHECK(LayeredDirtySupported());
  POINT at{f.window.Left(), f.window.Top()}, from{0, 0};
  SIZE size{f.window.Width(), f.window.Height()};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  RECT dirty{2, 2, 12, 12};
  UPDATELAYEREDWINDOWINFO info{sizeof(info), nullptr, &at, &size, f.window.Canvas().DC(), &from, 0, &blend, ULW_ALPHA,
                               &dirty};
  CHECK(UpdateLayeredDirty(f.window.WindowHandle(), &info) != FALSE);
  // A record of the wrong size is refused, so the one above was checked.
  info.cbSize = sizeof(info) - 4;
  CHECK(UpdateLayeredDirty(f.window.WindowHandle(), &info) == FALSE);
}
