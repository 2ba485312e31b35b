// Window geometry of the ticker: snapping to the work area's edges, the
// corner a miniature is anchored to, and the miniature's size at a scale.
#pragma once

#include <cmath>

struct TArea {
  int Left, Top, Right, Bottom;
};

inline constexpr int FaceWidth = 475;
inline constexpr int FaceHeight = 350;
inline constexpr int SnapDistance = 7;

// Moves a proposed window position flush to an edge of the work area when
// it comes within SnapDistance of it. Top wins over bottom, left over right.
inline void SnapToEdges(const TArea& work, int width, int height, int& x, int& y) {
  auto within = [](int d) { return d >= -SnapDistance && d <= SnapDistance; };
  if (within((work.Bottom - height) - y)) y = work.Bottom - height;
  if (within(y - work.Top)) y = work.Top;
  if (within((work.Right - width) - x)) x = work.Right - width;
  if (within(x - work.Left)) x = work.Left;
}

// 0 top-left, 1 bottom-left, 2 top-right, 3 bottom-right: the quadrant of
// the work area that holds the window's top-left point.
inline int CornerFor(const TArea& work, int left, int top) {
  int halfW = (work.Right - work.Left) / 2, halfH = (work.Bottom - work.Top) / 2;
  bool right = !(left < halfW);
  bool bottom = !(top <= halfH);
  return (right ? 2 : 0) + (bottom ? 1 : 0);
}

struct TMiniRect {
  int X, Y, W, H;
};

// Where the face is drawn, scaled, inside the full-size window.
inline TMiniRect MiniatureRect(int corner, float scale) {
  int w = static_cast<int>(std::lrint(FaceWidth * static_cast<double>(scale)));
  int h = static_cast<int>(std::lrint(FaceHeight * static_cast<double>(scale)));
  int x = (corner == 2 || corner == 3) ? FaceWidth - w : 0;
  int y = (corner == 1 || corner == 3) ? FaceHeight - h : 0;
  return {x, y, w, h};
}

// One animation step of the auto-size: the sum is taken wider than float and
// stored back as float. Returns false when the step would pass the bound.
inline bool GrowStep(float& scale, float step, float maxScale) {
  if (!(static_cast<long double>(scale) + step <= maxScale)) return false;
  scale = static_cast<float>(static_cast<long double>(scale) + step);
  return true;
}

inline bool ShrinkStep(float& scale, float step, float minScale) {
  if (!(static_cast<long double>(scale) - step >= minScale)) return false;
  scale = static_cast<float>(static_cast<long double>(scale) - step);
  return true;
}
