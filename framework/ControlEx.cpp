#include "framework/ControlEx.h"

#include <typeinfo>

TControlEx::TControlEx() : TControlEx(L"TControlEx") {}

TControlEx::TControlEx(const wchar_t* className)
    : TControl(className), canvas_(std::make_unique<TCanvasEx>(1, 1, 0)) {
  canvas_->Font().OnChange = [this](TGraphicObjectEx*) { Perform(CM_FONTCHANGED, 0, 0); };
}

TControlEx::~TControlEx() { canvas_->Font().OnChange = nullptr; }

void TControlEx::CreateHandle() {
  TControl::CreateHandle();
  canvas_->Resize(Width(), Height());
  Invalidate();
}

void TControlEx::SetParent(TControl* parent) {
  TControl::SetParent(parent);
  if (auto* holder = dynamic_cast<TControlEx*>(parent)) SetScale(holder->Scale());
}

void TControlEx::SetScale(const TScale& scale) {
  if (scale != scale_) {
    scale_ = scale;
    ScaleChanged();
  }
  HWND window = WindowHandle();
  if (window == nullptr) return;
  for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    if (auto* control = dynamic_cast<TControlEx*>(FromWindow(child))) control->SetScale(scale);
}

void TControlEx::ScaleChanged() {
  canvas_->Font().SetDpi(scale_.Dpi());
  Invalidate();
}

RECT TControlEx::AreaInWindow() const {
  RECT r{0, 0, Width(), Height()};
  HWND window = WindowHandle();
  if (window == nullptr) return r;
  HWND top = ::GetAncestor(window, GA_ROOT);
  ::MapWindowPoints(window, top, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void TControlEx::Invalidate() {
  marked_ = true;
  TellParent(AreaInWindow());
}

void TControlEx::ChildChanged(const RECT& area) {
  marked_ = true;
  TellParent(area);
}

void TControlEx::TellParent(const RECT& area) {
  if (auto* parent = dynamic_cast<TControlEx*>(Parent()))
    parent->ChildChanged(area);
  else if (Parent() != nullptr)
    Parent()->Invalidate();
}

void TControlEx::PlacementChanged() {
  // The parent's whole picture: it covers where the control was and is.
  if (auto* parent = dynamic_cast<TControlEx*>(Parent())) parent->Invalidate();
}

void TControlEx::WMSize(int kind, int width, int height) {
  TControl::WMSize(kind, width, height);
  // A resized canvas starts empty.
  canvas_->Resize(Width(), Height());
  Invalidate();
}

void TControlEx::WMMove(int x, int y) {
  TControl::WMMove(x, y);
  PlacementChanged();
}

void TControlEx::WMShowWindow(bool shown) {
  TControl::WMShowWindow(shown);
  PlacementChanged();
}

void TControlEx::SetFocusShown(bool shown) {
  if (shown == focusShown_) return;
  focusShown_ = shown;
  Invalidate();
}

void TControlEx::PaintFocus() {
  TPenEx& pen = canvas_->Pen();
  const std::uint32_t color = pen.Color();
  const int style = pen.Style();
  pen.SetColor(0xC0202020);
  pen.SetStyle(2);  // DashStyleDot
  canvas_->FrameRect(RECT{0, 0, Width(), Height()});
  pen.SetStyle(style);
  pen.SetColor(color);
}

void TControlEx::OpacityChanged() { PlacementChanged(); }
void TControlEx::CaptionChanged() { Invalidate(); }

void TControlEx::Paint() {
  canvas_->Clear();
  if (OnPaint) OnPaint(this);
}

void TControlEx::ComposeChildren() {
  HWND child = ::GetWindow(WindowHandle(), GW_CHILD);
  if (child == nullptr) return;
  // Bottom of the z-order first, so the top-most child is composited last.
  for (child = ::GetWindow(child, GW_HWNDLAST); child != nullptr; child = ::GetWindow(child, GW_HWNDPREV)) {
    TControl* control = FromWindow(child);
    if (control != nullptr && control->Visible()) control->Repaint();
  }
}

void TControlEx::Repaint() {
  if (painting_) return;  // a composition in progress covers nested requests
  struct Guard {
    bool& flag;
    ~Guard() { flag = false; }
  } guard{painting_ = true};
  if (!::IsWindow(WindowHandle())) return;
  Freshen();
  if (marked_) {
    // Cleared first: whatever marks the picture while it is painted is
    // painted at the next presentation, not lost.
    marked_ = false;
    try {
      Paint();
      // The canvas was painted over: every child's picture goes back on it.
      ComposeChildren();
      if (focusShown_) PaintFocus();
    } catch (...) {
      // Half a picture is no picture: the next presentation tries again.
      marked_ = true;
      throw;
    }
  }
  Present();
}

void TControlEx::Present() {
  auto* parent = dynamic_cast<TControlEx*>(Parent());
  if (parent == nullptr) throw std::bad_cast();
  parent->Canvas().DrawAlpha(canvas_->Bitmap(), Left(), Top(), Opacity());
}
