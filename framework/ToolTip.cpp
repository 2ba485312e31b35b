#include "framework/ToolTip.h"

TToolTip::TToolTip() : TWinControl(L"TToolTip") {}

TToolTip::~TToolTip() {
  // The base class destroys the window without dispatching WM_DESTROY here.
  ForgetApplicationToolTip();
}

void TToolTip::ForgetApplicationToolTip() {
  // Controls must not register with a window that is gone.
  if (WindowHandle() != nullptr && ApplicationToolTip == WindowHandle()) ApplicationToolTip = nullptr;
}

void TToolTip::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  CreateSubClass(params, TOOLTIPS_CLASSW);
  params.ExStyle = WS_EX_TOPMOST;
  params.Style = WS_POPUP | TTS_NOFADE | TTS_NOPREFIX | TTS_ALWAYSTIP;
}

LRESULT TToolTip::Query(UINT message, WPARAM wParam) const {
  HWND window = WindowHandle();
  if (window == nullptr || !::IsWindow(window)) return 0;
  return ::SendMessageW(window, message, wParam, 0);
}

COLORREF TToolTip::BackColor() const { return static_cast<COLORREF>(Query(TTM_GETTIPBKCOLOR, 0)); }
void TToolTip::SetBackColor(COLORREF value) { Query(TTM_SETTIPBKCOLOR, value); }
COLORREF TToolTip::TextColor() const { return static_cast<COLORREF>(Query(TTM_GETTIPTEXTCOLOR, 0)); }
void TToolTip::SetTextColor(COLORREF value) { Query(TTM_SETTIPTEXTCOLOR, value); }

bool TToolTip::WMNotify(NMHDR& header) {
  if (header.code != TTN_GETDISPINFOW) return TWinControl::WMNotify(header);
  if (EnableTip) GetDispInfo(reinterpret_cast<NMTTDISPINFOW&>(header));
  return true;
}

void TToolTip::WMDestroy() {
  ForgetApplicationToolTip();
  TWinControl::WMDestroy();
}

void TToolTip::GetDispInfo(NMTTDISPINFOW& info) {
  auto tool = reinterpret_cast<HWND>(info.hdr.idFrom);
  if (tool == nullptr || !::IsWindow(tool)) return;
  ::SendMessageW(WindowHandle(), TTM_SETMAXTIPWIDTH, 0, MaxTipWidth);
  TControl* control = FromWindow(tool);
  if (control == nullptr || !control->ShowHint() || control->Hint().empty()) return;
  // The control's own stored text: it stays valid after we return, however
  // long it is (szText holds only 80 characters).
  info.lpszText = const_cast<wchar_t*>(control->Hint().c_str());
}
