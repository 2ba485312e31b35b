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
    Invalidate();
  };
  brush_.OnChange = [this](TGraphicObject*) { Invalidate(); };
  pen_.OnChange = [this](TGraphicObject*) { Invalidate(); };
}

void TWinControl::CreateWnd() {
  TControl::CreateWnd();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), 1);
}

void TWinControl::Invalidate() {
  if (Live(WindowHandle())) ::InvalidateRect(WindowHandle(), nullptr, TRUE);
}

// --- TWindow -----------------------------------------------------------------

TWindow::TWindow() : TWindow(L"TWindow") {}

TWindow::TWindow(const wchar_t* className) : TTopLevel<TWinControl>(className) {
  SetSize(320, 240);
  Brush().SetColor(SystemColor(COLOR_BTNFACE));
}

void TWindow::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style = WS_OVERLAPPEDWINDOW | (Enabled() ? 0 : WS_DISABLED);
  params.ExStyle = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;
}

void TWindow::OpacityChanged() {
  if (Live(WindowHandle())) SetLayeredAlpha(WindowHandle(), Opacity());
}

bool TWindow::WMPaint(HDC dc) {
  PAINTSTRUCT paint;
  bool began = dc == nullptr;
  if (began) dc = ::BeginPaint(WindowHandle(), &paint);
  if (dc == nullptr) return true;
  Canvas().SetHandle(dc);
  ::SetViewportOrgEx(dc, 0, 0, nullptr);
  ::SetViewportExtEx(dc, Width(), Height(), nullptr);
  Canvas().Brush().Assign(Brush());
  Canvas().Pen().Assign(Pen());
  Canvas().Font().Assign(Font());
  Repaint();
  // The canvas lets go of the DC (and its tools) before the DC is released.
  Canvas().SetHandle(nullptr);
  if (began) ::EndPaint(WindowHandle(), &paint);
  return true;
}

void TWindow::Repaint() {
  HDC dc = Canvas().Handle();
  if (dc == nullptr || !Live(WindowHandle())) return;
  RECT client;
  ::GetClientRect(WindowHandle(), &client);
  ::FillRect(dc, &client, Canvas().Brush().Handle());
}
