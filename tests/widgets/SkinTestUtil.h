// A live parent window for the skin widget tests, and pixel comparisons.
#pragma once

#include <cstdint>
#include <string>

#include "framework/GdiPlus.h"
#include "framework/WindowEx.h"

struct SkinFixture {
  gdiplus::TGdiPlusSession gdip;
  TWindowEx window;
  SkinFixture() {
    window.SetSize(475, 350);
    window.HandleNeeded();
  }
  // Parents Control to the window at (X, Y) and creates its window.
  void Place(TControlEx& control, int x, int y) {
    control.SetParent(&window);
    control.SetLeft(x);
    control.SetTop(y);
    control.Show();
    control.HandleNeeded();
  }
};

// The first pixel where Actual's region at (AtX, AtY) differs from the whole
// of Expected, as "x,y: actual != expected"; empty when they agree.
inline std::string FirstDifference(const TBitmapEx& actual, int atX, int atY, const TBitmapEx& expected) {
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x) {
      std::uint32_t a = actual.Pixel(atX + x, atY + y), e = expected.Pixel(x, y);
      if (a != e) return std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(a) + " != " + std::to_string(e);
    }
  return std::string();
}

inline bool SameBitmap(const TBitmapEx& a, const TBitmapEx& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && FirstDifference(a, 0, 0, b).empty();
}

inline int OpaqueishPixels(const TBitmapEx& bitmap) {
  int n = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if ((bitmap.Pixel(x, y) >> 24) != 0) ++n;
  return n;
}

// Whether the STATIC window answers hit tests itself (SS_NOTIFY) instead of
// letting the mouse through to its parent.
inline bool TakesClicks(HWND window) {
  RECT r;
  ::GetWindowRect(window, &r);
  LPARAM at = MAKELPARAM(r.left + 1, r.top + 1);
  return ::SendMessageW(window, WM_NCHITTEST, 0, at) == HTCLIENT;
}

inline std::wstring WindowClass(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}
