// The arithmetic of scrolling the news list in its viewport: where the list
// and the thumb go. Pure functions, so every clamp and rounding is testable.
#pragma once

#include <cmath>

struct TScrollGeometry {
  int ListHeight;
  int ViewportHeight;
  int TrackHeight;
  int ThumbHeight;

  int Travel() const { return TrackHeight - ThumbHeight; }
  // List pixels per thumb pixel.
  float Ratio() const {
    return static_cast<float>(ListHeight - ViewportHeight) / static_cast<float>(Travel());
  }
};

// The list's new Top after scrolling by delta (positive: towards the first
// item), clamped to [viewport - list, 0].
inline int ScrolledTop(int top, int delta, const TScrollGeometry& g) {
  long long next = static_cast<long long>(top) + delta;
  if (next < g.ViewportHeight - g.ListHeight) next = g.ViewportHeight - g.ListHeight;
  if (next > 0) next = 0;
  return static_cast<int>(next);
}

// Thumb Top for a list Top, or -1 when it falls outside the track (the
// thumb then stays where it is).
inline int ThumbTopFor(int listTop, const TScrollGeometry& g) {
  float ratio = g.Ratio();
  if (!(ratio > 0)) return -1;
  long t = std::lrint(-(static_cast<float>(listTop) / ratio));
  return t >= 0 && t <= g.Travel() ? static_cast<int>(t) : -1;
}

// List Top for a thumb dragged to thumbTop (clamped into the track first).
inline int ListTopForThumb(int& thumbTop, const TScrollGeometry& g) {
  if (thumbTop < 0) thumbTop = 0;
  if (thumbTop > g.Travel()) thumbTop = g.Travel();
  long p = std::lrint(static_cast<float>(thumbTop) * g.Ratio());
  long limit = g.ListHeight - g.ViewportHeight;
  return static_cast<int>(-(p < limit ? p : limit));
}

// Wheel notches scroll half their delta, truncated towards zero.
inline int WheelScroll(int wheelDelta) { return wheelDelta / 2; }
