#include "framework/GraphicsTools.h"

#include "framework/GdiPlus.h"

using namespace gdip;

TGraphicObjectEx::TGraphicObjectEx() {
  // The first tool made starts GDI+ for the process.
  gdiplus::Startup();
}

void TGraphicObjectEx::Changed() {
  if (OnChange) OnChange(this);
}

void TGraphicObjectEx::Assign(const TGraphicObjectEx&) {}

// --- TSolidBrushEx -----------------------------------------------------------

TSolidBrushEx::TSolidBrushEx(std::uint32_t color) : TBrushEx(SolidKind), color_(color) { CreateHandle(); }

void TSolidBrushEx::CreateHandle() {
  GpSolidFill* fill = nullptr;
  GdipCreateSolidFill(color_, &fill);
  handle_.Reset(fill);
}

void TSolidBrushEx::SetColor(std::uint32_t value) {
  if (value == color_) return;
  color_ = value;
  if (handle_) GdipSetSolidFillColor(static_cast<GpSolidFill*>(handle_.Get()), color_);
  Changed();
}

void TSolidBrushEx::Assign(const TGraphicObjectEx& source) {
  auto* other = dynamic_cast<const TSolidBrushEx*>(&source);
  if (!other) return;
  color_ = other->color_;
  CreateHandle();
  Changed();
}

// --- TPenEx ------------------------------------------------------------------

TPenEx::TPenEx() { CreateHandle(); }

void TPenEx::CreateHandle() {
  GpPen* pen = nullptr;
  GdipCreatePen1(color_, width_, UnitWorld, &pen);
  handle_.Reset(pen);
  if (!pen) return;
  GdipSetPenDashStyle(pen, static_cast<DashStyle>(style_));
  GdipSetPenMode(pen, PenAlignmentInset);
  GdipSetPenLineJoin(pen, LineJoinMiterClipped);
}

void TPenEx::SetColor(std::uint32_t value) {
  if (value == color_) return;
  color_ = value;
  if (handle_) GdipSetPenColor(handle_.Get(), color_);
  Changed();
}

void TPenEx::SetWidth(float value) {
  if (value == width_) return;
  width_ = value;
  if (handle_) GdipSetPenWidth(handle_.Get(), width_);
  Changed();
}

void TPenEx::SetStyle(int value) {
  if (value == style_) return;
  style_ = value;
  if (handle_) GdipSetPenDashStyle(handle_.Get(), static_cast<DashStyle>(style_));
  Changed();
}

void TPenEx::Assign(const TGraphicObjectEx& source) {
  auto* other = dynamic_cast<const TPenEx*>(&source);
  if (!other) return;
  color_ = other->color_;
  width_ = other->width_;
  style_ = other->style_;
  CreateHandle();
  Changed();
}

// --- TStringFormatEx -----------------------------------------------------------

TStringFormatEx::TStringFormatEx() {
  GpStringFormat* format = nullptr;
  GdipCreateStringFormat(0, LANG_NEUTRAL, &format);
  handle_.Reset(format);
  if (!format) return;
  GdipSetStringFormatFlags(format, formatFlags_);
  GdipSetStringFormatAlign(format, static_cast<StringAlignment>(alignment_));
  GdipSetStringFormatLineAlign(format, static_cast<StringAlignment>(lineAlignment_));
  GdipSetStringFormatHotkeyPrefix(format, hotkeyPrefix_);
  GdipSetStringFormatTrimming(format, static_cast<StringTrimming>(trimming_));
}

void TStringFormatEx::SetFormatFlags(int value) {
  if (value == formatFlags_) return;
  formatFlags_ = value;
  if (handle_) GdipSetStringFormatFlags(handle_.Get(), value);
  Changed();
}

void TStringFormatEx::SetAlignment(int value) {
  if (value == alignment_) return;
  alignment_ = value;
  if (handle_) GdipSetStringFormatAlign(handle_.Get(), static_cast<StringAlignment>(value));
  Changed();
}

void TStringFormatEx::SetHotkeyPrefix(int value) {
  if (value == hotkeyPrefix_) return;
  hotkeyPrefix_ = value;
  if (handle_) GdipSetStringFormatHotkeyPrefix(handle_.Get(), value);
  Changed();
}

void TStringFormatEx::SetLineAlignment(int value) {
  if (value == lineAlignment_) return;
  lineAlignment_ = value;
  if (handle_) GdipSetStringFormatLineAlign(handle_.Get(), static_cast<StringAlignment>(value));
  Changed();
}

void TStringFormatEx::SetTrimming(int value) {
  if (value == trimming_) return;
  trimming_ = value;
  if (handle_) GdipSetStringFormatTrimming(handle_.Get(), static_cast<StringTrimming>(value));
  Changed();
}

void TStringFormatEx::Assign(const TGraphicObjectEx& source) {
  auto* other = dynamic_cast<const TStringFormatEx*>(&source);
  if (!other) return;
  SetFormatFlags(other->formatFlags_);
  SetAlignment(other->alignment_);
  SetHotkeyPrefix(other->hotkeyPrefix_);
  SetLineAlignment(other->lineAlignment_);
  SetTrimming(other->trimming_);
}
