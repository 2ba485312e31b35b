#include "framework/GdiTools.h"
#include "framework/RecordLayouts.h"

#include <cstddef>
#include <utility>

COLORREF ColorToRGB(TColor color) {
  if (color < 0) return ::GetSysColor(static_cast<int>(static_cast<std::uint32_t>(color) & 0xFF));
  return static_cast<COLORREF>(color);
}

void TGraphicObject::Changed() {
  if (OnChange) OnChange(this);
}

// --- pen -------------------------------------------------------------------

// The old object goes only after the listeners (a canvas) have selected the
// new one: a GDI object must not be deleted while a DC holds it.
void TPen::Remake() { SetHandle(::CreatePen(style_, width_, ColorToRGB(color_))); }

void TPen::SetHandle(HPEN value) {
  if (value != nullptr && value == Handle()) return;
  UniqueGdiObject old = std::move(handle_);
  handle_.Reset(value);
  Changed();
}

void TPen::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Remake();
}

void TPen::SetWidth(int value) {
  if (value == width_) return;
  width_ = value;
  Remake();
}

void TPen::SetStyle(int value) {
  if (value == style_) return;
  style_ = value;
  Remake();
}

// --- brush -----------------------------------------------------------------

void TSolidBrush::Remake() {
  COLORREF rgb = ColorToRGB(color_);
  SetHandle(hatched_ ? ::CreateHatchBrush(style_, rgb) : ::CreateSolidBrush(rgb));
}

void TSolidBrush::SetHandle(HBRUSH value) {
  if (value != nullptr && value == Handle()) return;
  UniqueGdiObject old = std::move(handle_);
  handle_.Reset(value);
  Changed();
}

void TSolidBrush::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Remake();
}

void TSolidBrush::SetStyle(int value) {
  if (hatched_ && value == style_) return;
  style_ = value;
  hatched_ = true;
  Remake();
}

void TSolidBrush::Assign(const TGraphicObject& source) {
  auto* other = dynamic_cast<const TSolidBrush*>(&source);
  if (other == nullptr || other == this) return;
  color_ = other->color_;
  style_ = other->style_;
  hatched_ = other->hatched_;
  Remake();
}

// --- font ------------------------------------------------------------------

namespace {

// The system's message font, the base every font starts from.
LOGFONTW MessageFont() {
  NONCLIENTMETRICSW metrics = {};
  // The size without iPaddedBorderWidth, which every Windows version accepts.
  metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return LOGFONTW{};
  return metrics.lfMessageFont;
}

}  // namespace

HFONT TFont::Handle() const {
  if (!handle_) handle_.Reset(MakeFont());
  return static_cast<HFONT>(handle_.Get());
}

HFONT TFont::MakeFont() const {
  LOGFONTW font = MessageFont();
  font.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
  font.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
  font.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
  font.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
  // LF_FACESIZE counts the terminator: longer names are cut.
  size_t n = name_.copy(font.lfFaceName, LF_FACESIZE - 1);
  font.lfFaceName[n] = L'\0';
  font.lfCharSet = TURKISH_CHARSET;
  HDC screen = ::GetDC(nullptr);
  font.lfHeight = -::MulDiv(::GetDeviceCaps(screen, LOGPIXELSY), size_, 72);
  ::ReleaseDC(nullptr, screen);
  return ::CreateFontIndirectW(&font);
}

void TFont::Remake() { SetHandle(MakeFont()); }

void TFont::SetHandle(HFONT value) {
  if (value != nullptr && value == handle_.Get()) return;
  UniqueGdiObject old = std::move(handle_);
  handle_.Reset(value);
  Changed();
}

void TFont::SetSize(int value) {
  if (value == size_) return;
  size_ = value;
  Remake();
}

void TFont::SetName(const std::wstring& value) {
  if (value == name_) return;
  name_ = value;
  Remake();
}

void TFont::SetStyle(unsigned value) {
  if (value == style_) return;
  style_ = value;
  Remake();
}

void TFont::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TFont::Assign(const TGraphicObject& source) {
  auto* other = dynamic_cast<const TFont*>(&source);
  if (other == nullptr || other == this) return;
  size_ = other->size_;
  name_ = other->name_;
  style_ = other->style_;
  color_ = other->color_;
  Remake();
}

// --- canvas ----------------------------------------------------------------

TCanvas::TCanvas() {
  font_.OnChange = [this](TGraphicObject*) {
    if (dc_ != nullptr) {
      Select(font_.Handle(), originalFont_);
      ::SetTextColor(dc_, ColorToRGB(font_.Color()));
    }
    Changed();
  };
  brush_.OnChange = [this](TGraphicObject*) {
    if (dc_ != nullptr) Select(brush_.Handle(), originalBrush_);
    Changed();
  };
  pen_.OnChange = [this](TGraphicObject*) {
    if (dc_ != nullptr) Select(pen_.Handle(), originalPen_);
    Changed();
  };
}

TCanvas::~TCanvas() {
  // The tools are about to be deleted: the DC must not hold them.
  Restore();
  font_.OnChange = nullptr;
  brush_.OnChange = nullptr;
  pen_.OnChange = nullptr;
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::Select(HGDIOBJ object, HGDIOBJ& original) {
  if (object == nullptr) return;
  HGDIOBJ previous = ::SelectObject(dc_, object);
  if (original == nullptr) original = previous;
}

void TCanvas::Restore() {
  if (dc_ == nullptr) return;
  for (HGDIOBJ* original : {&originalFont_, &originalBrush_, &originalPen_}) {
    if (*original != nullptr) ::SelectObject(dc_, *original);
    *original = nullptr;
  }
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  Restore();
  dc_ = dc;
}
