#include "widgets/ThrobberEx.h"

#include "widgets/SkinResource.h"

TThrobberEx::TThrobberEx() : TControlEx(L"TThrobberEx"), bitmap_(LoadSkinImage(StripResource)) {}

TThrobberEx::~TThrobberEx() = default;

void TThrobberEx::ScaleChanged() {
  TControlEx::ScaleChanged();
  bitmap_ = LoadSkinImage(StripResource, Scale(), FrameCount);
}

void TThrobberEx::ReloadImage() {
  bitmap_ = LoadSkinImage(StripResource, Scale(), FrameCount);
  Invalidate();
}

void TThrobberEx::NextFrame() {
  SetFrame((frame_ >= 0 && frame_ < FrameCount - 1) ? frame_ + 1 : 0);
}

void TThrobberEx::Paint() {
  TControlEx::Paint();
  if (!bitmap_ || frame_ < 0 || frame_ >= FrameCount) return;
  const int size = bitmap_->Width();  // square frames, top to bottom
  Canvas().DrawPart(*bitmap_, 0, 0, 0, frame_ * size, size, size);
}
