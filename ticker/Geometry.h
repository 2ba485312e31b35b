// Window geometry of the ticker: snapping to the work area's edges, the
// corner a miniature is anchored to, and the miniature's size at a scale.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

struct TArea {
  int Left, Top, Right, Bottom;
};

inline constexpr int FaceWidth = 475;
inline constexpr int FaceHeight = 350;
inline constexpr int SnapDistance = 7;

// Moves a proposed window position flush to an edge of the work area when
// it comes within `distance` (SnapDistance at 96 DPI) of it. Top wins over
// bottom, left over right.
inline void SnapToEdges(const TArea& work, int width, int height, int& x, int& y, int distance = SnapDistance) {
  auto within = [distance](int d) { return d >= -distance && d <= distance; };
  if (within((work.Bottom - height) - y)) y = work.Bottom - height;
  if (within(y - work.Top)) y = work.Top;
  if (within((work.Right - width) - x)) x = work.Right - width;
  if (within(x - work.Left)) x = work.Left;
}

// 0 top-left, 1 bottom-left, 2 top-right, 3 bottom-right: the quadrant of
// the work area that holds the window's top-left point (measured from the
// work area's own origin, which is not the screen's on a second monitor).
inline int CornerFor(const TArea& work, int left, int top) {
  int halfW = (work.Right - work.Left) / 2, halfH = (work.Bottom - work.Top) / 2;
  bool right = !(left - work.Left < halfW);
  bool bottom = !(top - work.Top <= halfH);
  return (right ? 2 : 0) + (bottom ? 1 : 0);
}

inline long long OverlapArea(const TArea& a, int left, int top, int width, int height) {
  long long w = std::min<long long>(a.Right, static_cast<long long>(left) + width) - std::max(a.Left, left);
  long long h = std::min<long long>(a.Bottom, static_cast<long long>(top) + height) - std::max(a.Top, top);
  return w > 0 && h > 0 ? w * h : 0;
}

// Where a window saved at (left, top) opens: where it was, when at least
// half of it shows on one work area; otherwise (its monitor is gone, the
// resolution shrank) flush in the corner of the nearest work area that is
// closest to where it was, so the user can reach it.
inline void PlaceOnScreen(const std::vector<TArea>& works, int width, int height, int& left, int& top) {
  if (works.empty()) return;
  const long long whole = static_cast<long long>(width) * height;
  for (const TArea& a : works)
    if (2 * OverlapArea(a, left, top, width, height) >= whole) return;
  // Nearest by the distance between the window's centre and the area.
  auto distance = [&](const TArea& a) {
    long long cx = static_cast<long long>(left) + width / 2, cy = static_cast<long long>(top) + height / 2;
    long long dx = cx < a.Left ? a.Left - cx : (cx > a.Right ? cx - a.Right : 0);
    long long dy = cy < a.Top ? a.Top - cy : (cy > a.Bottom ? cy - a.Bottom : 0);
    return dx * dx + dy * dy;
  };
  const TArea* best = &works.front();
  for (const TArea& a : works)
    if (distance(a) < distance(*best)) best = &a;
  const TArea& a = *best;
  long long cx = static_cast<long long>(left) + width / 2, cy = static_cast<long long>(top) + height / 2;
  bool right = 2 * cx > static_cast<long long>(a.Left) + a.Right;
  bool bottom = 2 * cy > static_cast<long long>(a.Top) + a.Bottom;
  left = right ? a.Right - width : a.Left;
  top = bottom ? a.Bottom - height : a.Top;
  // A work area smaller than the window: its top-left corner stays visible.
  if (left < a.Left) left = a.Left;
  if (top < a.Top) top = a.Top;
}

struct TMiniRect {
  int X, Y, W, H;
};

// Where the face is drawn, scaled, inside the full-size window (of the
// face's size at the window's DPI).
inline TMiniRect MiniatureRect(int corner, float scale, int faceWidth = FaceWidth, int faceHeight = FaceHeight) {
  int w = static_cast<int>(std::lrint(faceWidth * static_cast<double>(scale)));
  int h = static_cast<int>(std::lrint(faceHeight * static_cast<double>(scale)));
  int x = (corner == 2 || corner == 3) ? faceWidth - w : 0;
  int y = (corner == 1 || corner == 3) ? faceHeight - h : 0;
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
