// Handlers that throw, in an executable of their own: the click needs the
// real cursor over the control, which would disturb the mouse tests, and it
// is parked in the screen's far corner afterwards.
#include <doctest.h>

#include <windows.h>

#include <stdexcept>

#include "LayeredFixture.h"

namespace {
// A child whose paint can be made to fail.
class Fragile : public Solid {
 public:
  using Solid::Solid;
  bool fail = false;
  void Paint() override {
    if (fail) throw std::runtime_error("paint failed");
    Solid::Paint();
  }
};
}  // namespace

TEST_CASE("a handler that throws costs its own message only") {
  Fixture f;
  Fragile child(0xFF00FF00);
  Place(child, f.window, 0, 0, 10, 10);
  // Repaints come from a timer, as the ticker's do: through the window
  // procedure, where no exception may pass the system's frames.
  f.window.OnTimer = [&f](TControl*, int) { f.window.Update(); };
  child.fail = true;
  ::SendMessageW(f.window.WindowHandle(), WM_TIMER, 7, 0);
  CHECK(::IsWindow(f.window.WindowHandle()));
  child.fail = false;
  ::SendMessageW(f.window.WindowHandle(), WM_TIMER, 7, 0);
  CHECK(f.Pixel(5, 5) == 0xFF00FF00u);  // the next paint works

  int clicks = 0;
  child.OnClick = [&clicks](TControl*, int, int, int) {
    ++clicks;
    throw std::runtime_error("click failed");
  };
  HWND w = child.WindowHandle();
  RECT r;
  ::GetWindowRect(w, &r);
  ::SetCursorPos(r.left + 2, r.top + 2);  // a click is a release over the control
  ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  ::SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  CHECK(clicks == 1);
  ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  ::SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  CHECK(clicks == 2);  // and the control still takes clicks
  // Out of the way of any later test's windows on this display.
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}
