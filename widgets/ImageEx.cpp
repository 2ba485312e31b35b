#include "widgets/ImageEx.h"

#include "widgets/SkinResource.h"

TImageEx::TImageEx() : TControlEx(L"TImageEx") {}

TImageEx::~TImageEx() = default;

void TImageEx::CreateParams(TCreateParams& params) {
  TControlEx::CreateParams(params);
  // SS_NOTIFY: a plain static lets mouse input through to its parent, and
  // the skin's buttons are images that must see their clicks.
  CreateSubClass(params, L"STATIC");
  params.Style |= SS_NOPREFIX | SS_NOTIFY;
}

void TImageEx::SetResourceID(int id) {
  bitmap_.reset();
  image_.reset();
  resourceId_ = id;
  image_ = LoadSkinImage(id, Scale());
  Invalidate();
  if (!image_) return;
  bitmap_ = image_->Clone();
  if (autoSize_) SetSize(image_->Width(), image_->Height());
}

void TImageEx::ScaleChanged() {
  TControlEx::ScaleChanged();
  if (resourceId_ != 0) SetResourceID(resourceId_);
}

void TImageEx::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  if (autoSize_ && image_) SetSize(image_->Width(), image_->Height());
}

void TImageEx::Paint() {
  TControlEx::Paint();
  if (bitmap_) Canvas().Draw(*bitmap_, 0, 0);
}
