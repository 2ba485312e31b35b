// Small helpers for pixel-exact checks on TBitmapEx.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "framework/BitmapEx.h"

inline void SetPixel(TBitmapEx& bitmap, int x, int y, std::uint32_t argb) {
  std::memcpy(bitmap.Data() + y * bitmap.Stride() + x * 4, &argb, 4);
  bitmap.MarkDirty();
}

// A bitmap whose every pixel is Pattern(x, y).
template <typename Pattern>
std::unique_ptr<TBitmapEx> MakeBitmap(int width, int height, Pattern pattern) {
  auto bitmap = TBitmapEx::CreateSized(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) SetPixel(*bitmap, x, y, pattern(x, y));
  return bitmap;
}

// Opaque, premultiplied-valid and different for every (x, y) below 256 x 256.
inline std::uint32_t Coded(int x, int y) {
  return 0xFF000000u | (static_cast<std::uint32_t>(x) << 16) | (static_cast<std::uint32_t>(y) << 8) | 0x5A;
}

inline bool AllPixels(const TBitmapEx& bitmap, std::uint32_t value) {
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.Pixel(x, y) != value) return false;
  return true;
}
