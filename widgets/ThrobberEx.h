// The busy indicator: a vertical strip of square frames, one shown at a
// time; the owner steps it from its animation timer.
#pragma once

#include <memory>

#include "framework/ControlEx.h"

class TThrobberEx : public TControlEx {
 public:
  static constexpr int FrameSize = 18;   // pixels at 96 DPI, each side
  static constexpr int FrameCount = 18;  // frames in the strip
  static constexpr int StripResource = 5003;

  // Loads the frame strip; frame 0.
  TThrobberEx();
  ~TThrobberEx() override;

  int Frame() const { return frame_; }
  // Any value is kept; one outside the strip paints nothing.
  void SetFrame(int value) {
    if (value == frame_) return;
    frame_ = value;
    Invalidate();
  }
  // 0, 1, ..., 17, 0, ...; a frame outside the strip starts again at 0.
  void NextFrame();
  // The frame strip; null when the resource could not be loaded.
  const TBitmapEx* Bitmap() const { return bitmap_.get(); }
  // The strip loaded again, in the skin's look now (SkinResource.h).
  void ReloadImage();

  void Paint() override;

 protected:
  // The strip drawn for the new scale.
  void ScaleChanged() override;

 private:
  std::unique_ptr<TBitmapEx> bitmap_;
  int frame_ = 0;
};
