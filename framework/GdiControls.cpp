#include "framework/GdiControls.h"

namespace {

BOOL SetLayeredAlpha(HWND window, BYTE alpha) {
  return ::SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
}

bool Live(HWND window) { return window != nullptr && ::IsWindow(window); }

}  // namespace

// --- TWinControl -------------------------------------------------------------

TWinControl::TWinControl() : TWinControl(L"TWinControl") {}

TWinControl::TWinControl(const wchar_t* className) : TControl(className) {
  font_.OnChange = [this](TGraphicObject*) {
    Perform(WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), 1);
    Refresh();
  };
  brush_.OnChange = [this](TGraphicObject*) { Refresh(); };
  pen_.OnChange = [this](TGraphicObject*) { Refresh(); };
}

void TWinControl::CreateWnd() {
  TControl::CreateWnd();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), 1);
}

void TWinControl::Refresh() {
  if (Live(WindowHandle())) ::InvalidateRect(WindowHandle(), nullptr, TRUE);
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: WMPaint(m); break;
    case WM_NCPAINT: WMNCPaint(m); break;
    case WM_ERASEBKGND: WMEraseBkgnd(m); break;
    default: TControl::Dispatch(m); break;
  }
}

// --- TWindow -----------------------------------------------------------------

TWindow::TWindow() : TWindow(L"TWindow") {}

TWindow::TWindow(const wchar_t* className) : TWinControl(className) {
  SetSize(320, 240);
  Brush().SetColor(SystemColor(COLOR_BTNFACE));
}

void TWindow::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style = WS_OVERLAPPEDWINDOW | (Enabled() ? 0 : WS_DISABLED);
  params.ExStyle = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;
}

void TWindow::Dispatch(TMessage& m) {
  // These get no default processing.
  switch (m.Msg) {
    case WM_CREATE:
      TControl::WMCreate(m);
      AfterCreate();
      break;
    case WM_DESTROY: WMDestroy(m); break;
    case WM_ACTIVATE: WMActivate(m); break;
    case WM_CLOSE: DoClose(); break;
    case WM_MOUSEACTIVATE: WMMouseActivate(m); break;
    case WM_TIMER: WMTimer(m); break;
    default: TWinControl::Dispatch(m); break;
  }
}

void TWindow::AfterCreate() {
  ApplyOpacity();
  if (OnCreate) OnCreate(this);
}

void TWindow::ApplyOpacity() {
  if (Live(WindowHandle())) SetLayeredAlpha(WindowHandle(), opacity_);
}

void TWindow::SetOpacity(BYTE value) {
  if (value == opacity_) return;
  opacity_ = value;
  ApplyOpacity();
}

void TWindow::WMDestroy(TMessage&) {
  if (OnDestroy) OnDestroy(this);
}

void TWindow::DoClose() {
  TCloseAction action = caFree;
  if (OnClose) OnClose(this, action);
  if (action == caHide)
    SetVisible(false);
  else if (action == caFree && Live(WindowHandle()))
    ::DestroyWindow(WindowHandle());
}

void TWindow::WMActivate(TMessage& m) {
  if (OnActivate) OnActivate(this, LOWORD(m.WParam), reinterpret_cast<HWND>(m.LParam));
}

void TWindow::WMMouseActivate(TMessage& m) {
  int result = MA_ACTIVATE;
  if (OnMouseActivate) OnMouseActivate(this, LOWORD(m.LParam), HIWORD(m.LParam), result);
  m.Result = result;
}

void TWindow::WMTimer(TMessage& m) {
  if (OnTimer) OnTimer(this, static_cast<int>(m.WParam));
}

void TWindow::WMPaint(TMessage& m) {
  PAINTSTRUCT paint;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  bool began = dc == nullptr;
  if (began) dc = ::BeginPaint(m.Window, &paint);
  if (dc == nullptr) return;
  Canvas().SetHandle(dc);
  ::SetViewportOrgEx(dc, 0, 0, nullptr);
  ::SetViewportExtEx(dc, Width(), Height(), nullptr);
  Canvas().Brush().Assign(Brush());
  Canvas().Pen().Assign(Pen());
  Canvas().Font().Assign(Font());
  Repaint();
  // The canvas lets go of the DC (and its tools) before the DC is released.
  Canvas().SetHandle(nullptr);
  if (began) ::EndPaint(m.Window, &paint);
}

void TWindow::Repaint() {
  HDC dc = Canvas().Handle();
  if (dc == nullptr || !Live(WindowHandle())) return;
  RECT client;
  ::GetClientRect(WindowHandle(), &client);
  ::FillRect(dc, &client, Canvas().Brush().Handle());
}
