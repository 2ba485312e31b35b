// A picture of the skin: one PNG resource of the program, decoded once per
// SetResourceID. Image keeps the decoded pixels untouched; Bitmap is the
// working copy that is painted and that the owner may tint or fade in place.
#pragma once

#include <memory>

#include "framework/ControlEx.h"

class TImageEx : public TControlEx {
 public:
  TImageEx();
  ~TImageEx() override;

  int ResourceID() const { return resourceId_; }
  // Decodes PNG resource Id of the program's own module, even when it is the
  // one already shown (which discards whatever was done to Bitmap). With
  // AutoSize the control takes the image's size. A resource that is missing
  // or does not decode leaves Image and Bitmap null and the size as it was.
  // The picture is the one for the control's scale, and is decoded again
  // when the scale changes (again discarding what was done to Bitmap).
  void SetResourceID(int id);
  const TBitmapEx* Image() const { return image_.get(); }
  // Changes made to it show once the control is next marked (Invalidate).
  TBitmapEx* Bitmap() const { return bitmap_.get(); }
  bool AutoSize() const { return autoSize_; }
  // Switching it on takes the size of the image already loaded.
  void SetAutoSize(bool value);

  void Paint() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void ScaleChanged() override;

 private:
  std::unique_ptr<TBitmapEx> image_;
  std::unique_ptr<TBitmapEx> bitmap_;
  int resourceId_ = 0;
  bool autoSize_ = true;
};
