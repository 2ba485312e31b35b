#include "widgets/SkinText.h"

TSkinText::TSkinText() : TControlEx(L"TSkinText") {}

TSkinText::~TSkinText() = default;

void TSkinText::CreateParams(TCreateParams& params) {
  TControlEx::CreateParams(params);
  // A STATIC window: SS_NOTIFY makes it answer hit tests (a plain static is
  // transparent to the mouse, so OnClick of a link label would never fire).
  CreateSubClass(params, L"STATIC");
  params.Style |= SS_NOPREFIX | SS_NOTIFY;
}

void TSkinText::CreateHandle() {
  TControlEx::CreateHandle();
  RefreshText();
}

void TSkinText::WMSetText(const wchar_t* text) {
  TControlEx::WMSetText(text);
  if (autoSize_) AdjustSize();
}

void TSkinText::FontChanged() {
  TControlEx::FontChanged();
  // Another face or size measures differently: a label sized for the old
  // font would clip its text or leave a gap.
  RefreshText();
}

void TSkinText::WMSize(int kind, int width, int height) {
  TControlEx::WMSize(kind, width, height);
  // A shadow rendered at another size is clipped or misplaced.
  if (shadowBitmap_ && (shadowBitmap_->Width() != Width() || shadowBitmap_->Height() != Height()))
    shadowStale_ = true;
}

void TSkinText::SetData(const std::wstring& value) {
  data_ = value;
  RefreshText();
}

void TSkinText::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  RefreshText();
}

void TSkinText::RefreshText() {
  if (autoSize_) AdjustSize();
  RebuildShadow();
  Invalidate();
}

void TSkinText::AdjustSize() {
  SIZE extent = Canvas().TextExtent(data_);
  SetSize(extent.cx + 1, extent.cy + 1);
}

void TSkinText::RebuildShadow() {
  if (!shadow_.Enabled) {
    // The old picture stays (it is not drawn) but no longer matches.
    shadowStale_ = true;
    return;
  }
  shadowBitmap_.reset();
  TCanvasEx scratch(Width(), Height(), 0);
  scratch.SetTextRenderingHint(Canvas().TextRenderingHint());
  scratch.StringFormat().Assign(Canvas().StringFormat());
  scratch.Font().Assign(Canvas().Font());
  scratch.Font().SetColor(shadow_.Color);
  scratch.DrawText(RECT{0, 0, Width(), Height()}, data_);
  shadowBitmap_ = scratch.Bitmap().Clone();
  shadowBitmap_->Blur(shadow_.BlurPasses);
  shadowStale_ = false;
}

void TSkinText::Paint() {
  TControlEx::Paint();
  if (shadow_.Enabled) {
    // Switched on after a change it missed: render it now, once.
    if (shadowStale_) RebuildShadow();
    if (shadowBitmap_) Canvas().Draw(*shadowBitmap_, shadow_.OffsetX, shadow_.OffsetY);
  }
  Canvas().DrawText(RECT{0, 0, Width(), Height()}, data_);
}
