#include "framework/CanvasEx.h"

#include "framework/GdiPlus.h"

using namespace gdip;

TCanvasEx::TCanvasEx(int width, int height, int format) : width_(width), height_(height), format_(format) {
  BuildSurface();
}

TCanvasEx::~TCanvasEx() { TearDownSurface(); }

void TCanvasEx::BuildSurface() {
  bitmap_ = TBitmapEx::CreateSized(width_, height_, format_);
  context_.Reset(cairo_create(bitmap_->Image()));
  // GDI+ draws through a premultiplied bitmap over the DIB's own pixels
  // rather than through the DIB's DC: on Windows a Graphics on a DC treats a
  // 32-bit DIB as opaque RGB in places (text edges), which would leave
  // opaque fringes in a per-pixel-alpha picture. The DC stays for
  // UpdateLayeredWindow.
  if (bitmap_->Data()) {
    Gdiplus::PixelFormat pixelFormat = format_ == CAIRO_FORMAT_RGB24 ? PixelFormat32bppRGB : PixelFormat32bppPARGB;
    if (format_ == CAIRO_FORMAT_ARGB32 || format_ == CAIRO_FORMAT_RGB24) {
      GpBitmap* view = nullptr;
      GdipCreateBitmapFromScan0(bitmap_->Width(), bitmap_->Height(), bitmap_->Stride(), pixelFormat,
                                bitmap_->Data(), &view);
      gdipView_.Reset(view);
    }
  }
  if (gdipView_) {
    GpGraphics* graphics = nullptr;
    GdipGetImageGraphicsContext(gdipView_.Get(), &graphics);
    graphics_.Reset(graphics);
  }
  if (GpGraphics* g = graphics_.Get()) {
    GdipSetTextRenderingHint(g, static_cast<Gdiplus::TextRenderingHint>(textRenderingHint_));
    GdipSetSmoothingMode(g, static_cast<Gdiplus::SmoothingMode>(smoothingMode_));
    GdipSetInterpolationMode(g, static_cast<Gdiplus::InterpolationMode>(interpolationMode_));
    GdipSetPixelOffsetMode(g, static_cast<Gdiplus::PixelOffsetMode>(pixelOffsetMode_));
    GdipSetTextContrast(g, textContrast_);
  }
  if (GpStringFormat* generic = gdiplus::GenericTypographic()) {
    GpStringFormat* clone = nullptr;
    GdipCloneStringFormat(generic, &clone);
    typographicFormat_.Reset(clone);
    INT flags = 0;
    if (clone && GdipGetStringFormatFlags(clone, &flags) == Ok)
      GdipSetStringFormatFlags(clone, flags | StringFormatFlagsMeasureTrailingSpaces);
  }
}

void TCanvasEx::TearDownSurface() {
  // The engines go before the pixels they draw into.
  typographicFormat_.Reset();
  graphics_.Reset();
  gdipView_.Reset();
  context_.Reset();
  bitmap_.reset();
}

void TCanvasEx::Resize(int width, int height) {
  clipped_ = false;
  TearDownSurface();
  width_ = width;
  height_ = height;
  BuildSurface();
}

void TCanvasEx::SetClip(const RECT& area) {
  const RECT whole{0, 0, width_, height_};
  if (!::IntersectRect(&clip_, &area, &whole)) clip_ = RECT{0, 0, 0, 0};
  clipped_ = true;
  // Both engines draw into the same pixels, so both must hold the clip:
  // cairo composites bitmaps, GDI+ draws text, lines and fills.
  cairo_t* cr = context_.Get();
  cairo_reset_clip(cr);
  cairo_rectangle(cr, clip_.left, clip_.top, clip_.right - clip_.left, clip_.bottom - clip_.top);
  cairo_clip(cr);
  if (graphics_)
    GdipSetClipRectI(graphics_.Get(), clip_.left, clip_.top, clip_.right - clip_.left, clip_.bottom - clip_.top,
                     CombineModeReplace);
}

void TCanvasEx::ResetClip() {
  if (!clipped_) return;
  clipped_ = false;
  cairo_reset_clip(context_.Get());
  if (graphics_) GdipResetClip(graphics_.Get());
}

bool TCanvasEx::BeginGdip() {
  if (!graphics_) return false;
  cairo_surface_flush(bitmap_->Image());
  return true;
}

void TCanvasEx::EndGdip() {
  GdipFlush(graphics_.Get(), FlushIntentionSync);
  cairo_surface_mark_dirty(bitmap_->Image());
}

// --- cairo compositing -------------------------------------------------------

void TCanvasEx::Clear() {
  // One clear is enough: GDI+ draws straight into these pixels and holds no
  // copy of its own, so a second GdipGraphicsClear would only zero them again
  // (and costs more than the whole cairo clear under Wine).
  if (graphics_) GdipFlush(graphics_.Get(), FlushIntentionSync);
  cairo_t* cr = context_.Get();
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr);
  cairo_restore(cr);
}

void TCanvasEx::Draw(const TBitmapEx& bitmap, int x, int y) {
  if (bitmap.Empty()) return;
  cairo_t* cr = context_.Get();
  cairo_set_source_surface(cr, bitmap.Image(), x, y);
  cairo_paint(cr);
}

void TCanvasEx::DrawAlpha(const TBitmapEx& bitmap, int x, int y, int alpha) {
  if (bitmap.Empty()) return;
  cairo_t* cr = context_.Get();
  cairo_set_source_surface(cr, bitmap.Image(), x, y);
  if (alpha == 255)
    cairo_paint(cr);
  else
    cairo_paint_with_alpha(cr, alpha / 255.0);
}

void TCanvasEx::StretchDraw(const TBitmapEx& bitmap, int x, int y, int w, int h) {
  if (w == bitmap.Width() && h == bitmap.Height()) {
    Draw(bitmap, x, y);
    return;
  }
  if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || w <= 0 || h <= 0) return;
  cairo_t* cr = context_.Get();
  cairo_save(cr);
  UniqueCairoPattern pattern(cairo_pattern_create_for_surface(bitmap.Image()));
  cairo_pattern_set_filter(pattern.Get(), CAIRO_FILTER_NEAREST);
  // Single-precision ratios, so that the picked source pixels match the
  // program's scaled miniature frame for frame.
  float sx = static_cast<float>(bitmap.Width()) / static_cast<float>(w);
  float sy = static_cast<float>(bitmap.Height()) / static_cast<float>(h);
  cairo_matrix_t matrix;
  cairo_matrix_init_scale(&matrix, sx, sy);
  cairo_pattern_set_matrix(pattern.Get(), &matrix);
  cairo_translate(cr, x, y);
  cairo_set_source(cr, pattern.Get());
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_clip(cr);
  cairo_paint(cr);
  cairo_restore(cr);
}

void TCanvasEx::DrawPart(const TBitmapEx& bitmap, int x, int y, int srcX, int srcY, int w, int h) {
  if (bitmap.Empty() || w <= 0 || h <= 0) return;
  cairo_t* cr = context_.Get();
  cairo_save(cr);
  cairo_set_source_surface(cr, bitmap.Image(), x - srcX, y - srcY);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);  // consumes the path
  cairo_restore(cr);
}

void TCanvasEx::TileRect(const TBitmapEx& bitmap, int left, int top, int right, int bottom) {
  if (bitmap.Empty() || right <= left || bottom <= top) return;
  cairo_t* cr = context_.Get();
  cairo_save(cr);
  UniqueCairoPattern pattern(cairo_pattern_create_for_surface(bitmap.Image()));
  cairo_pattern_set_extend(pattern.Get(), CAIRO_EXTEND_REPEAT);
  cairo_set_source(cr, pattern.Get());
  cairo_rectangle(cr, left, top, right - left, bottom - top);
  cairo_fill(cr);
  cairo_restore(cr);
}

// --- GDI+ drawing ------------------------------------------------------------

void TCanvasEx::DrawImage(const TBitmapEx& bitmap, int x, int y, int w, int h) {
  UniqueGdipImage image = bitmap.AsGdipBitmap();
  if (!image || !BeginGdip()) return;
  GdipDrawImageRectI(graphics_.Get(), image.Get(), x, y, w, h);
  EndGdip();
}

void TCanvasEx::DrawLine(int x1, int y1, int x2, int y2) {
  if (!pen_.Handle() || !BeginGdip()) return;
  GdipDrawLineI(graphics_.Get(), pen_.Handle(), x1, y1, x2, y2);
  EndGdip();
}

void TCanvasEx::FillRect(const RECT& rect) {
  if (rect.right <= rect.left || rect.bottom <= rect.top || !brush_.Handle() || !BeginGdip()) return;
  GdipFillRectangleI(graphics_.Get(), brush_.Handle(), rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top);
  EndGdip();
}

void TCanvasEx::FrameRect(const RECT& rect) {
  if (rect.right - rect.left < 2 || rect.bottom - rect.top < 2 || !pen_.Handle() || !BeginGdip()) return;
  GdipDrawRectangleI(graphics_.Get(), pen_.Handle(), rect.left, rect.top, rect.right - rect.left - 1,
                     rect.bottom - rect.top - 1);
  EndGdip();
}

void TCanvasEx::DrawText(const RECT& rect, const std::wstring& text) {
  if (text.empty() || !font_.Handle() || !BeginGdip()) return;
  RectF layout(static_cast<REAL>(rect.left), static_cast<REAL>(rect.top),
               static_cast<REAL>(rect.right - rect.left), static_cast<REAL>(rect.bottom - rect.top));
  GdipDrawString(graphics_.Get(), text.c_str(), static_cast<INT>(text.size()), font_.Handle(), &layout,
                 stringFormat_.Handle(), font_.Brush());
  EndGdip();
}

SIZE TCanvasEx::TextExtent(const std::wstring& text) {
  RectF layout(0, 0, 0, 0);
  RectF box(0, 0, 0, 0);
  if (graphics_ && font_.Handle() && !text.empty())
    GdipMeasureString(graphics_.Get(), text.c_str(), static_cast<INT>(text.size()), font_.Handle(), &layout,
                      stringFormat_.Handle(), &box, nullptr, nullptr);
  return SIZE{static_cast<LONG>(box.Width + 1.0f), static_cast<LONG>(box.Height + 1.0f)};
}

namespace {
// The text's box on one line in the typographic format: no padding,
// trailing spaces counted.
RectF TypographicBox(GpGraphics* graphics, GpFont* font, GpStringFormat* format, const std::wstring& text) {
  RectF layout(0, 0, 0, 0);
  RectF box(0, 0, 0, 0);
  if (graphics && font)
    GdipMeasureString(graphics, text.c_str(), static_cast<INT>(text.size()), font, &layout, format, &box, nullptr,
                      nullptr);
  return box;
}
}  // namespace

float TCanvasEx::TextHeight(const std::wstring& text) {
  return TypographicBox(graphics_.Get(), font_.Handle(), typographicFormat_.Get(), text).Height;
}

float TCanvasEx::TypographicWidth(const std::wstring& text) {
  return text.empty() ? 0.0f : TypographicBox(graphics_.Get(), font_.Handle(), typographicFormat_.Get(), text).Width;
}

// --- rendering settings ----------------------------------------------------------

void TCanvasEx::SetAntialias(bool value) {
  if (value == antialias_) return;
  antialias_ = value;
  SetTextRenderingHint(value ? TextRenderingHintAntiAlias : TextRenderingHintAntiAliasGridFit);
}

void TCanvasEx::SetTextRenderingHint(int value) {
  if (value == textRenderingHint_) return;
  textRenderingHint_ = value;
  if (graphics_) GdipSetTextRenderingHint(graphics_.Get(), static_cast<Gdiplus::TextRenderingHint>(value));
}

void TCanvasEx::SetSmoothingMode(int value) {
  if (value == smoothingMode_) return;
  smoothingMode_ = value;
  if (graphics_) GdipSetSmoothingMode(graphics_.Get(), static_cast<Gdiplus::SmoothingMode>(value));
}

void TCanvasEx::SetInterpolationMode(int value) {
  if (value == interpolationMode_) return;
  interpolationMode_ = value;
  if (graphics_) GdipSetInterpolationMode(graphics_.Get(), static_cast<Gdiplus::InterpolationMode>(value));
}

void TCanvasEx::SetPixelOffsetMode(int value) {
  if (value == pixelOffsetMode_) return;
  pixelOffsetMode_ = value;
  if (graphics_) GdipSetPixelOffsetMode(graphics_.Get(), static_cast<Gdiplus::PixelOffsetMode>(value));
}

void TCanvasEx::SetTextContrast(int value) {
  if (value == textContrast_) return;
  textContrast_ = value;
  if (graphics_) GdipSetTextContrast(graphics_.Get(), value);
}
