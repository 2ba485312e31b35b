// The viewport that clips the news list, and the skinned scroll bar beside
// it: a track and a fixed-size thumb.
#pragma once

#include <memory>

#include "framework/ControlEx.h"

// No picture of its own; its canvas clips what its children present.
class TContainerEx : public TControlEx {
 public:
  TContainerEx() : TControlEx(L"TContainerEx") {}
};

// A control that paints one owned bitmap at its origin.
class TBitmapControlEx : public TControlEx {
 public:
  using TControlEx::TControlEx;
  // Takes ownership; the previous bitmap is freed.
  void SetBitmap(std::unique_ptr<TBitmapEx> bitmap) {
    bitmap_ = std::move(bitmap);
    Invalidate();
  }
  TBitmapEx* Bitmap() const { return bitmap_.get(); }
  void Paint() override;

 private:
  std::unique_ptr<TBitmapEx> bitmap_;
};

class TScrollerEx : public TBitmapControlEx {
 public:
  TScrollerEx() : TBitmapControlEx(L"TScrollerEx") {}
};

// Captures the mouse while pressed, so a drag keeps reaching it.
class TThumbEx : public TBitmapControlEx {
 public:
  TThumbEx() : TBitmapControlEx(L"TThumbEx") {}

 protected:
  void WMButtonDown(int button, int keys, int x, int y) override;
  void WMButtonUp(int button, int keys, int x, int y) override;
};
