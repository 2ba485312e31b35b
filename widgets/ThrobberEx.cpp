#include "widgets/ThrobberEx.h"

#include "widgets/SkinResource.h"

TThrobberEx::TThrobberEx() : TControlEx(L"TThrobberEx"), bitmap_(LoadSkinImage(StripResource)) {}

TThrobberEx::~TThrobberEx() = default;

void TThrobberEx::NextFrame() {
  SetFrame((frame_ >= 0 && frame_ < FrameCount - 1) ? frame_ + 1 : 0);
}

void TThrobberEx::Paint() {
  TControlEx::Paint();
  if (!bitmap_ || frame_ < 0 || frame_ >= FrameCount) return;
  Canvas().DrawPart(*bitmap_, 0, 0, 0, frame_ * FrameSize, FrameSize, FrameSize);
}
