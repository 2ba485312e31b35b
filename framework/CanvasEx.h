// The off-screen canvas every skinned control paints with. cairo composites
// bitmaps into Bitmap; GDI+ draws text, lines and scaled images into the very
// same premultiplied pixels. Nothing is copied between the two engines.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/BitmapEx.h"
#include "framework/CairoHandles.h"
#include "framework/FontEx.h"
#include "framework/GdipHandles.h"
#include "framework/GraphicsTools.h"

class TCanvasEx : public TGraphicObjectEx {
 public:
  TCanvasEx(int width, int height, int format = 0);
  ~TCanvasEx() override;

  // Every pixel becomes 0x00000000.
  void Clear();
  void Draw(const TBitmapEx& bitmap, int x, int y);
  // As Draw with constant opacity Alpha (255 is a plain Draw).
  void DrawAlpha(const TBitmapEx& bitmap, int x, int y, int alpha);
  // Bitmap scaled to exactly W x H at (X, Y), nearest-neighbour. Equal size is
  // a plain Draw; a non-positive source or target dimension draws nothing.
  void StretchDraw(const TBitmapEx& bitmap, int x, int y, int w, int h);
  // The W x H part of Bitmap at (SrcX, SrcY) lands at (X, Y); nothing outside
  // that rectangle changes.
  void DrawPart(const TBitmapEx& bitmap, int x, int y, int srcX, int srcY, int w, int h);
  // GDI+ scaled draw at InterpolationMode.
  void DrawImage(const TBitmapEx& bitmap, int x, int y, int w, int h);
  // Fills the rectangle with Bitmap repeated; the tiles are anchored at the
  // canvas origin, not at the rectangle's corner.
  void TileRect(const TBitmapEx& bitmap, int left, int top, int right, int bottom);
  void DrawLine(int x1, int y1, int x2, int y2);
  // The rectangle [left, right) x [top, bottom) filled with Brush, blended
  // over what is there.
  void FillRect(const RECT& rect);
  // Pen's outline just inside the rectangle.
  void FrameRect(const RECT& rect);
  void DrawText(const RECT& rect, const std::wstring& text);

  // Measured with Font and StringFormat, unbounded; each side + 1, truncated.
  SIZE TextExtent(const std::wstring& text);
  int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
  // Measured with the typographic format; nothing added.
  float TextHeight(const std::wstring& text);
  // The text's advance on one line with the typographic format: no
  // padding, trailing spaces counted, so widths of pieces add up.
  float TypographicWidth(const std::wstring& text);

  // New bitmap and engines at the new size; the picture is lost (even at
  // the same size), tools and settings stay, the clip does not.
  void Resize(int width, int height);

  // Until ResetClip, drawing of either engine changes only the pixels in
  // Area (clamped to the canvas; an empty area lets nothing through).
  void SetClip(const RECT& area);
  void ResetClip();
  // The pixels drawing may change: the whole canvas when not clipped.
  RECT ClipArea() const { return clipped_ ? clip_ : RECT{0, 0, width_, height_}; }

  TBitmapEx& Bitmap() const { return *bitmap_; }
  Gdiplus::GpGraphics* Graphics() const { return graphics_.Get(); }
  cairo_t* Context() const { return context_.Get(); }
  HDC DC() const { return bitmap_->DC(); }
  TFontEx& Font() { return font_; }
  TStringFormatEx& StringFormat() { return stringFormat_; }
  TSolidBrushEx& Brush() { return brush_; }
  TPenEx& Pen() { return pen_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Rendering settings: stored, and handed to GDI+ only when they change.
  bool Antialias() const { return antialias_; }
  // Also sets TextRenderingHint: 4 (anti-alias) when on, 3 (anti-alias with
  // grid fit) when off.
  void SetAntialias(bool value);
  int TextRenderingHint() const { return textRenderingHint_; }
  void SetTextRenderingHint(int value);
  int SmoothingMode() const { return smoothingMode_; }
  void SetSmoothingMode(int value);
  int InterpolationMode() const { return interpolationMode_; }
  void SetInterpolationMode(int value);
  int PixelOffsetMode() const { return pixelOffsetMode_; }
  void SetPixelOffsetMode(int value);
  int TextContrast() const { return textContrast_; }
  void SetTextContrast(int value);
  // Kept for owners; the canvas gives it no meaning.
  int Warning = 0;

 private:
  void BuildSurface();
  void TearDownSurface();
  // GDI+ and cairo hand the pixels over to each other.
  bool BeginGdip();
  void EndGdip();

  int width_, height_, format_;
  bool antialias_ = true;
  int textRenderingHint_ = 4;  // TextRenderingHintAntiAlias
  int smoothingMode_ = 4;      // SmoothingModeAntiAlias
  int interpolationMode_ = 5;  // InterpolationModeNearestNeighbor
  int pixelOffsetMode_ = 3;    // PixelOffsetModeNone
  int textContrast_ = 4;
  bool clipped_ = false;
  RECT clip_{0, 0, 0, 0};

  std::unique_ptr<TBitmapEx> bitmap_;
  UniqueCairoContext context_;
  UniqueGdipImage gdipView_;  // GDI+ bitmap over bitmap_'s pixels
  UniqueGdipGraphics graphics_;
  UniqueGdipStringFormat typographicFormat_;

  TFontEx font_;
  TStringFormatEx stringFormat_;
  TSolidBrushEx brush_;
  TPenEx pen_;
};
