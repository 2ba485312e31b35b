// A 32-bit premultiplied ARGB bitmap over a Windows DIB section: cairo
// composites into it through Image, GDI and GDI+ reach the same pixels through
// DC (and UpdateLayeredWindow takes DC as its source).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/CairoHandles.h"
#include "framework/GdipHandles.h"

class TBitmapEx {
 public:
  // A transparent bitmap. Format is a cairo format number; 0 (ARGB32) is the
  // one the program uses. A size that cannot be made (zero, negative, too
  // large for a DIB) gives an empty bitmap: 0 x 0, no Data, no DC, and every
  // drawing operation treats it as nothing to draw.
  static std::unique_ptr<TBitmapEx> CreateSized(int width, int height, int format = 0);
  // An exact copy of Source (format, size and pixels).
  static std::unique_ptr<TBitmapEx> CreateCopy(const TBitmapEx& source);
  // Decodes the image resource ResID of type ResType from Instance at its own
  // size. Throws EResNotFound ("Resource 5000 not found") when there is no
  // such resource; an image that does not decode gives an empty bitmap.
  static std::unique_ptr<TBitmapEx> CreateFromResource(HINSTANCE instance, int resId, const wchar_t* resType);

  ~TBitmapEx();
  TBitmapEx(const TBitmapEx&) = delete;
  TBitmapEx& operator=(const TBitmapEx&) = delete;

  std::unique_ptr<TBitmapEx> Clone() const { return CreateCopy(*this); }

  // Passes of in-place four-neighbour averaging over the interior pixels;
  // the outermost rows and columns stay as they are.
  void Blur(int passes);
  // Every byte of every pixel := byte * Alpha >> 8 (opacity of a
  // premultiplied pixel; 255 turns 255 into 254).
  void Fade(std::uint8_t alpha);
  // Blue, green and red := channel * the colour's channel >> 8; alpha stays.
  void Tint(std::uint32_t color);

  // A GDI+ bitmap over the same pixels (no copy), declared premultiplied.
  // The caller frees it before this bitmap goes.
  UniqueGdipImage AsGdipBitmap() const;

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Format() const { return format_; }
  int Stride() const { return stride_; }
  std::uint8_t* Data() const { return data_; }
  HDC DC() const { return dc_; }
  cairo_surface_t* Surface() const { return surface_.Get(); }
  cairo_surface_t* Image() const { return image_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Whoever writes the pixels without cairo (through DC, Data or GDI+) calls
  // this afterwards: cairo remembers a cleared surface and would otherwise
  // skip the next clear.
  void MarkDirty() const { cairo_surface_mark_dirty(image_); }

  // Reads one pixel as 0xAARRGGBB (premultiplied); 0 outside the bitmap.
  std::uint32_t Pixel(int x, int y) const;

 private:
  TBitmapEx() = default;
  bool PixelOpsApply() const { return data_ && format_ == CAIRO_FORMAT_ARGB32 && !Empty(); }

  UniqueCairoSurface surface_;
  cairo_surface_t* image_ = nullptr;  // owned by surface_
  int format_ = 0;
  int width_ = 0, height_ = 0, stride_ = 0;
  std::uint8_t* data_ = nullptr;
  HDC dc_ = nullptr;
};
