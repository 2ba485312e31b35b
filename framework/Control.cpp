#include "framework/Control.h"

#include <cwchar>
#include <system_error>

#include "framework/InputTick.h"

std::uint32_t LastInputTick = 0;

namespace {

// The control being created: WM_NCCREATE and WM_CREATE arrive before
// CreateWindowExW returns, so they cannot be routed through the property yet.
thread_local TControl* creating = nullptr;

bool IsInputMessage(UINT msg) {
  return (msg >= WM_KEYFIRST && msg <= 0x0109) || (msg >= WM_MOUSEFIRST && msg <= 0x020A);
}

[[noreturn]] void RaiseLastError(const char* what) {
  throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), what);
}

}  // namespace

const wchar_t* ControlPropertyName() {
  static wchar_t name[32] = {};
  if (name[0] == 0) std::swprintf(name, 32, L"Widget%.8X", static_cast<unsigned>(::GetCurrentProcessId()));
  return name;
}

TControl::TControl() = default;

TControl::~TControl() { DestroyHandle(); }

HWND TControl::Handle() {
  HandleNeeded();
  return handle_;
}

void TControl::HandleNeeded() {
  if (handle_ != nullptr) return;
  if (parent_ != nullptr) parent_->HandleNeeded();
  CreateHandle();
}

void TControl::SetParent(TControl* parent) {
  if (parent != this) parent_ = parent;
}

void TControl::SetClassNameW(const std::wstring& name) {
  if (handle_ == nullptr) className_ = name;
}

void TControl::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  if (handle_ != nullptr) ::SetWindowTextW(handle_, caption_.c_str());
}

void TControl::SetVisible(bool value) {
  visible_ = value;
  ::ShowWindow(Handle(), value ? SW_SHOW : SW_HIDE);
}

void TControl::CreateParams(TCreateParams& params) {
  params.ClassName = className_;
  params.Caption = caption_;
  params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (parent_ ? WS_CHILD : 0);
  params.X = Left;
  params.Y = Top;
  params.Width = Width;
  params.Height = Height;
  params.WndParent = parent_ ? parent_->handle_ : ParentWindow;
}

void TControl::CreateHandle() {
  if (handle_ != nullptr) return;
  TCreateParams params;
  CreateParams(params);
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof(existing);
  if (!::GetClassInfoExW(instance, params.ClassName.c_str(), &existing)) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = params.ClassStyle;
    wc.lpfnWndProc = &TControl::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = params.ClassName.c_str();
    if (!::RegisterClassExW(&wc)) RaiseLastError("RegisterClassExW");
  }
  creating = this;
  HWND window = ::CreateWindowExW(params.ExStyle, params.ClassName.c_str(), params.Caption.c_str(), params.Style,
                                  params.X, params.Y, params.Width, params.Height, params.WndParent, nullptr,
                                  instance, nullptr);
  creating = nullptr;
  if (window == nullptr) RaiseLastError("CreateWindowExW");
  handle_ = window;
  ::SetPropW(window, ControlPropertyName(), this);
  if (parent_ != nullptr)
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void TControl::DestroyHandle() {
  if (handle_ == nullptr) return;
  HWND window = handle_;
  ::DestroyWindow(window);
  handle_ = nullptr;
}

void TControl::DefaultHandler(TMessage& message) {
  message.Result = ::DefWindowProcW(message.Window, message.Msg, message.WParam, message.LParam);
}

void TControl::WMCreate(TMessage& message) {
  if (handle_ == nullptr) handle_ = message.Window;
  DefaultHandler(message);
}

void TControl::WMDestroy(TMessage& message) { DefaultHandler(message); }

void TControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_CREATE: WMCreate(message); break;
    case WM_DESTROY: WMDestroy(message); break;
    default: DefaultHandler(message); break;
  }
}

TControl* TControl::FromWindow(HWND window) {
  return static_cast<TControl*>(::GetPropW(window, ControlPropertyName()));
}

LRESULT CALLBACK TControl::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TControl* control = FromWindow(window);
  if (control == nullptr && creating != nullptr) {
    control = creating;
    ::SetPropW(window, ControlPropertyName(), control);
  }
  if (control == nullptr) return ::DefWindowProcW(window, msg, wParam, lParam);

  if (IsInputMessage(msg)) LastInputTick = ::GetTickCount();
  TMessage message{window, msg, wParam, lParam, 0};
  control->Dispatch(message);
  if (msg == WM_NCDESTROY) {
    ::RemovePropW(window, ControlPropertyName());
    if (control->handle_ == window) control->handle_ = nullptr;
  }
  return message.Result;
}
