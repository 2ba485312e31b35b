#include <doctest.h>

#include <windows.h>

#include <stdexcept>

#include "LayeredFixture.h"


TEST_CASE("children are composited over the parent in z-order") {
  Fixture f;
  Solid red(0xFFFF0000), blue(0xFF0000FF);
  Place(red, f.window, 0, 0, 30, 20);
  Place(blue, f.window, 20, 10, 30, 20);  // created later: on top
  f.window.Invalidate();
  CHECK(f.Pixel(5, 5) == 0xFFFF0000u);
  CHECK(f.Pixel(25, 15) == 0xFF0000FFu);  // the overlap shows the later child
  CHECK(f.Pixel(55, 35) == 0u);

  SUBCASE("a hidden child is neither painted nor composited") {
    int before = blue.paints;
    blue.Hide();
    f.window.Invalidate();
    CHECK(blue.paints == before);
    CHECK(f.Pixel(25, 15) == 0xFFFF0000u);
    CHECK(f.Pixel(45, 25) == 0u);
  }
  SUBCASE("opacity scales the child's premultiplied pixels") {
    blue.Opacity = 128;
    f.window.Invalidate();
    // Half of opaque blue, premultiplied; over red where they overlap.
    std::uint32_t alone = f.Pixel(45, 25);
    std::uint32_t alpha = alone >> 24, blue = alone & 0xFF, redGreen = alone & 0x00FFFF00u;
    CHECK(alpha >= 0x7Fu);
    CHECK(alpha <= 0x81u);
    CHECK(blue == alpha);
    CHECK(redGreen == 0u);
    std::uint32_t over = f.Pixel(25, 15);
    std::uint32_t overAlpha = over >> 24, overRed = (over >> 16) & 0xFF;
    CHECK(overAlpha == 0xFFu);
    CHECK(overRed >= 0x7Eu);
    CHECK(overRed <= 0x81u);
  }
}

namespace {
BLENDFUNCTION lastBlend{};
int presents = 0;
BOOL WINAPI RecordPresent(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION* blend, DWORD) {
  lastBlend = *blend;
  ++presents;
  return TRUE;
}
}  // namespace

TEST_CASE("the window's opacity is the constant alpha handed to the system") {
  Fixture f;
  auto saved = TWindowEx::UpdateLayered;
  TWindowEx::UpdateLayered = &RecordPresent;
  f.window.Opacity = 137;
  f.window.Invalidate();
  TWindowEx::UpdateLayered = saved;
  REQUIRE(presents > 0);
  CHECK(lastBlend.SourceConstantAlpha == 137);
  CHECK(lastBlend.AlphaFormat == AC_SRC_ALPHA);
  CHECK(lastBlend.BlendOp == AC_SRC_OVER);
}

TEST_CASE("a cached control paints again only when asked; a locked one not at all") {
  Fixture f;
  Solid child(0xFF00FF00);
  Place(child, f.window, 0, 0, 10, 10);
  child.Cached = true;
  f.window.Invalidate();
  f.window.Invalidate();
  CHECK(child.paints == 1);
  CHECK(f.Pixel(1, 1) == 0xFF00FF00u);  // the kept picture is still composited
  child.Redraw = true;
  f.window.Invalidate();
  CHECK(child.paints == 2);

  child.Cached = false;
  child.Locked = true;
  child.Redraw = true;
  f.window.Invalidate();
  CHECK(child.paints == 2);
}

TEST_CASE("Invalidate from inside a paint does not start a second pass") {
  Fixture f;
  int paints = 0;
  f.window.OnPaint = [&](TControl*) {
    ++paints;
    f.window.Invalidate();
  };
  f.window.Invalidate();
  CHECK(paints == 1);
}

TEST_CASE("OnClose decides what WM_CLOSE does") {
  Fixture f;
  HWND w = f.window.WindowHandle();
  f.window.Show();
  int hides = 0;
  f.window.OnHide = [&](TControl*) { ++hides; };

  TCloseAction next = caNone;
  f.window.OnClose = [&](TControl*, TCloseAction& action) { action = next; };
  ::SendMessageW(w, WM_CLOSE, 0, 0);
  CHECK(::IsWindowVisible(w));
  next = caMinimize;
  ::SendMessageW(w, WM_CLOSE, 0, 0);
  CHECK(::IsWindowVisible(w));
  next = caHide;
  ::SendMessageW(w, WM_CLOSE, 0, 0);
  CHECK_FALSE(::IsWindowVisible(w));
  CHECK(hides == 1);
  next = caFree;
  ::SendMessageW(w, WM_CLOSE, 0, 0);
  CHECK_FALSE(::IsWindow(w));
  CHECK(f.window.WindowHandle() == nullptr);
}

TEST_CASE("window style: layered tool window; always-on-top and click-through switch live") {
  Fixture f;
  HWND w = f.window.WindowHandle();
  LONG ex = ::GetWindowLongW(w, GWL_EXSTYLE);
  CHECK((ex & WS_EX_LAYERED) != 0);
  CHECK((ex & WS_EX_TOOLWINDOW) != 0);
  CHECK((::GetWindowLongW(w, GWL_STYLE) & WS_POPUP) != 0);

  f.window.SetAlwaysTop(true);
  CHECK((::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
  f.window.SetAlwaysTop(false);
  CHECK((::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0);
  f.window.SetTransparent(true);
  CHECK((::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0);
  f.window.SetTransparent(false);
  CHECK((::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TRANSPARENT) == 0);
}

TEST_CASE("a size change gives a fresh canvas of the new size") {
  Fixture f;
  f.window.SetSize(80, 50);
  CHECK(f.window.Canvas().Width() == 80);
  CHECK(f.window.Canvas().Height() == 50);
  int resized = 0;
  f.window.OnResize = [&](TControl*) { ++resized; };
  f.window.SetSize(90, 50);
  CHECK(resized == 1);
}

