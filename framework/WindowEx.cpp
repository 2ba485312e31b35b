#include "framework/WindowEx.h"

TWindowEx::TWindowEx() : TWindowEx(L"TWindowEx") {}

TWindowEx::TWindowEx(const wchar_t* className) : TControlEx(className) {
  SetSize(320, 240);
  Cached = false;
}

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
  ::SetWindowPos(window, value ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(window);
  ::SetActiveWindow(window);
  Invalidate();
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
  ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

TWindowEx::TUpdateLayered TWindowEx::UpdateLayered = &::UpdateLayeredWindow;

void TWindowEx::Present() {
  HWND window = WindowHandle();
  if (window == nullptr) return;
  POINT destination{Left(), Top()};
  SIZE size{Width(), Height()};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, Opacity, AC_SRC_ALPHA};
  ::GdiFlush();
  // A failure keeps the previous picture on screen; nothing to undo.
  UpdateLayered(window, nullptr, &destination, &size, Canvas().DC(), &source, 0, &blend, ULW_ALPHA);
}

void TWindowEx::Invalidate() {
  if (!Painting()) Repaint();
}

void TWindowEx::WMSize(TMessage& m) {
  TControlEx::WMSize(m);
  if (OnResize) OnResize(this);
}

void TWindowEx::WMShowWindow(TMessage& m) {
  TControlEx::WMShowWindow(m);
  if (m.WParam) {
    if (OnShow) OnShow(this);
  } else if (OnHide) {
    OnHide(this);
  }
}

void TWindowEx::WMDestroy(TMessage&) {
  if (OnDestroy) OnDestroy(this);
}

void TWindowEx::DoClose() {
  TCloseAction action = caFree;
  if (OnClose) OnClose(this, action);
  if (action == caHide)
    SetVisible(false);
  else if (action == caFree)
    ::DestroyWindow(WindowHandle());
}

void TWindowEx::WMActivate(TMessage& m) {
  if (OnActivate) OnActivate(this, LOWORD(m.WParam), reinterpret_cast<HWND>(m.LParam));
}

void TWindowEx::WMMouseActivate(TMessage& m) {
  int result = MA_ACTIVATE;
  if (OnMouseActivate) OnMouseActivate(this, LOWORD(m.LParam), HIWORD(m.LParam), result);
  m.Result = result;
}

void TWindowEx::WMTimer(TMessage& m) {
  if (OnTimer) OnTimer(this, static_cast<int>(m.WParam));
}

void TWindowEx::Dispatch(TMessage& m) {
  // These six get no default processing.
  switch (m.Msg) {
    case WM_CREATE:
      TControl::WMCreate(m);
      if (OnCreate) OnCreate(this);
      AfterCreate();
      break;
    case WM_DESTROY: WMDestroy(m); break;
    case WM_ACTIVATE: WMActivate(m); break;
    case WM_CLOSE: DoClose(); break;
    case WM_MOUSEACTIVATE: WMMouseActivate(m); break;
    case WM_TIMER: WMTimer(m); break;
    default: TControlEx::Dispatch(m); break;
  }
}
