#include <doctest.h>

#include <windows.h>

#include "framework/DisplayDpi.h"

TEST_CASE("a window, a point and the system agree on one DPI on a one-scale desktop") {
  const int system = SystemDpi();
  CHECK(system >= 96);
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 10, 10, 50, 50, nullptr, nullptr, nullptr, nullptr);
  REQUIRE(window != nullptr);
  CHECK(WindowDpi(window) == system);
  ::DestroyWindow(window);
  CHECK(DpiAtPoint(POINT{0, 0}) == system);
  // Far off every monitor: the nearest one's.
  CHECK(DpiAtPoint(POINT{-100000, 100000}) == system);
  // No window: the system's, not a crash.
  CHECK(WindowDpi(nullptr) == system);
}

TEST_CASE("small icons grow with the scale: 16 pixels at 100%, 20, 24, 28 and 32 above") {
  CHECK(SmallIconSize(96) == 16);
  CHECK(SmallIconSize(120) == 20);
  CHECK(SmallIconSize(144) == 24);
  CHECK(SmallIconSize(168) == 28);
  CHECK(SmallIconSize(192) == 32);
}
