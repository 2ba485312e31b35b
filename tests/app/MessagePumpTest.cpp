#include <doctest.h>

#include <windows.h>

#include "app/ProcessHelpers.h"
#include "framework/WindowProcs.h"

namespace {

int delivered = 0;
LRESULT CALLBACK Count(HWND window, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER + 5) ++delivered;
  return ::DefWindowProcW(window, msg, w, l);
}

}  // namespace

TEST_CASE("the inner message pump dispatches what waits and hands a quit back to the main loop") {
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  REQUIRE(window);
  SetWindowProc(window, &Count);
  delivered = 0;

  ::PostMessageW(window, WM_USER + 5, 0, 0);
  CHECK(ProcessMessages());
  CHECK(delivered == 1);

  // A close handled in here ends with a quit: it must reach the main loop.
  ::PostMessageW(window, WM_USER + 5, 0, 0);
  ::PostQuitMessage(3);
  CHECK_FALSE(ProcessMessages());
  CHECK(delivered == 2);
  MSG msg;
  REQUIRE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  CHECK(msg.message == WM_QUIT);
  CHECK(msg.wParam == 3);
  ::DestroyWindow(window);
}
