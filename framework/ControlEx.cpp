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
}

void TControlEx::WMSize(TMessage& m) {
  TControl::WMSize(m);
  canvas_->Resize(Width(), Height());
}

void TControlEx::Paint() {
  canvas_->Clear();
  if (OnPaint) OnPaint(this);
}

void TControlEx::PaintChildren() {
  HWND child = ::GetWindow(WindowHandle(), GW_CHILD);
  if (child == nullptr) return;
  // Bottom of the z-order first, so the top-most child is composited last.
  for (child = ::GetWindow(child, GW_HWNDLAST); child != nullptr; child = ::GetWindow(child, GW_HWNDPREV)) {
    TControl* control = FromWindow(child);
    if (control != nullptr && control->Visible()) control->Repaint();
  }
}

void TControlEx::Repaint() {
  if (painting_) return;  // a repaint in progress covers nested requests
  struct Guard {
    bool& flag;
    ~Guard() { flag = false; }
  } guard{painting_ = true};
  if (!::IsWindow(WindowHandle())) return;
  if (Redraw) {
    if (!Locked) Paint();
    Redraw = !Cached;
  }
  if (!Locked) PaintChildren();
  Present();
}

void TControlEx::Present() {
  auto* parent = dynamic_cast<TControlEx*>(Parent());
  if (parent == nullptr) throw std::bad_cast();
  parent->Canvas().DrawAlpha(canvas_->Bitmap(), Left(), Top(), Opacity);
}
