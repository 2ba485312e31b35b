// Lengths at a display scale. The face's sizes and positions are written
// for 96 DPI; every conversion to a window's DPI goes through TScale, which
// rounds once, half up. A box is scaled by its edges, measured from the
// window's origin, so boxes that meet at 96 DPI meet at every scale: no gap,
// no overlap of a pixel.
#pragma once

inline constexpr int BaseDpi = 96;

struct TBox {
  int Left, Top, Width, Height;
  bool operator==(const TBox& o) const {
    return Left == o.Left && Top == o.Top && Width == o.Width && Height == o.Height;
  }
};

class TScale {
 public:
  constexpr TScale() = default;
  // Nonsense (0, negative, absurdly large) is taken as 96 DPI.
  constexpr explicit TScale(int dpi) : dpi_(dpi >= 24 && dpi <= 96 * 16 ? dpi : BaseDpi) {}

  constexpr int Dpi() const { return dpi_; }
  constexpr bool IsBase() const { return dpi_ == BaseDpi; }
  constexpr double Factor() const { return static_cast<double>(dpi_) / BaseDpi; }

  // A 96-DPI length or coordinate at this scale: n * dpi / 96, half up.
  constexpr int Px(int n) const { return FloorDiv(static_cast<long long>(n) * dpi_ + BaseDpi / 2, BaseDpi); }

  // A box given at 96 DPI relative to a parent whose own 96-DPI position in
  // the window is (originX, originY): its edges are scaled where they lie in
  // the window and the result is again relative to the parent.
  constexpr TBox Box(int originX, int originY, int left, int top, int width, int height) const {
    const int x0 = Px(originX), y0 = Px(originY);
    const int l = Px(originX + left), t = Px(originY + top);
    return {l - x0, t - y0, Px(originX + left + width) - l, Px(originY + top + height) - t};
  }

  // A length measured at this scale back at 96 DPI (for values that are
  // kept, such as a scroll offset carried over a change of scale).
  constexpr int Unscaled(int px) const { return FloorDiv(static_cast<long long>(px) * BaseDpi + dpi_ / 2, dpi_); }

  constexpr bool operator==(const TScale& o) const { return dpi_ == o.dpi_; }
  constexpr bool operator!=(const TScale& o) const { return dpi_ != o.dpi_; }

 private:
  static constexpr int FloorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return static_cast<int>(q);
  }

  int dpi_ = BaseDpi;
};
