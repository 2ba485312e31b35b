#include "framework/BitmapEx.h"

#include <climits>
#include <cstring>

#include "framework/GdiPlus.h"

using namespace gdip;

std::unique_ptr<TBitmapEx> TBitmapEx::CreateSized(int width, int height, int format) {
  std::unique_ptr<TBitmapEx> bitmap(new TBitmapEx);
  bitmap->format_ = format;
  // A DIB larger than 2 GiB cannot exist in this process; asking for one
  // only makes cairo print a GDI error.
  if (width > 0 && height > 0 && static_cast<long long>(width) * height * 4 <= INT_MAX) {
    cairo_surface_t* surface =
        cairo_win32_surface_create_with_dib(static_cast<cairo_format_t>(format), width, height);
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
      bitmap->surface_.Reset(surface);
      bitmap->image_ = cairo_win32_surface_get_image(surface);
      bitmap->dc_ = cairo_win32_surface_get_dc(surface);
    } else {
      cairo_surface_destroy(surface);
    }
  }
  if (!bitmap->surface_) {
    // The empty bitmap still has a valid (0 x 0) image so that cairo calls on
    // it are harmless no-ops.
    bitmap->surface_.Reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 0, 0));
    bitmap->image_ = bitmap->surface_.Get();
    return bitmap;
  }
  bitmap->width_ = width;
  bitmap->height_ = height;
  bitmap->stride_ = cairo_image_surface_get_stride(bitmap->image_);
  bitmap->data_ = cairo_image_surface_get_data(bitmap->image_);
  return bitmap;
}

std::unique_ptr<TBitmapEx> TBitmapEx::CreateCopy(const TBitmapEx& source) {
  auto copy = CreateSized(source.width_, source.height_, source.format_);
  if (copy->Empty()) return copy;
  UniqueCairoContext cr(cairo_create(copy->image_));
  cairo_set_source_surface(cr.Get(), source.image_, 0, 0);
  cairo_paint(cr.Get());
  return copy;
}

TBitmapEx::~TBitmapEx() = default;

std::uint32_t TBitmapEx::Pixel(int x, int y) const {
  if (!data_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  cairo_surface_flush(image_);
  std::uint32_t value;
  std::memcpy(&value, data_ + y * stride_ + x * 4, 4);
  return value;
}

void TBitmapEx::Blur(int passes) {
  if (!PixelOpsApply() || width_ < 3 || height_ < 3) return;
  cairo_surface_flush(image_);
  for (int pass = 0; pass < passes; ++pass) {
    // In place, on purpose: left and upper neighbours already hold this
    // pass's values, right and lower ones the previous values. The shadow
    // look of skinned text depends on exactly this order.
    for (int y = 1; y < height_ - 1; ++y) {
      std::uint8_t* above = data_ + (y - 1) * stride_;
      std::uint8_t* row = data_ + y * stride_;
      std::uint8_t* below = data_ + (y + 1) * stride_;
      for (int x = 1; x < width_ - 1; ++x) {
        for (int c = 0; c < 4; ++c) {
          int i = x * 4 + c;
          row[i] = static_cast<std::uint8_t>((above[i] + below[i] + row[i - 4] + row[i + 4]) >> 2);
        }
      }
    }
  }
  cairo_surface_mark_dirty(image_);
}

void TBitmapEx::Fade(std::uint8_t alpha) {
  if (!PixelOpsApply()) return;
  cairo_surface_flush(image_);
  for (int y = 0; y < height_; ++y) {
    std::uint8_t* p = data_ + y * stride_;
    for (int i = 0; i < width_ * 4; ++i) p[i] = static_cast<std::uint8_t>((p[i] * alpha) >> 8);
  }
  cairo_surface_mark_dirty(image_);
}

void TBitmapEx::Tint(std::uint32_t color) {
  if (!PixelOpsApply()) return;
  const unsigned blue = color & 0xFF, green = (color >> 8) & 0xFF, red = (color >> 16) & 0xFF;
  cairo_surface_flush(image_);
  for (int y = 0; y < height_; ++y) {
    std::uint8_t* p = data_ + y * stride_;
    for (int x = 0; x < width_; ++x, p += 4) {
      p[0] = static_cast<std::uint8_t>((p[0] * blue) >> 8);
      p[1] = static_cast<std::uint8_t>((p[1] * green) >> 8);
      p[2] = static_cast<std::uint8_t>((p[2] * red) >> 8);
    }
  }
  cairo_surface_mark_dirty(image_);
}

UniqueGdipImage TBitmapEx::AsGdipBitmap() const {
  if (!data_ || format_ != CAIRO_FORMAT_ARGB32) return UniqueGdipImage();
  gdiplus::Startup();
  cairo_surface_flush(image_);
  // Declared premultiplied, as the pixels are: declaring them straight ARGB
  // would make GDI+ multiply by alpha a second time and darken every
  // half-transparent pixel it draws.
  GpBitmap* bitmap = nullptr;
  GdipCreateBitmapFromScan0(width_, height_, stride_, PixelFormat32bppPARGB, data_, &bitmap);
  return UniqueGdipImage(bitmap);
}
