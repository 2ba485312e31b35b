#include "framework/TrayIcon.h"

#include <cstddef>
#include <utility>

namespace {

// Copies text into a fixed field of the record, cut to the field (its last
// unit is the terminator) without splitting a surrogate pair.
template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::wstring& text) {
  std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
  if (n < text.size() && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
  text.copy(field, n);
  field[n] = L'\0';
}

int ShellKeys() {
  int keys = 0;
  if (::GetKeyState(VK_SHIFT) & 0x8000) keys |= MK_SHIFT;
  if (::GetKeyState(VK_CONTROL) & 0x8000) keys |= MK_CONTROL;
  return keys;
}

}  // namespace

TTrayIcon::TTrayIcon() : TWindow(L"TTrayIcon"), data_{} {
  data_.cbSize = TrayRecordSize;
  data_.uFlags = NIF_MESSAGE | NIF_ICON;
  data_.uCallbackMessage = WM_TRAYNOTIFY;
  data_.uTimeout = 3000;
  ShellNotify = [](DWORD message, NOTIFYICONDATAW* data) { return ::Shell_NotifyIconW(message, data); };
}

TTrayIcon::~TTrayIcon() {
  // The base class destroys a live window without dispatching WM_DESTROY to
  // us: the icon must not outlive its host window.
  if (Live()) RemoveIcon();
}

void TTrayIcon::CreateParams(TCreateParams& params) {
  TWindow::CreateParams(params);
  // Hidden, no caption, no taskbar button.
  params.Style = WS_POPUP;
  params.ExStyle = WS_EX_TOOLWINDOW;
}

bool TTrayIcon::Live() const { return data_.hWnd != nullptr && ::IsWindow(data_.hWnd); }

bool TTrayIcon::Notify(DWORD message) {
  // An icon added without its host window could never be removed again.
  if (!Live() || !ShellNotify) return false;
  return ShellNotify(message, &data_) != FALSE;
}

void TTrayIcon::UpdateIcon() {
  if (visibleTray_) Notify(NIM_MODIFY);
}

UINT TTrayIcon::TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

void TTrayIcon::AfterCreate() {
  // An elevated copy would otherwise never hear from a new Explorer.
  if (TaskbarCreatedMessage() != 0)
    ::ChangeWindowMessageFilterEx(WindowHandle(), TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
  data_.hWnd = WindowHandle();
  data_.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(WindowHandle()));
  // Asked for before the window existed: the icon could not be added then.
  if (visibleTray_) Notify(NIM_ADD);
}

void TTrayIcon::SetHintText(const std::wstring& value) {
  if (value == hintText_) return;
  hintText_ = value;
  CopyField(data_.szTip, value);
  if (value.empty())
    data_.uFlags &= ~static_cast<UINT>(NIF_TIP);
  else
    data_.uFlags |= NIF_TIP;
  UpdateIcon();
}

void TTrayIcon::SetBalloonHint(const std::wstring& value) {
  if (value == balloonHint_) return;
  balloonHint_ = value;
  CopyField(data_.szInfo, value);
  Notify(NIM_MODIFY);
}

void TTrayIcon::SetBalloonTitle(const std::wstring& value) {
  if (value == balloonTitle_) return;
  balloonTitle_ = value;
  CopyField(data_.szInfoTitle, value);
  Notify(NIM_MODIFY);
}

void TTrayIcon::SetIcon(UniqueIcon value) {
  // Destroying the icon we are handed again would leave the shell a dead one.
  if (value.Get() == icon_) {
    if (value.Get() == ownIcon_.Get())
      (void)value.Release();  // ours already
    else
      ownIcon_ = std::move(value);  // borrowed so far, ours from now on
    return;
  }
  ownIcon_ = std::move(value);
  icon_ = ownIcon_.Get();
  data_.hIcon = icon_;
  UpdateIcon();
}

void TTrayIcon::SetIcon(SharedIcon value) {
  if (value.Get() == icon_) return;
  ownIcon_.Reset();
  icon_ = value.Get();
  data_.hIcon = icon_;
  UpdateIcon();
}

void TTrayIcon::SetVisibleTray(bool value) {
  if (value == visibleTray_) return;
  visibleTray_ = value;
  Notify(value ? NIM_ADD : NIM_DELETE);
}

void TTrayIcon::ShowBalloon() {
  data_.uFlags |= NIF_INFO;
  data_.dwInfoFlags = static_cast<DWORD>(BalloonFlags);
  Notify(NIM_MODIFY);
  // Once: a later change of the tip must not show the balloon again.
  data_.uFlags &= ~NIF_INFO;
}

void TTrayIcon::RemoveIcon() {
  Notify(NIM_DELETE);
  visibleTray_ = false;
}

void TTrayIcon::WMEndSession(bool ending) {
  TWindow::WMEndSession(ending);
  if (ending) RemoveIcon();
}

bool TTrayIcon::WMPrivate(UINT msg) {
  if (msg == 0 || msg != TaskbarCreatedMessage()) return TWindow::WMPrivate(msg);
  // Explorer started again (after a crash or a restart) with an empty
  // notification area: the icon goes back, tip and all.
  if (visibleTray_) Notify(NIM_ADD);
  return true;
}

void TTrayIcon::WMDestroy() {
  RemoveIcon();
  // A later window may get the same handle value: nothing may reach the
  // shell in this one's name any more.
  data_.hWnd = nullptr;
  ownIcon_.Reset();
  icon_ = nullptr;
  data_.hIcon = nullptr;
  TWindow::WMDestroy();
}

void TTrayIcon::WMTrayNotify(UINT event) {
  auto fire = [this](const TMouseEvent& event, int button) {
    if (!event) return;
    POINT cursor{0, 0};
    ::GetCursorPos(&cursor);
    event(this, ShellKeys() | button, cursor.x, cursor.y);
  };
  switch (event) {
    case WM_MOUSEMOVE: fire(OnMouseMove, 0); break;
    case WM_LBUTTONDOWN:
      fire(OnMouseDown, MK_LBUTTON);
      clickPending_ = true;
      break;
    case WM_LBUTTONUP:
      // The shell reports no position to test: any release after a press
      // is a click, and it comes before the release itself.
      if (clickPending_ && OnClick) {
        clickPending_ = false;
        fire(OnClick, MK_LBUTTON);
      }
      fire(OnMouseUp, MK_LBUTTON);
      break;
    case WM_RBUTTONDOWN: fire(OnMouseDown, MK_RBUTTON); break;
    case WM_RBUTTONUP: fire(OnMouseUp, MK_RBUTTON); break;
    case WM_MBUTTONDOWN: fire(OnMouseDown, MK_MBUTTON); break;
    case WM_MBUTTONUP: fire(OnMouseUp, MK_MBUTTON); break;
    case WM_LBUTTONDBLCLK: fire(OnDblClick, MK_LBUTTON); break;
    case WM_RBUTTONDBLCLK: fire(OnDblClick, MK_RBUTTON); break;
    case WM_MBUTTONDBLCLK: fire(OnDblClick, MK_MBUTTON); break;
    case NIN_BALLOONSHOW:
    case NIN_BALLOONHIDE:
    case NIN_BALLOONTIMEOUT:
    case NIN_BALLOONUSERCLICK:
      // The balloon has been shown: later modifications must not show it again.
      data_.uFlags &= ~static_cast<UINT>(NIF_INFO);
      if (OnBalloonAction) OnBalloonAction(this, static_cast<int>(event));
      break;
    default: break;
  }
}
