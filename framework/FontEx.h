// The canvas font: a GDI+ font plus the brush text is painted with.
#pragma once

#include <cstdint>
#include <string>

#include "framework/GraphicsTools.h"

class TFontEx : public TGraphicObjectEx {
 public:
  TFontEx();

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& value);
  // Points.
  int Size() const { return size_; }
  void SetSize(int value);
  // The DPI the font is made for: its em is Size points at this many
  // pixels per inch, whatever the resolution of the picture it is drawn on.
  int Dpi() const { return dpi_; }
  void SetDpi(int value);
  // GDI+ FontStyle bits: 1 bold, 2 italic, 4 underline, 8 strikeout.
  int Style() const { return style_; }
  void SetStyle(int value);
  // A colour with alpha 255 is kept as alpha 254. Recolouring only touches
  // the brush; it sends no change notification (the size of text does not
  // depend on it).
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t value);

  // The brush DrawText paints with; it always carries Color.
  Gdiplus::GpBrush* Brush() const { return brush_.Get(); }
  TStringFormatEx& Format() { return format_; }
  const TStringFormatEx& Format() const { return format_; }
  // The GDI+ font. When Name is not installed (or cannot make a font) it is
  // made from the generic sans-serif family instead.
  Gdiplus::GpFont* Handle() const { return handle_.Get(); }

  void Assign(const TGraphicObjectEx& source) override;

 private:
  static std::uint32_t Stored(std::uint32_t color);
  void CreateHandle();

  std::wstring name_ = L"Arial";
  int size_ = 10;
  int dpi_ = 96;
  int style_ = 0;
  std::uint32_t color_ = 0xFE000000;
  UniqueGdipBrush brush_;
  TStringFormatEx format_;
  UniqueGdipFont handle_;
};
