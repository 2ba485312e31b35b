// What a window hands to the system, recorded in place of the system call,
// and the window's pixels, for the partial-frame tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/WindowEx.h"

// The dirty rectangles handed over while it lives (the whole picture where
// none is given).
struct FrameRecorder {
  static std::vector<RECT>& Handed() {
    static std::vector<RECT> handed;
    return handed;
  }
  static BOOL WINAPI Record(HWND, const UPDATELAYEREDWINDOWINFO* info) {
    Handed().push_back(info->prcDirty ? *info->prcDirty : RECT{0, 0, info->psize->cx, info->psize->cy});
    return info->cbSize == sizeof(UPDATELAYEREDWINDOWINFO);
  }
  TWindowEx::TUpdateLayered saved = TWindowEx::UpdateLayered;
  FrameRecorder() {
    Handed().clear();
    TWindowEx::UpdateLayered = &Record;
  }
  ~FrameRecorder() { TWindowEx::UpdateLayered = saved; }
  FrameRecorder(const FrameRecorder&) = delete;
  FrameRecorder& operator=(const FrameRecorder&) = delete;
};

inline std::string Str(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

inline std::vector<std::uint32_t> Pixels(const TBitmapEx& b) {
  std::vector<std::uint32_t> px;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) px.push_back(b.Pixel(x, y));
  return px;
}

// The first pixel where the window shows other than Expected, or "".
inline std::string Difference(const TBitmapEx& b, const std::vector<std::uint32_t>& expected) {
  const std::vector<std::uint32_t> actual = Pixels(b);
  for (size_t i = 0; i < actual.size(); ++i)
    if (actual[i] != expected[i]) return std::to_string(i % b.Width()) + "," + std::to_string(i / b.Width());
  return "";
}
