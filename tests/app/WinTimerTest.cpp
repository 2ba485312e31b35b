#include <doctest.h>

#include <windows.h>

#include "app/WinTimer.h"

namespace {

constexpr UINT_PTR Id = 1003;

struct Window {
  Window() { handle = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }
  ~Window() {
    if (handle) ::DestroyWindow(handle);
  }
  HWND handle = nullptr;
};

// Milliseconds from now until the timer's next WM_TIMER, or -1.
long WaitForTick(HWND window, DWORD limitMs = 5000) {
  DWORD start = ::GetTickCount();
  MSG msg;
  while (::GetTickCount() - start < limitMs) {
    if (::PeekMessageW(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE) && msg.wParam == Id)
      return static_cast<long>(::GetTickCount() - start);
    ::Sleep(2);
  }
  return -1;
}

void Pump(HWND window, DWORD ms) {
  DWORD start = ::GetTickCount();
  MSG msg;
  while (::GetTickCount() - start < ms) {
    while (::PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
    }
    ::Sleep(2);
  }
}

}  // namespace

TEST_CASE("a timer needs its window") {
  TWinTimer early(nullptr, 50, Id);
  early.SetEnabled(true);
  CHECK_FALSE(early.Active());

  Window window;
  REQUIRE(window.handle);
  TWinTimer timer(window.handle, 50, Id);
  CHECK_FALSE(timer.Active());  // not running after construction
  timer.SetEnabled(true);
  CHECK(timer.Active());
  CHECK(WaitForTick(window.handle) >= 0);

  // Once the window is gone, Stop cannot act and the timer stays marked.
  ::DestroyWindow(window.handle);
  window.handle = nullptr;
  timer.SetEnabled(false);
  CHECK(timer.Active());
}

TEST_CASE("Enabled := current value keeps the phase; a restart begins a full period") {
  Window window;
  REQUIRE(window.handle);
  TWinTimer timer(window.handle, 600, Id);
  timer.SetEnabled(true);
  Pump(window.handle, 350);

  SUBCASE("same value: the tick comes on the old schedule") {
    timer.SetEnabled(true);
    long next = WaitForTick(window.handle);
    REQUIRE(next >= 0);
    CHECK(next < 500);  // ~250 ms left of the first period, not a new 600
  }
  SUBCASE("false then true: a new full period") {
    timer.SetEnabled(false);
    CHECK_FALSE(timer.Active());
    timer.SetEnabled(true);
    long next = WaitForTick(window.handle);
    REQUIRE(next >= 0);
    CHECK(next >= 450);
  }
}
