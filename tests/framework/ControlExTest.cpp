#include <doctest.h>

#include <windows.h>

#include <stdexcept>

#include "LayeredFixture.h"


TEST_CASE("children are composited over the parent in z-order") {
  Fixture f;
  Solid red(0xFFFF0000), blue(0xFF0000FF);
  Place(red, f.window, 0, 0, 30, 20);
  Place(blue, f.window, 20, 10, 30, 20);  // created later: on top
  f.window.Update();
  CHECK(f.Pixel(5, 5) == 0xFFFF0000u);
  CHECK(f.Pixel(25, 15) == 0xFF0000FFu);  // the overlap shows the later child
  CHECK(f.Pixel(55, 35) == 0u);

  SUBCASE("a hidden child is neither painted nor composited") {
    int before = blue.paints;
    blue.Hide();
    f.window.Update();
    CHECK(blue.paints == before);
    CHECK(f.Pixel(25, 15) == 0xFFFF0000u);
    CHECK(f.Pixel(45, 25) == 0u);
  }
  SUBCASE("opacity scales the child's premultiplied pixels") {
    blue.SetOpacity(128);
    f.window.Update();
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
BOOL WINAPI RecordPresent(HWND, const UPDATELAYEREDWINDOWINFO* info) {
  lastBlend = *info->pblend;
  ++presents;
  return TRUE;
}
}  // namespace

TEST_CASE("the window's opacity is the constant alpha handed to the system") {
  Fixture f;
  auto saved = TWindowEx::UpdateLayered;
  TWindowEx::UpdateLayered = &RecordPresent;
  f.window.SetOpacity(137);
  f.window.Update();
  TWindowEx::UpdateLayered = saved;
  REQUIRE(presents > 0);
  CHECK(lastBlend.SourceConstantAlpha == 137);
  CHECK(lastBlend.AlphaFormat == AC_SRC_ALPHA);
  CHECK(lastBlend.BlendOp == AC_SRC_OVER);
}

TEST_CASE("a control paints again only when marked; a move or a sibling's change only recomposes it") {
  Fixture f;
  Solid child(0xFF00FF00), sibling(0xFFFF0000);
  Place(child, f.window, 0, 0, 10, 10);
  Place(sibling, f.window, 40, 0, 10, 10);
  f.window.Update();
  f.window.Update();
  CHECK(child.paints == 1);
  CHECK(f.Pixel(1, 1) == 0xFF00FF00u);  // the kept picture is still composited
  child.Invalidate();
  CHECK(child.Marked());
  CHECK(f.window.Marked());  // the parent holds the child's picture
  f.window.Update();
  CHECK(child.paints == 2);
  CHECK_FALSE(child.Marked());

  sibling.Invalidate();
  f.window.Update();
  CHECK(sibling.paints == 2);
  CHECK(child.paints == 2);
  child.SetLeft(20);
  f.window.Update();
  CHECK(child.paints == 2);
  CHECK(f.Pixel(21, 1) == 0xFF00FF00u);
  CHECK(f.Pixel(1, 1) == 0u);  // moved, not painted again
}

TEST_CASE("a mark reaches the screen without asking, once however many controls are marked") {
  Fixture f;
  Solid a(0xFF00FF00), b(0xFF0000FF);
  Place(a, f.window, 0, 0, 10, 10);
  Place(b, f.window, 30, 20, 10, 10);
  f.window.Update();
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  auto saved = TWindowEx::UpdateLayered;
  TWindowEx::UpdateLayered = &RecordPresent;
  presents = 0;
  a.Invalidate();
  b.Invalidate();
  // The area marked is what the two cover, not the whole window.
  RECT marked = f.window.MarkedArea();
  CHECK(marked.left == 0);
  CHECK(marked.top == 0);
  CHECK(marked.right == 40);
  CHECK(marked.bottom == 30);
  CHECK(presents == 0);  // nothing yet: the window's messages present it
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  TWindowEx::UpdateLayered = saved;
  CHECK(presents == 1);
  CHECK(a.paints == 2);
  CHECK(b.paints == 2);
  CHECK_FALSE(f.window.Marked());
  RECT after = f.window.MarkedArea();
  CHECK(::IsRectEmpty(&after));
}

TEST_CASE("Invalidate from inside a paint does not start a second pass") {
  Fixture f;
  int paints = 0;
  f.window.OnPaint = [&](TControl*) {
    ++paints;
    f.window.Invalidate();
  };
  f.window.Update();
  CHECK(paints == 1);
  CHECK(f.window.Marked());  // the mark made while painting waits for the next pass
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


TEST_CASE("a scale handed to the window reaches every control under it, and their fonts follow") {
  Fixture f;
  Solid outer(0xFFFF0000), inner(0xFF0000FF);
  Place(outer, f.window, 0, 0, 40, 30);
  Place(inner, outer, 5, 5, 20, 10);
  outer.HandleNeeded();
  inner.HandleNeeded();
  inner.Font().SetName(L"Tahoma");
  inner.Font().SetSize(9);
  const SIZE at96 = inner.Canvas().TextExtent(L"Güncelleniyor");
  f.window.Update();
  REQUIRE_FALSE(inner.Marked());

  f.window.SetScale(TScale(144));
  CHECK(outer.Scale().Dpi() == 144);
  CHECK(inner.Scale().Dpi() == 144);
  CHECK(inner.Font().Dpi() == 144);
  // Text is made for the window's DPI, whatever resolution the canvas has.
  const SIZE at144 = inner.Canvas().TextExtent(L"Güncelleniyor");
  CHECK(at144.cy == doctest::Approx(at96.cy * 1.5).epsilon(0.1));
  CHECK(at144.cx == doctest::Approx(at96.cx * 1.5).epsilon(0.1));
  // Whatever shows text must be painted again.
  CHECK(inner.Marked());

  // A control given a parent later takes the parent's scale at once.
  Solid late(0xFF00FF00);
  Place(late, inner, 0, 0, 4, 4);
  CHECK(late.Scale().Dpi() == 144);
  CHECK(late.Font().Dpi() == 144);

  // Back at 96 DPI the text measures as it did.
  f.window.SetScale(TScale(96));
  const SIZE back = inner.Canvas().TextExtent(L"Güncelleniyor");
  CHECK(back.cx == at96.cx);
  CHECK(back.cy == at96.cy);
}
