// Skin images: PNG resources decoded by GDI+ into premultiplied bitmaps.
#include <memory>

#include "framework/BitmapEx.h"
#include "framework/GdiPlus.h"
#include "framework/StreamAdapter.h"
#include "framework/Streams.h"

using namespace gdip;

std::unique_ptr<TBitmapEx> TBitmapEx::CreateFromResource(HINSTANCE instance, int resId, const wchar_t* resType) {
  // Throws EResNotFound before anything else is made.
  auto stream = std::make_unique<TResourceStream>(instance, resId, resType);
  UniqueStreamReference adapter = TStreamAdapter::Create(stream.release(), true);

  gdiplus::Startup();
  UniqueGdipImage decoded;
  {
    GpBitmap* image = nullptr;
    GdipCreateBitmapFromStream(adapter.Get(), &image);
    decoded.Reset(image);
  }
  UINT width = 0, height = 0;
  if (decoded) {
    GdipGetImageWidth(decoded.Get(), &width);
    GdipGetImageHeight(decoded.Get(), &height);
  }
  // An image that does not decode becomes the empty bitmap.
  auto bitmap = CreateSized(static_cast<int>(width), static_cast<int>(height), CAIRO_FORMAT_ARGB32);
  if (!decoded || bitmap->Empty()) return bitmap;

  // Drawn once at its own size onto the transparent bitmap: GDI+ converts
  // the PNG's straight alpha to the premultiplied pixels cairo works with.
  UniqueGdipImage target = bitmap->AsGdipBitmap();
  if (target) {
    GpGraphics* graphics = nullptr;
    GdipGetImageGraphicsContext(target.Get(), &graphics);
    UniqueGdipGraphics owner(graphics);
    if (graphics) {
      GdipDrawImageRectI(graphics, decoded.Get(), 0, 0, static_cast<INT>(width), static_cast<INT>(height));
      GdipFlush(graphics, FlushIntentionSync);
    }
  }
  cairo_surface_mark_dirty(bitmap->Image());
  // The decoder may keep reading the stream until the image is disposed, so
  // the image goes first, then our reference to the adapter (and with it the
  // resource stream).
  decoded.Reset();
  adapter.Reset();
  return bitmap;
}
