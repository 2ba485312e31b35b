// A text label of the skin, optionally with a soft drop shadow: the same
// text, rendered once per change into a bitmap of its own, blurred, and
// composited under the sharp text at an offset.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/ControlEx.h"

// Shadow settings; the owner changes the fields directly. Enabled and the
// offsets are read at every paint; Color and BlurPasses are used when the
// shadow is next rendered (change of Data, AutoSize or the font, or window
// creation).
struct TDropShadow {
  bool Enabled = true;
  int OffsetY = 2;
  int OffsetX = 2;
  int BlurPasses = 2;
  std::uint32_t Color = 0xFF000000;
};

class TSkinText : public TControlEx {
 public:
  TSkinText();
  ~TSkinText() override;

  const std::wstring& Data() const { return data_; }
  // Stores the text, then sizes the label to it (with AutoSize) and renders
  // the shadow again.
  void SetData(const std::wstring& value);
  TDropShadow& Shadow() { return shadow_; }
  const TDropShadow& Shadow() const { return shadow_; }
  // Kept for the owner; drawing does not depend on it.
  bool Transparent = true;
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

  // With AutoSize: the label becomes the measured text's extent plus one
  // pixel each way.
  void AdjustSize();
  // The rendered, blurred shadow; null before the first rendering.
  const TBitmapEx* ShadowBitmap() const { return shadowBitmap_.get(); }

  void Paint() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandle() override;
  void WMSetText(const wchar_t* text) override;
  void FontChanged() override;
  void WMSize(int kind, int width, int height) override;

 private:
  void RefreshText();
  void RebuildShadow();

  std::wstring data_;
  TDropShadow shadow_;
  bool autoSize_ = true;
  std::unique_ptr<TBitmapEx> shadowBitmap_;
  // The text or size changed while the shadow was off: what ShadowBitmap
  // holds no longer matches the label.
  bool shadowStale_ = true;
};
