#include "widgets/SkinResource.h"

#include <windows.h>

#include <algorithm>

#include "framework/GdiPlus.h"
#include "framework/GdipHandles.h"
#include "framework/Streams.h"
#include "widgets/PlainSkin.h"

using namespace gdip;

namespace {
constexpr int DrawnDpis[] = {120, 144, 168, 192};
// The dark artwork's numbers: the light one's plus this.
constexpr int DarkOffset = 1000;

TLook look_ = TLook::Light;
TSystemColors colors_;

bool HasResource(int id) {
  return ::FindResourceW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), L"PNG") != nullptr;
}

std::unique_ptr<TBitmapEx> LoadArtwork(int id, const TScale& scale, int frames);
}  // namespace

void SetSkinLook(TLook look, const TSystemColors& colors) {
  look_ = look;
  colors_ = colors;
}

TLook SkinLook() { return look_; }

std::unique_ptr<TBitmapEx> LoadSkinImage(int id) {
  std::unique_ptr<TBitmapEx> image;
  try {
    image = TBitmapEx::CreateFromResource(::GetModuleHandleW(nullptr), id, L"PNG");
  } catch (const EResNotFound&) {
    return nullptr;
  }
  if (!image || image->Empty()) return nullptr;
  return image;
}

int SkinImageId(int id, int dpi) {
  if (dpi == BaseDpi) return id;
  for (int k = 0; k < 4; ++k)
    if (DrawnDpis[k] == dpi) return id + 100 * (k + 1);
  return 0;
}

std::unique_ptr<TBitmapEx> LoadSkinImage(int id, const TScale& scale, int frames) {
  if (id < 5000 + DarkOffset) {
    if (look_ == TLook::HighContrast) {
      std::unique_ptr<TBitmapEx> light;
      if (frames > 1) light = LoadArtwork(id, scale, frames);
      if (auto plain = PlainSkinImage(id, scale, colors_, light.get())) return plain;
    } else if (look_ == TLook::Dark && HasResource(id + DarkOffset)) {
      return LoadArtwork(id + DarkOffset, scale, frames);
    }
  }
  return LoadArtwork(id, scale, frames);
}

namespace {
std::unique_ptr<TBitmapEx> LoadArtwork(int id, const TScale& scale, int frames) {
  if (int drawn = SkinImageId(id, scale.Dpi())) {
    if (auto image = LoadSkinImage(drawn)) return image;
  }
  std::unique_ptr<TBitmapEx> base = LoadSkinImage(id);
  if (!base || scale.IsBase()) return base;
  if (frames < 1 || base->Height() % frames != 0) frames = 1;
  const int width = scale.Px(base->Width()), frameHeight = scale.Px(base->Height() / frames);
  if (width <= 0 || frameHeight <= 0) return base;
  // The nearest set drawn larger; above them all, the largest.
  std::unique_ptr<TBitmapEx> source;
  for (int dpi : DrawnDpis) {
    if (dpi < scale.Dpi() && dpi != DrawnDpis[3]) continue;
    if ((source = LoadSkinImage(SkinImageId(id, dpi)))) break;
  }
  if (!source || source->Height() % frames != 0) source = std::move(base);
  if (frames == 1) return ResampledImage(*source, width, frameHeight);
  // Frames lie top to bottom; each is resampled on its own, so no frame
  // bleeds into the next.
  auto strip = TBitmapEx::CreateSized(width, frameHeight * frames);
  const int sourceFrame = source->Height() / frames;
  if (strip->Empty() || !source->Data()) return nullptr;
  cairo_surface_flush(source->Image());
  for (int f = 0; f < frames; ++f) {
    auto frame = TBitmapEx::CreateSized(source->Width(), sourceFrame);
    if (frame->Empty()) return nullptr;
    for (int y = 0; y < sourceFrame; ++y)
      std::copy_n(source->Data() + (f * sourceFrame + y) * source->Stride(), 4 * source->Width(),
                  frame->Data() + y * frame->Stride());
    frame->MarkDirty();
    auto scaled = ResampledImage(*frame, width, frameHeight);
    if (!scaled) return nullptr;
    cairo_surface_flush(scaled->Image());
    for (int y = 0; y < frameHeight; ++y)
      std::copy_n(scaled->Data() + y * scaled->Stride(), 4 * width, strip->Data() + (f * frameHeight + y) * strip->Stride());
  }
  strip->MarkDirty();
  return strip;
}
}  // namespace

std::unique_ptr<TBitmapEx> ResampledImage(const TBitmapEx& source, int width, int height) {
  auto target = TBitmapEx::CreateSized(width, height);
  UniqueGdipImage image = source.AsGdipBitmap();
  if (target->Empty() || !image) return nullptr;
  GpBitmap* surface = nullptr;
  if (GdipCreateBitmapFromScan0(width, height, target->Stride(), PixelFormat32bppPARGB, target->Data(), &surface) != Ok)
    return nullptr;
  UniqueGdipImage surfaceOwner(surface);
  GpGraphics* g = nullptr;
  if (GdipGetImageGraphicsContext(surface, &g) != Ok) return nullptr;
  UniqueGdipGraphics graphics(g);
  GpImageAttributes* a = nullptr;
  GdipCreateImageAttributes(&a);
  UniqueGdipImageAttributes attributes(a);
  // Mirrored beyond the edges: the filter reads the edge pixels again
  // instead of transparent ones, so an opaque edge stays opaque.
  if (a) GdipSetImageAttributesWrapMode(a, WrapModeTileFlipXY, 0, FALSE);
  GdipSetCompositingMode(g, CompositingModeSourceCopy);
  GdipSetInterpolationMode(g, InterpolationModeHighQualityBicubic);
  GdipSetPixelOffsetMode(g, PixelOffsetModeHalf);
  GdipDrawImageRectRectI(g, image.Get(), 0, 0, width, height, 0, 0, source.Width(), source.Height(), UnitPixel, a,
                         nullptr, nullptr);
  graphics.Reset();
  surfaceOwner.Reset();
  target->MarkDirty();
  return target;
}
