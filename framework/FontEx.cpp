#include "framework/FontEx.h"

#include "framework/GdiPlus.h"

using namespace gdip;

// The text brush never carries alpha 255: it is stored as 254. The
// difference cannot be seen, and owners that read the colour back (shadow
// text, tests) rely on the stored value.
std::uint32_t TFontEx::Stored(std::uint32_t color) {
  return (color >> 24) == 0xFF ? (color & 0x00FFFFFF) | 0xFE000000 : color;
}

TFontEx::TFontEx() {
  GpSolidFill* fill = nullptr;
  GdipCreateSolidFill(color_, &fill);
  brush_.Reset(fill);
  CreateHandle();
}

void TFontEx::CreateHandle() {
  handle_.Reset();
  GpFont* font = nullptr;
  UniqueGdipFontFamily family;
  {
    GpFontFamily* found = nullptr;
    if (GdipCreateFontFamilyFromName(name_.c_str(), nullptr, &found) == Ok) family.Reset(found);
  }
  // In pixels: a font in points would follow the resolution GDI+ gives the
  // picture (the screen's), not the DPI of the window it is shown in.
  const REAL em = static_cast<REAL>(size_) * static_cast<REAL>(dpi_) / 72.0f;
  if (family) GdipCreateFont(family.Get(), em, style_, UnitPixel, &font);
  if (!font) {
    if (GpFontFamily* generic = gdiplus::GenericSansSerif()) GdipCreateFont(generic, em, style_, UnitPixel, &font);
  }
  // The font keeps its own reference to the family.
  handle_.Reset(font);
}

void TFontEx::SetName(const std::wstring& value) {
  if (value == name_) return;
  name_ = value;
  CreateHandle();
  Changed();
}

void TFontEx::SetSize(int value) {
  if (value == size_) return;
  size_ = value;
  CreateHandle();
  Changed();
}

void TFontEx::SetDpi(int value) {
  if (value <= 0 || value == dpi_) return;
  dpi_ = value;
  CreateHandle();
  Changed();
}

void TFontEx::SetStyle(int value) {
  if (value == style_) return;
  style_ = value;
  CreateHandle();
  Changed();
}

void TFontEx::SetColor(std::uint32_t value) {
  value = Stored(value);
  if (value == color_) return;
  color_ = value;
  if (brush_) GdipSetSolidFillColor(static_cast<GpSolidFill*>(brush_.Get()), color_);
}

void TFontEx::Assign(const TGraphicObjectEx& source) {
  auto* other = dynamic_cast<const TFontEx*>(&source);
  if (!other) return;
  handle_.Reset();
  color_ = other->color_;
  name_ = other->name_;
  size_ = other->size_;
  dpi_ = other->dpi_;
  style_ = other->style_;
  if (brush_) GdipSetSolidFillColor(static_cast<GpSolidFill*>(brush_.Get()), color_);
  format_.Assign(other->format_);
  CreateHandle();
  Changed();
}
