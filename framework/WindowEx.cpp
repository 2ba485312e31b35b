#include "framework/WindowEx.h"

#include "framework/LayeredUpdate.h"

TWindowEx::TWindowEx() : TWindowEx(L"TWindowEx") {}

TWindowEx::TWindowEx(const wchar_t* className) : TTopLevel<TControlEx>(className) { SetSize(320, 240); }

void TWindowEx::CreateParams(TCreateParams& params) {
  TControlEx::CreateParams(params);
  // No caption, no border, no taskbar button.
  params.Style = WS_POPUP | WS_CLIPSIBLINGS | (Enabled() ? 0 : WS_DISABLED);
  params.ExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | (alwaysTop_ ? WS_EX_TOPMOST : 0);
}

void TWindowEx::SetAlwaysTop(bool value) {
  if (value == alwaysTop_) return;
  alwaysTop_ = value;
  HWND window = WindowHandle();
  if (window == nullptr || !::IsWindow(window)) return;
  // A changed frame may leave the system a new surface to fill.
  handed_ = false;
  ::SetWindowPos(window, value ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(window);
  ::SetActiveWindow(window);
  Update();
}

void TWindowEx::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  HWND window = WindowHandle();
  if (window == nullptr || !::IsWindow(window)) return;
  DWORD ex = ExStyle();
  if (value && !(ex & WS_EX_TRANSPARENT))
    SetExStyle(ex | WS_EX_TRANSPARENT);
  else if (!value && (ex & WS_EX_TRANSPARENT))
    SetExStyle(ex & ~static_cast<DWORD>(WS_EX_TRANSPARENT));
  handed_ = false;
  ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

TWindowEx::TUpdateLayered TWindowEx::UpdateLayered = &UpdateLayeredDirty;

bool TWindowEx::ScreenHoldsLast(const POINT& at, const SIZE& size) const {
  return handed_ && at.x == handedAt_.x && at.y == handedAt_.y && size.cx == handedSize_.cx &&
         size.cy == handedSize_.cy && Opacity() == handedOpacity_;
}

void TWindowEx::Present() {
  HWND window = WindowHandle();
  if (window == nullptr) return;
  POINT destination{Left(), Top()};
  SIZE size{Width(), Height()};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, Opacity(), AC_SRC_ALPHA};
  RECT dirty{0, 0, size.cx, size.cy};
  if (updating_ && ScreenHoldsLast(destination, size)) {
    const RECT composed = ComposedArea();
    if (!::IntersectRect(&dirty, &composed, &dirty)) return;  // the screen shows this picture already
  }
  ::GdiFlush();
  UPDATELAYEREDWINDOWINFO info{sizeof(UPDATELAYEREDWINDOWINFO), nullptr, &destination, &size, Canvas().DC(), &source, 0,
                               &blend, ULW_ALPHA, &dirty};
  // A failure keeps the previous picture on screen; the next one is handed
  // over whole.
  handed_ = UpdateLayered(window, &info) != FALSE;
  handedAt_ = destination;
  handedSize_ = size;
  handedOpacity_ = Opacity();
}

void TWindowEx::OpacityChanged() {
  // Only the constant alpha changes: the picture is handed over again as it
  // is, also while hidden, so a window shown later shows it at this alpha.
  // Until the canvas has the window's size nothing was composed to show.
  if (WindowHandle() != nullptr && !Painting() && Canvas().Width() == Width() && Canvas().Height() == Height())
    Present();
}

void TWindowEx::Invalidate() {
  TTopLevel<TControlEx>::Invalidate();
  PresentLater(RECT{0, 0, Width(), Height()});
}

void TWindowEx::ChildChanged(const RECT& area) {
  TTopLevel<TControlEx>::ChildChanged(area);
  PresentLater(area);
}

void TWindowEx::WMShowWindow(bool shown) {
  // What the system kept of a hidden window is not relied on.
  if (shown) handed_ = false;
  TTopLevel<TControlEx>::WMShowWindow(shown);
}

void TWindowEx::PresentLater(const RECT& area) {
  RECT both;
  ::UnionRect(&both, &markedArea_, &area);
  markedArea_ = both;
  HWND window = WindowHandle();
  if (presentPosted_ || window == nullptr || !::IsWindow(window)) return;
  // One message however many controls are marked before it arrives.
  presentPosted_ = ::PostMessageW(window, CM_PRESENT, 0, 0) != FALSE;
}

void TWindowEx::Update() {
  if (Painting()) return;
  markedArea_ = RECT{0, 0, 0, 0};
  struct Guard {
    bool& flag;
    ~Guard() { flag = false; }
  } guard{updating_ = true};
  Repaint();
}

bool TWindowEx::WMPrivate(UINT msg) {
  if (msg != CM_PRESENT) return TTopLevel<TControlEx>::WMPrivate(msg);
  presentPosted_ = false;
  if (Marked()) Update();
  return true;
}
