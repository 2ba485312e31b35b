// The framework window procedure and the message table of TControl: every
// window message becomes a virtual handler, which fires the matching event
// and then (mostly) lets the default procedure run.
#include "framework/Control.h"
#include "framework/RecordLayouts.h"
#include "framework/WindowProcs.h"

#include <commctrl.h>
#include <windowsx.h>

namespace {

int SignedLow(LPARAM l) { return GET_X_LPARAM(l); }
int SignedHigh(LPARAM l) { return GET_Y_LPARAM(l); }

bool IsInputMessage(UINT msg) { return (msg >= 0x0100 && msg <= 0x0109) || (msg >= 0x0200 && msg <= 0x020A); }

TShiftState KeyShift(LPARAM lParam) {
  TShiftState shift = 0;
  if (::GetKeyState(VK_SHIFT) & 0x8000) shift |= ssShift;
  if (::GetKeyState(VK_CONTROL) & 0x8000) shift |= ssCtrl;
  if (lParam & 0x20000000) shift |= ssAlt;
  return shift;
}

template <typename Event, typename... Args>
void Fire(const Event& event, Args&&... args) {
  if (event) event(std::forward<Args>(args)...);
}

}  // namespace

namespace {

// A handler that threw: the message counts as handled and nothing more
// happens for it. The toolchain's exceptions cannot unwind through the
// system's frames around a window procedure, so none may leave it.
LRESULT FailedMessage(HWND window, UINT msg) {
  switch (msg) {
    case WM_NCCREATE: return FALSE;  // creation fails
    case WM_CREATE: return -1;
    case WM_PAINT:
      // Nothing is presented for this pass; without this the window would
      // ask again at once, forever.
      ::ValidateRect(window, nullptr);
      return 0;
    default: return 0;
  }
}

}  // namespace

LRESULT CALLBACK TControl::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TControl* control = FromWindow(window);
  if (control == nullptr && msg == WM_CREATE) {
    // The property is set once CreateWindowExW returns; until then the
    // control travels in the creation parameters.
    control = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (control != nullptr) {
      TMessage m{window, msg, wParam, lParam, 0};
      try {
        control->Dispatch(m);
      } catch (...) {
        control->creationError_ = std::current_exception();
        return FailedMessage(window, msg);
      }
      return m.Result;
    }
  }
  if (control == nullptr) return ::DefWindowProcW(window, msg, wParam, lParam);
  TMessage m{window, msg, wParam, lParam, 0};
  try {
    if (msg == WM_NCDESTROY) {
      if (control->defaultProc_ != nullptr)
        SetWindowProc(window, control->defaultProc_);
      control->Dispatch(m);
      ::RemovePropW(window, ControlPropertyName());
      if (control->handle_ == window) control->handle_ = nullptr;
    } else {
      control->Dispatch(m);
    }
  } catch (...) {
    return FailedMessage(window, msg);
  }
  return m.Result;
}

void TControl::DefaultHandler(TMessage& m) {
  if (defaultProc_ != nullptr && m.Window != nullptr && ::IsWindow(m.Window))
    m.Result = ::CallWindowProcW(defaultProc_, m.Window, m.Msg, m.WParam, m.LParam);
}

void TControl::Dispatch(TMessage& m) {
  if (IsInputMessage(m.Msg)) LastInputTick = ::GetTickCount();
  switch (m.Msg) {
    case WM_CREATE: WMCreate(m); break;
    case WM_DESTROY: WMDestroy(m); break;
    case WM_MOVE: WMMove(m); break;
    case WM_SIZE: WMSize(m); break;
    case WM_SETFOCUS: WMSetFocus(m); break;
    case WM_KILLFOCUS: WMKillFocus(m); break;
    case WM_SETTEXT: WMSetText(m); break;
    case WM_GETTEXT: WMGetText(m); break;
    case WM_GETTEXTLENGTH: WMGetTextLength(m); break;
    case WM_SHOWWINDOW: WMShowWindow(m); break;
    case WM_CANCELMODE: WMCancelMode(m); break;
    case WM_SETCURSOR: WMSetCursor(m); break;
    case WM_DRAWITEM: WMDrawItem(m); break;
    case WM_MEASUREITEM: WMMeasureItem(m); break;
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(m); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); break;
    case WM_NOTIFY: WMNotify(m); break;
    case WM_HSCROLL: WMHScroll(m); break;
    case WM_VSCROLL: WMVScroll(m); break;
    case WM_CONTEXTMENU: WMContextMenu(m); break;
    case WM_NCHITTEST: WMNCHitTest(m); break;
    case WM_GETDLGCODE: WMGetDlgCode(m); break;
    case WM_KEYDOWN: WMKeyDown(m); break;
    case WM_KEYUP: WMKeyUp(m); break;
    case WM_CHAR: WMChar(m); break;
    case WM_COMMAND: WMCommand(m); break;
    case 0x0118: WMSysTimer(m); break;  // the system caret timer
    case WM_MOUSEMOVE: WMMouseMove(m); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: WMButtonDown(m); break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: WMButtonUp(m); break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: WMButtonDblClk(m); break;
    case WM_MOUSEWHEEL: WMMouseWheel(m); break;
    case WM_SIZING: WMSizing(m); break;
    case WM_MOVING: WMMoving(m); break;
    case WM_MOUSEHOVER: WMMouseHover(m); break;
    case WM_MOUSELEAVE: WMMouseLeave(m); break;
    case CM_MOUSEENTERED: MouseEntered(m); break;
    case CM_FONTCHANGED: FontChanged(m); break;
    case CM_CAPTIONCHANGED: CaptionChanged(m); break;
    default:
      if (m.Msg >= WM_CTLCOLORMSGBOX && m.Msg <= WM_CTLCOLORSTATIC)
        WMCtlColor(m);
      else
        DefaultHandler(m);
      break;
  }
}

void TControl::WMCreate(TMessage& m) {
  if (handle_ == nullptr) handle_ = m.Window;
  DefaultHandler(m);
}

void TControl::WMDestroy(TMessage& m) { DefaultHandler(m); }

void TControl::WMMove(TMessage& m) {
  left_ = SignedLow(m.LParam);
  top_ = SignedHigh(m.LParam);
  lastMove_ = {left_, top_};
  Fire(OnMove, this, left_, top_);
  DefaultHandler(m);
}

void TControl::WMSize(TMessage& m) {
  RECT r;
  if (::GetWindowRect(m.Window, &r)) {
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
  }
  ClientWidth = SignedLow(m.LParam);
  ClientHeight = SignedHigh(m.LParam);
  Fire(OnSize, this, static_cast<int>(m.WParam), ClientWidth, ClientHeight);
  DefaultHandler(m);
}

void TControl::WMSetFocus(TMessage& m) {
  Fire(OnSetFocus, this);
  DefaultHandler(m);
}

void TControl::WMKillFocus(TMessage& m) {
  Fire(OnKillFocus, this);
  DefaultHandler(m);
}

void TControl::WMSetText(TMessage& m) {
  auto* text = reinterpret_cast<const wchar_t*>(m.LParam);
  caption_ = text ? text : L"";
  m.Result = TRUE;
  DefaultHandler(m);
}

void TControl::WMGetText(TMessage& m) {
  auto* buffer = reinterpret_cast<wchar_t*>(m.LParam);
  size_t room = static_cast<size_t>(m.WParam);
  if (buffer != nullptr && room > 0) {
    size_t n = caption_.size() < room - 1 ? caption_.size() : room - 1;
    caption_.copy(buffer, n);
    buffer[n] = L'\0';
    m.Result = static_cast<LRESULT>(n);
  }
  DefaultHandler(m);
}

void TControl::WMGetTextLength(TMessage& m) {
  m.Result = static_cast<LRESULT>(caption_.size());
  DefaultHandler(m);
}

void TControl::WMShowWindow(TMessage& m) {
  visible_ = m.WParam != 0;
  DefaultHandler(m);
}

void TControl::WMCancelMode(TMessage& m) { DefaultHandler(m); }

void TControl::WMSetCursor(TMessage& m) {
  if (LOWORD(m.LParam) == HTCLIENT && cursorHandle_ != nullptr) {
    ::SetCursor(cursorHandle_);
    m.Result = 1;
    return;
  }
  DefaultHandler(m);
}

bool TControl::ReflectToControl(HWND target, TMessage& m) {
  // A control never reflects to itself: the reflected message arrives with
  // the sender in lParam, and would bounce back forever.
  if (target == nullptr || target == handle_ || target == m.Window || !::IsWindow(target)) return false;
  TControl* control = FromWindow(target);
  if (control == nullptr) return false;
  control->Dispatch(m);
  return true;
}

void TControl::WMDrawItem(TMessage& m) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (item != nullptr) ReflectToControl(item->hwndItem, m);
  m.Result = 1;
}

void TControl::WMMeasureItem(TMessage& m) {
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (item != nullptr) ReflectToControl(reinterpret_cast<HWND>(static_cast<UINT_PTR>(item->CtlID)), m);
  m.Result = 1;
}

void TControl::WMWindowPosChanging(TMessage& m) {
  if (OnWindowPosChanging && m.LParam) OnWindowPosChanging(this, *reinterpret_cast<WINDOWPOS*>(m.LParam));
  DefaultHandler(m);
}

void TControl::WMWindowPosChanged(TMessage& m) {
  if (OnWindowPosChanged && m.LParam) OnWindowPosChanged(this, *reinterpret_cast<WINDOWPOS*>(m.LParam));
  DefaultHandler(m);
}

void TControl::ReflectToParent(TMessage& m) {
  if (parent_ != nullptr && parent_->handle_ != nullptr && ::IsWindow(parent_->handle_))
    ::SendMessageW(parent_->handle_, m.Msg, m.WParam, m.LParam);
}

void TControl::WMNotify(TMessage& m) {
  ReflectToParent(m);
  DefaultHandler(m);
}

void TControl::WMHScroll(TMessage& m) {
  ReflectToParent(m);
  DefaultHandler(m);
}

void TControl::WMVScroll(TMessage& m) {
  ReflectToParent(m);
  DefaultHandler(m);
}

void TControl::WMContextMenu(TMessage& m) {
  Fire(OnContextMenu, this, SignedLow(m.LParam), SignedHigh(m.LParam));
  DefaultHandler(m);
}

void TControl::WMNCHitTest(TMessage& m) {
  // Windows hands a press on a disabled child to the window beneath; Wine
  // drops it. Saying so outright works the same on both.
  if (MouseTransparent) {
    m.Result = HTTRANSPARENT;
    return;
  }
  DefaultHandler(m);
}

void TControl::WMGetDlgCode(TMessage& m) {
  m.Result = DLGC_WANTALLKEYS;
  DefaultHandler(m);
}

void TControl::WMKeyDown(TMessage& m) {
  if (OnKeyDown) {
    WORD key = LOWORD(m.WParam);
    OnKeyDown(this, key, KeyShift(m.LParam));
    m.WParam = key;
  }
  DefaultHandler(m);
}

void TControl::WMKeyUp(TMessage& m) {
  if (OnKeyUp) {
    WORD key = LOWORD(m.WParam);
    OnKeyUp(this, key, KeyShift(m.LParam));
    m.WParam = key;
  }
  DefaultHandler(m);
}

void TControl::WMChar(TMessage& m) {
  int code = static_cast<int>(m.WParam);
  Fire(OnChar, this, code);
  m.WParam = static_cast<WPARAM>(code);
  if (code != 0) DefaultHandler(m);
}

void TControl::WMCommand(TMessage& m) { ReflectToControl(reinterpret_cast<HWND>(m.LParam), m); }

void TControl::WMCtlColor(TMessage& m) { ReflectToControl(reinterpret_cast<HWND>(m.LParam), m); }

void TControl::WMSysTimer(TMessage& m) {
  Fire(OnSysTimer, this);
  DefaultHandler(m);
}

void TControl::WMMouseMove(TMessage& m) {
  int x = SignedLow(m.LParam), y = SignedHigh(m.LParam), keys = static_cast<int>(m.WParam);
  if (m.WParam == MK_LBUTTON) {
    // The left button alone: a drag, and nothing else.
    Fire(OnDrag, this, keys, x, y);
  } else {
    Fire(OnMouseMove, this, keys, x, y);
    if (!mouseInside_) {
      mouseInside_ = true;
      TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, m.Window, HOVER_DEFAULT};
      ::_TrackMouseEvent(&track);
      // OnMouseEnter comes after this move has been handled.
      ::PostMessageW(m.Window, CM_MOUSEENTERED, 0, 0);
    }
  }
  DefaultHandler(m);
}

void TControl::MouseEntered(TMessage& m) {
  mouseInside_ = true;
  Fire(OnMouseEnter, this, static_cast<int>(m.WParam), SignedLow(m.LParam), SignedHigh(m.LParam));
}

void TControl::WMMouseHover(TMessage& m) {
  mouseInside_ = true;
  Fire(OnMouseHover, this, static_cast<int>(m.WParam), SignedLow(m.LParam), SignedHigh(m.LParam));
  DefaultHandler(m);
}

void TControl::WMMouseLeave(TMessage& m) {
  mouseInside_ = false;
  Fire(OnMouseLeave, this, static_cast<int>(m.WParam), SignedLow(m.LParam), SignedHigh(m.LParam));
  DefaultHandler(m);
}

void TControl::WMButtonDown(TMessage& m) {
  Fire(OnMouseDown, this, static_cast<int>(m.WParam), SignedLow(m.LParam), SignedHigh(m.LParam));
  // Only a plain left press (no other button, no modifier) can become a click.
  clickPending_ = m.WParam == MK_LBUTTON;
  DefaultHandler(m);
}

void TControl::WMButtonUp(TMessage& m) {
  int released = m.Msg == WM_LBUTTONUP ? MK_LBUTTON : (m.Msg == WM_RBUTTONUP ? MK_RBUTTON : MK_MBUTTON);
  int keys = static_cast<int>(m.WParam) | released;
  int x = SignedLow(m.LParam), y = SignedHigh(m.LParam);
  Fire(OnMouseUp, this, keys, x, y);
  if (clickPending_ && !(m.WParam & MK_LBUTTON) && OnClick) {
    RECT client;
    ::GetClientRect(m.Window, &client);
    ::MapWindowPoints(m.Window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    POINT cursor;
    ::GetCursorPos(&cursor);
    if (::PtInRect(&client, cursor)) {
      clickPending_ = false;
      OnClick(this, keys, x, y);
    }
  }
  DefaultHandler(m);
}

void TControl::WMButtonDblClk(TMessage& m) {
  Fire(OnDblClick, this, static_cast<int>(m.WParam), SignedLow(m.LParam), SignedHigh(m.LParam));
  DefaultHandler(m);
}

void TControl::WMMouseWheel(TMessage& m) {
  Fire(OnMouseWheel, this, static_cast<int>(LOWORD(m.WParam)), static_cast<int>(GET_WHEEL_DELTA_WPARAM(m.WParam)),
       SignedLow(m.LParam), SignedHigh(m.LParam));
  DefaultHandler(m);
}

void TControl::WMSizing(TMessage& m) {
  if (OnSizing && m.LParam) OnSizing(this, static_cast<int>(m.WParam), *reinterpret_cast<RECT*>(m.LParam));
  DefaultHandler(m);
}

void TControl::WMMoving(TMessage& m) {
  if (OnMoving && m.LParam) OnMoving(this, static_cast<int>(m.WParam), *reinterpret_cast<RECT*>(m.LParam));
  DefaultHandler(m);
}

void TControl::CaptionChanged(TMessage&) {}
void TControl::FontChanged(TMessage&) {}
