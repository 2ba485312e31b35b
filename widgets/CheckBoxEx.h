// An option check box of the skin: a state image and its caption beside it.
// It only draws; the owner's OnClick inverts Ticked and acts on it.
#pragma once

#include <memory>

#include "framework/ControlEx.h"

// The two pictures of a check box; each setter frees the one it replaces.
class TStateBitmaps {
 public:
  TBitmapEx* Unticked() const { return unticked_.get(); }
  void SetUnticked(std::unique_ptr<TBitmapEx> bitmap) { unticked_ = std::move(bitmap); }
  TBitmapEx* Ticked() const { return ticked_.get(); }
  void SetTicked(std::unique_ptr<TBitmapEx> bitmap) { ticked_ = std::move(bitmap); }

 private:
  std::unique_ptr<TBitmapEx> unticked_;
  std::unique_ptr<TBitmapEx> ticked_;
};

class TCheckBoxEx : public TControlEx {
 public:
  TCheckBoxEx();
  ~TCheckBoxEx() override;

  bool Ticked() const { return ticked_; }
  void SetTicked(bool value) {
    if (value == ticked_) return;
    ticked_ = value;
    Invalidate();
  }
  TStateBitmaps& StateBitmaps() { return *stateBitmaps_; }

  // The state image at the origin, then Caption in the rest of the box (from
  // the left edge when there is no image).
  void Paint() override;

 private:
  bool ticked_ = false;
  std::unique_ptr<TStateBitmaps> stateBitmaps_;
};
