#include "framework/Control.h"
#include "framework/InputTick.h"
#include "framework/RecordLayouts.h"
#include "framework/WindowProcs.h"

#include <commctrl.h>

#include <cwchar>
#include <system_error>
#include <utility>

std::uint32_t LastInputTick = 0;

namespace {
std::function<void()> nextInput;
}  // namespace

void WaitForInput(std::function<void()> callback) { nextInput = std::move(callback); }

void NoteInput() {
  LastInputTick = ::GetTickCount();
  if (nextInput) {
    // Cleared before the call, so the callback may wait again.
    std::function<void()> callback = std::move(nextInput);
    nextInput = nullptr;
    callback();
  }
}
HWND ApplicationToolTip = nullptr;

namespace {

unsigned controlCounter = 0;

// System cursors by the framework's cursor index.
const LPCWSTR CursorTable[16] = {IDC_ARROW,  IDC_IBEAM,    IDC_WAIT,     IDC_CROSS,    IDC_UPARROW, IDC_SIZE,
                                 IDC_ICON,   IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,   IDC_SIZENS,  IDC_SIZEALL,
                                 IDC_NO,     IDC_HAND,     IDC_APPSTARTING, IDC_HELP};

[[noreturn]] void RaiseLastError(const char* what) {
  throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), what);
}

HINSTANCE ModuleInstance() { return ::GetModuleHandleW(nullptr); }

}  // namespace

const wchar_t* ControlPropertyName() {
  static wchar_t name[32] = {};
  if (name[0] == 0) std::swprintf(name, 32, L"Widget%.8X", static_cast<unsigned>(::GetCurrentProcessId()));
  return name;
}

TControl::TControl() : TControl(L"TControl") {}

TControl::TControl(const wchar_t* className) : name_(L"Widget_" + std::to_wstring(controlCounter++)), className_(className) {}

TControl::~TControl() {
  // A window that outlives its control would send its next message to freed
  // memory; it goes with the control. Its messages stop reaching us first:
  // the derived parts are gone already.
  HWND window = handle_.Get();
  if (handle_.Live() && FromWindow(window) == this) {
    ::RemovePropW(window, ControlPropertyName());
    if (defaultProc_ != nullptr) SetWindowProc(window, defaultProc_);
  }
  handle_.Destroy();
  WNDCLASSW existing;
  if (::GetClassInfoW(ModuleInstance(), className_.c_str(), &existing))
    ::UnregisterClassW(className_.c_str(), ModuleInstance());  // fails while others use it
}

TControl* TControl::FromWindow(HWND window) {
  return static_cast<TControl*>(::GetPropW(window, ControlPropertyName()));
}

// --- window life -------------------------------------------------------

HWND TControl::Handle() {
  HandleNeeded();
  return handle_.Get();
}

void TControl::HandleNeeded() {
  if (handle_) return;
  if (parent_ != nullptr) parent_->HandleNeeded();
  CreateHandle();
}

void TControl::CreateHandle() {
  if (handle_) return;
  CreateWnd();
  ::SetPropW(handle_.Get(), ControlPropertyName(), this);
  // A new child goes on top of its siblings.
  if (parent_ != nullptr)
    ::SetWindowPos(handle_.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void TControl::CreateParams(TCreateParams& params) {
  params.Caption = caption_;
  params.Param = this;
  params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (enabled_ ? 0 : WS_DISABLED);
  params.ExStyle = WS_EX_CONTROLPARENT;
  params.X = left_;
  params.Y = top_;
  params.Width = width_;
  params.Height = height_;
  params.WndParent = parent_ ? parent_->Handle() : parentWindow_;
  params.WindowClass.style = CS_DBLCLKS;
  params.WindowClass.lpfnWndProc = &::DefWindowProcW;
  params.WindowClass.cbWndExtra = 4;
  params.WindowClass.hInstance = ModuleInstance();
  params.WindowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  params.ClassName = className_.substr(0, 63);
}

void TControl::CreateSubClass(TCreateParams& params, const wchar_t* className) {
  WNDCLASSW info;
  HINSTANCE instance = params.WindowClass.hInstance;
  if (::GetClassInfoW(ModuleInstance(), className, &info) || ::GetClassInfoW(nullptr, className, &info) ||
      ::GetClassInfoW(::GetModuleHandleW(nullptr), className, &info) || ::GetClassInfoW(instance, className, &info)) {
    params.WindowClass = info;
    params.WindowClass.hInstance = instance;
  }
  params.WindowClass.style = (params.WindowClass.style & ~0x40E0u) | CS_HREDRAW | CS_VREDRAW;
  params.ClassName = className;
}

void TControl::CreateWindowHandle(const TCreateParams& p) {
  handle_.Adopt(::CreateWindowExW(p.ExStyle, p.ClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                              p.Height, p.WndParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(CtrlID)),
                              p.WindowClass.hInstance, p.Param));
}

void TControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if (params.WndParent == nullptr && (params.Style & WS_CHILD))
    throw EInvalidOperation("Parent Required " + std::string(name_.begin(), name_.end()));
  defaultProc_ = params.WindowClass.lpfnWndProc;
  WNDCLASSW existing;
  bool registered = ::GetClassInfoW(params.WindowClass.hInstance, params.ClassName.c_str(), &existing) != FALSE;
  if (!registered) {
    WNDCLASSW wc = params.WindowClass;
    wc.lpfnWndProc = &TControl::WindowProc;
    wc.lpszClassName = params.ClassName.c_str();
    if (!::RegisterClassW(&wc)) RaiseLastError("RegisterClassW");
  }
  creationError_ = nullptr;
  CreateWindowHandle(params);
  if (creationError_) {
    // The system destroyed the half-made window; what went wrong is ours
    // to report.
    handle_.Forget(handle_.Get());
    std::rethrow_exception(std::exchange(creationError_, nullptr));
  }
  HWND window = handle_.Get();
  if (window == nullptr) RaiseLastError("CreateWindowExW");
  if (registered) {
    WNDPROC proc = WindowProcOf(window);
    if (proc != &TControl::WindowProc) {
      // A class we did not register (a system control): subclass it.
      defaultProc_ = proc;
      SetWindowProc(window, &TControl::WindowProc);
    }
  }
  if ((params.Style & WS_CHILD) && ::GetWindowLongW(window, GWL_ID) == 0)
    ::SetWindowLongPtrW(window, GWL_ID, reinterpret_cast<LONG_PTR>(window));
  caption_.clear();
}

void TControl::DestroyHandle() {
  if (handle_) DestroyWnd();
}

void TControl::DestroyWnd() {
  caption_ = Caption();
  if (!handle_.Destroy()) RaiseLastError("DestroyWindow");
}

// --- properties ----------------------------------------------------------

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{handle_.Get(), msg, wParam, lParam, 0};
  return Deliver(m);
}

std::wstring TControl::Caption() const {
  auto* self = const_cast<TControl*>(this);
  LRESULT length = self->Perform(WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied = self->Perform(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(copied));
  return text;
}

void TControl::SetCaption(const std::wstring& caption) {
  if (caption == Caption()) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
  Perform(CM_CAPTIONCHANGED, 0, 0);
}

void TControl::SetCursor(int index) {
  if (index < 0 || index > 15 || index == cursor_) return;
  cursor_ = index;
  // System cursors are shared: loading again is all "releasing" needs.
  cursorHandle_ = ::LoadCursorW(nullptr, CursorTable[index]);
}

void TControl::MoveLiveWindow() {
  if (handle_.Live()) ::MoveWindow(handle_.Get(), left_, top_, width_, height_, FALSE);
}

void TControl::SetLeft(int value) {
  if (value == left_) return;
  left_ = value;
  MoveLiveWindow();
}

void TControl::SetTop(int value) {
  if (value == top_) return;
  top_ = value;
  MoveLiveWindow();
}

void TControl::SetWidth(int value) {
  if (value == width_) return;
  width_ = value;
  MoveLiveWindow();
}

void TControl::SetHeight(int value) {
  if (value == height_) return;
  height_ = value;
  MoveLiveWindow();
}

void TControl::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  MoveLiveWindow();
}

void TControl::SetBounds(int x, int y, int width, int height) {
  if (!handle_.Live()) return;
  left_ = x;
  top_ = y;
  width_ = width;
  height_ = height;
  ::MoveWindow(handle_.Get(), x, y, width, height, TRUE);
}

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (handle_.Live()) ::EnableWindow(handle_.Get(), value);
}

void TControl::SetVisible(bool value) {
  visible_ = value;
  ::ShowWindow(Handle(), value ? SW_SHOW : SW_HIDE);
}

void TControl::SetFocus() {
  if (handle_ && ::IsWindowVisible(handle_.Get()) && ::IsWindowEnabled(handle_.Get())) ::SetFocus(handle_.Get());
}

void TControl::SetParent(TControl* parent) {
  if (parent != this) parent_ = parent;
}

int TControl::ControlCount() const {
  int count = 0;
  if (!handle_) return 0;
  for (HWND child = ::GetWindow(handle_.Get(), GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    ++count;
  return count;
}

DWORD TControl::Style() const {
  return handle_.Live() ? static_cast<DWORD>(::GetWindowLongW(handle_.Get(), GWL_STYLE)) : 0;
}

void TControl::SetStyle(DWORD value) {
  style_ = value;
  if (handle_.Live()) ::SetWindowLongW(handle_.Get(), GWL_STYLE, static_cast<LONG>(value));
}

DWORD TControl::ExStyle() const {
  return handle_.Live() ? static_cast<DWORD>(::GetWindowLongW(handle_.Get(), GWL_EXSTYLE)) : 0;
}

void TControl::SetExStyle(DWORD value) {
  exStyle_ = value;
  if (handle_.Live()) ::SetWindowLongW(handle_.Get(), GWL_EXSTYLE, static_cast<LONG>(value));
}

void TControl::SetClassNameW(const std::wstring& name) {
  if (!handle_) className_ = name;
}

void TControl::SendToolInfo(UINT message, UINT flags) {
  if (ApplicationToolTip == nullptr || !handle_.Live()) return;
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = flags;
  info.hwnd = ApplicationToolTip;
  info.uId = reinterpret_cast<UINT_PTR>(handle_.Get());
  info.lpszText = LPSTR_TEXTCALLBACKW;
  ::SendMessageW(ApplicationToolTip, message, 0, reinterpret_cast<LPARAM>(&info));
}

void TControl::SetShowHint(bool value) {
  if (value == showHint_) return;
  showHint_ = value;
  if (value)
    SendToolInfo(TTM_ADDTOOLW, TTF_IDISHWND | TTF_SUBCLASS);
  else
    SendToolInfo(TTM_DELTOOLW, TTF_IDISHWND);
}

void TControl::SetHint(const std::wstring& value) {
  hint_ = value;
  if (showHint_) SendToolInfo(TTM_UPDATETIPTEXTW, TTF_IDISHWND);
}

void TControl::Invalidate() {
  if (parent_ != nullptr) parent_->Invalidate();
}

void TControl::SetOpacity(BYTE value) {
  if (value == opacity_) return;
  opacity_ = value;
  OpacityChanged();
}
