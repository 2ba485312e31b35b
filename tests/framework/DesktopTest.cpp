#include <doctest.h>

#include <windows.h>

#include "framework/Desktop.h"

TEST_CASE("the desktop holds the screen DC and reports the work area") {
  TDesktop desktop;
  CHECK(desktop.Name() == L"ManagerDesktop");
  REQUIRE(desktop.DC() != nullptr);
  CHECK(::GetDeviceCaps(desktop.DC(), HORZRES) == ::GetSystemMetrics(SM_CXSCREEN));

  RECT area{-1, -1, -1, -1};
  CHECK(desktop.GetWorkArea(area));
  RECT expected;
  REQUIRE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &expected, 0));
  CHECK(::EqualRect(&area, &expected));
  RECT copy = desktop.WorkArea();
  CHECK(::EqualRect(&copy, &expected));
  // Inside the primary screen and not empty.
  CHECK(area.left >= 0);
  CHECK(area.top >= 0);
  CHECK(area.right <= ::GetSystemMetrics(SM_CXSCREEN));
  CHECK(area.bottom <= ::GetSystemMetrics(SM_CYSCREEN));
  CHECK(area.right > area.left);
  CHECK(area.bottom > area.top);
}
