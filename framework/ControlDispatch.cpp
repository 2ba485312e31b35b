// The framework window procedure and the dispatch table of TControl. Each
// row reads one message's parameters into typed arguments for its handler
// and says whether the system's default procedure sees the message too: no
// other place decides that, and no other file reads wParam or lParam.
#include "framework/Control.h"
#include "framework/InputMessages.h"
#include "framework/WindowProcs.h"

#include <windowsx.h>

// What the system's default procedure gets to see of a message.
enum class TDefault : unsigned char {
  After,   // the handler only watches: the default procedure always runs, after it
  First,   // the default procedure runs first, the handler after it
  Never,   // the handler answers; the default procedure never sees the message
  Unless,  // the default procedure runs unless the handler answered (returned true)
};

struct TControl::TRoute {
  UINT First, Last;  // the messages of the row, both included
  TDefault Default;
  // Reads the parameters and calls the handler; true when it answered.
  bool (*Handle)(TControl& control, TMessage& m);
};

namespace {

int X(LPARAM l) { return GET_X_LPARAM(l); }
int Y(LPARAM l) { return GET_Y_LPARAM(l); }
int Keys(WPARAM w) { return static_cast<int>(w); }

TShiftState KeyShift(LPARAM lParam) {
  TShiftState shift = 0;
  if (::GetKeyState(VK_SHIFT) & 0x8000) shift |= ssShift;
  if (::GetKeyState(VK_CONTROL) & 0x8000) shift |= ssCtrl;
  if (lParam & 0x20000000) shift |= ssAlt;  // the context code
  return shift;
}

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

const TControl::TRoute* TControl::RouteOf(UINT msg) {
  using D = TDefault;
  // Searched in order: the framework's own messages come before the row
  // that takes every other private message.
  static const TRoute routes[] = {
      // --- window life ---
      {WM_CREATE, WM_CREATE, D::First,
       [](TControl& c, TMessage& m) {
         // CreateWindowExW has not returned yet: handlers need the window now.
         if (!c.handle_) c.handle_.Adopt(m.Window);
         c.WMCreate();
         return false;
       }},
      {WM_DESTROY, WM_DESTROY, D::After, [](TControl& c, TMessage&) { c.WMDestroy(); return false; }},
      {WM_CLOSE, WM_CLOSE, D::Never, [](TControl& c, TMessage&) { c.WMClose(); return true; }},
      // Left to the default procedure, activation would move the focus.
      {WM_ACTIVATE, WM_ACTIVATE, D::Never,
       [](TControl& c, TMessage& m) {
         c.WMActivate(LOWORD(m.WParam), reinterpret_cast<HWND>(m.LParam));
         return true;
       }},
      // A child leaves the answer to its parent, through the default procedure.
      {WM_MOUSEACTIVATE, WM_MOUSEACTIVATE, D::Unless,
       [](TControl& c, TMessage& m) {
         int result = MA_ACTIVATE;
         if (!c.WMMouseActivate(LOWORD(m.LParam), HIWORD(m.LParam), result)) return false;
         m.Result = result;
         return true;
       }},
      {WM_TIMER, WM_TIMER, D::After, [](TControl& c, TMessage& m) { c.WMTimer(m.WParam); return false; }},
      {WM_PAINT, WM_PAINT, D::Unless,
       [](TControl& c, TMessage& m) { return c.WMPaint(reinterpret_cast<HDC>(m.WParam)); }},
      // The session may end; whether it really does comes with WM_ENDSESSION.
      {WM_QUERYENDSESSION, WM_QUERYENDSESSION, D::Never,
       [](TControl& c, TMessage& m) {
         c.WMQueryEndSession();
         m.Result = TRUE;
         return true;
       }},
      {WM_POWERBROADCAST, WM_POWERBROADCAST, D::After,
       [](TControl& c, TMessage& m) {
         c.WMPowerBroadcast(static_cast<UINT>(m.WParam));
         m.Result = TRUE;
         return false;
       }},
      {WM_SYSCOLORCHANGE, WM_SYSCOLORCHANGE, D::After,
       [](TControl& c, TMessage& m) { c.WMDisplaySettings(m.Msg, nullptr); return false; }},
      {WM_SETTINGCHANGE, WM_SETTINGCHANGE, D::After,
       [](TControl& c, TMessage& m) {
         c.WMDisplaySettings(m.Msg, reinterpret_cast<const wchar_t*>(m.LParam));
         return false;
       }},
      {WM_THEMECHANGED, WM_THEMECHANGED, D::After,
       [](TControl& c, TMessage& m) { c.WMDisplaySettings(m.Msg, nullptr); return false; }},
      {WM_ENDSESSION, WM_ENDSESSION, D::After,
       [](TControl& c, TMessage& m) { c.WMEndSession(m.WParam != 0); return false; }},

      // --- place and size ---
      {WM_MOVE, WM_MOVE, D::After, [](TControl& c, TMessage& m) { c.WMMove(X(m.LParam), Y(m.LParam)); return false; }},
      {WM_SIZE, WM_SIZE, D::After,
       [](TControl& c, TMessage& m) {
         c.WMSize(static_cast<int>(m.WParam), X(m.LParam), Y(m.LParam));
         return false;
       }},
      {WM_SIZING, WM_SIZING, D::After,
       [](TControl& c, TMessage& m) {
         if (m.LParam) c.WMSizing(static_cast<int>(m.WParam), *reinterpret_cast<RECT*>(m.LParam));
         return false;
       }},
      {WM_MOVING, WM_MOVING, D::After,
       [](TControl& c, TMessage& m) {
         if (m.LParam) c.WMMoving(static_cast<int>(m.WParam), *reinterpret_cast<RECT*>(m.LParam));
         return false;
       }},
      {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGING, D::After,
       [](TControl& c, TMessage& m) {
         if (m.LParam) c.WMWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(m.LParam));
         return false;
       }},
      {WM_WINDOWPOSCHANGED, WM_WINDOWPOSCHANGED, D::After,
       [](TControl& c, TMessage& m) {
         if (m.LParam) c.WMWindowPosChanged(*reinterpret_cast<WINDOWPOS*>(m.LParam));
         return false;
       }},
      // The window's monitor or its scale changed (Windows 8.1 and later):
      // the handler lays itself out for the new DPI and takes its place.
      {WmDpiChanged, WmDpiChanged, D::Never,
       [](TControl& c, TMessage& m) {
         if (m.LParam) c.WMDpiChanged(LOWORD(m.WParam), *reinterpret_cast<const RECT*>(m.LParam));
         return true;
       }},
      {WM_SHOWWINDOW, WM_SHOWWINDOW, D::After,
       [](TControl& c, TMessage& m) { c.WMShowWindow(m.WParam != 0); return false; }},
      // Windows hands a press on a disabled child to the window beneath; Wine
      // drops it. Saying so outright works the same on both.
      {WM_NCHITTEST, WM_NCHITTEST, D::Unless,
       [](TControl& c, TMessage& m) {
         if (!c.MouseTransparent) return false;
         m.Result = HTTRANSPARENT;
         return true;
       }},
      {WM_SETCURSOR, WM_SETCURSOR, D::Unless,
       [](TControl& c, TMessage& m) {
         if (!c.WMSetCursor(LOWORD(m.LParam))) return false;
         m.Result = TRUE;
         return true;
       }},

      // --- text: kept by the control while it has no window ---
      {WM_SETTEXT, WM_SETTEXT, D::After,
       [](TControl& c, TMessage& m) {
         c.WMSetText(reinterpret_cast<const wchar_t*>(m.LParam));
         m.Result = TRUE;
         return false;
       }},
      {WM_GETTEXT, WM_GETTEXT, D::After,
       [](TControl& c, TMessage& m) {
         auto* buffer = reinterpret_cast<wchar_t*>(m.LParam);
         size_t room = static_cast<size_t>(m.WParam);
         if (buffer != nullptr && room > 0) {
           size_t n = c.caption_.size() < room - 1 ? c.caption_.size() : room - 1;
           c.caption_.copy(buffer, n);
           buffer[n] = L'\0';
           m.Result = static_cast<LRESULT>(n);
         }
         return false;
       }},
      {WM_GETTEXTLENGTH, WM_GETTEXTLENGTH, D::After,
       [](TControl& c, TMessage& m) {
         m.Result = static_cast<LRESULT>(c.caption_.size());
         return false;
       }},

      // --- focus and keyboard ---
      {WM_SETFOCUS, WM_SETFOCUS, D::After, [](TControl& c, TMessage&) { c.WMSetFocus(); return false; }},
      {WM_KILLFOCUS, WM_KILLFOCUS, D::After, [](TControl& c, TMessage&) { c.WMKillFocus(); return false; }},
      {WM_KEYDOWN, WM_KEYDOWN, D::After,
       [](TControl& c, TMessage& m) {
         WORD key = LOWORD(m.WParam);
         c.WMKeyDown(key, KeyShift(m.LParam));
         m.WParam = key;
         return false;
       }},
      // Keys with Alt or F10: the default procedure keeps Alt+F4 and the
      // window menu unless the handler takes the key.
      {WM_SYSKEYDOWN, WM_SYSKEYDOWN, D::Unless,
       [](TControl& c, TMessage& m) { return c.WMSysKeyDown(LOWORD(m.WParam), KeyShift(m.LParam)); }},
      // Whether focus rectangles show (they do once the keyboard is used).
      {WM_UPDATEUISTATE, WM_UPDATEUISTATE, D::After,
       [](TControl& c, TMessage& m) {
         c.WMUpdateUIState(LOWORD(m.WParam), HIWORD(m.WParam));
         return false;
       }},
      // A screen reader asks for the window's accessible object.
      {WM_GETOBJECT, WM_GETOBJECT, D::Unless,
       [](TControl& c, TMessage& m) {
         LRESULT result = 0;
         if (!c.WMGetObject(static_cast<DWORD>(m.LParam), m.WParam, result)) return false;
         m.Result = result;
         return true;
       }},
      {WM_KEYUP, WM_KEYUP, D::After,
       [](TControl& c, TMessage& m) {
         WORD key = LOWORD(m.WParam);
         c.WMKeyUp(key, KeyShift(m.LParam));
         m.WParam = key;
         return false;
       }},
      {WM_CHAR, WM_CHAR, D::Unless,
       [](TControl& c, TMessage& m) {
         int code = static_cast<int>(m.WParam);
         c.WMChar(code);
         m.WParam = static_cast<WPARAM>(code);
         return code == 0;
       }},

      // --- mouse ---
      {WM_MOUSEMOVE, WM_MOUSEMOVE, D::After,
       [](TControl& c, TMessage& m) {
         c.WMMouseMove(Keys(m.WParam), X(m.LParam), Y(m.LParam));
         return false;
       }},
      // Down, up and double click of the left, right and middle buttons, in
      // that order.
      {WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, D::After,
       [](TControl& c, TMessage& m) {
         const int buttons[] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON};
         unsigned n = m.Msg - WM_LBUTTONDOWN;
         int button = buttons[n / 3], keys = Keys(m.WParam), x = X(m.LParam), y = Y(m.LParam);
         switch (n % 3) {
           case 0: c.WMButtonDown(button, keys, x, y); break;
           case 1: c.WMButtonUp(button, keys, x, y); break;
           default: c.WMButtonDblClk(button, keys, x, y); break;
         }
         return false;
       }},
      {WM_MOUSEWHEEL, WM_MOUSEWHEEL, D::After,
       [](TControl& c, TMessage& m) {
         c.WMMouseWheel(LOWORD(m.WParam), GET_WHEEL_DELTA_WPARAM(m.WParam), X(m.LParam), Y(m.LParam));
         return false;
       }},
      {WM_MOUSEHOVER, WM_MOUSEHOVER, D::After,
       [](TControl& c, TMessage& m) {
         c.WMMouseHover(Keys(m.WParam), X(m.LParam), Y(m.LParam));
         return false;
       }},
      {WM_MOUSELEAVE, WM_MOUSELEAVE, D::After, [](TControl& c, TMessage&) { c.WMMouseLeave(); return false; }},
      {WM_CONTEXTMENU, WM_CONTEXTMENU, D::After,
       [](TControl& c, TMessage& m) { c.WMContextMenu(X(m.LParam), Y(m.LParam)); return false; }},

      // --- what children tell their parent ---
      // A notification goes back to the control that sent it, once.
      {WM_COMMAND, WM_COMMAND, D::Never,
       [](TControl& c, TMessage& m) {
         auto from = reinterpret_cast<HWND>(m.LParam);
         if (!c.ReflectToControl(from, m)) c.WMCommand(LOWORD(m.WParam), HIWORD(m.WParam), from);
         return true;
       }},
      {WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, D::Never,
       [](TControl& c, TMessage& m) {
         auto from = reinterpret_cast<HWND>(m.LParam);
         if (c.ReflectToControl(from, m)) return true;
         LRESULT brush = 0;
         if (from != nullptr && from == c.handle_.Get()) c.WMCtlColor(reinterpret_cast<HDC>(m.WParam), brush);
         m.Result = brush;
         return true;
       }},
      {WM_NOTIFY, WM_NOTIFY, D::Unless,
       [](TControl& c, TMessage& m) {
         auto* header = reinterpret_cast<NMHDR*>(m.LParam);
         if (header != nullptr && c.WMNotify(*header)) return true;
         c.ReflectToParent(m);
         return false;
       }},
      {WM_HSCROLL, WM_VSCROLL, D::After, [](TControl& c, TMessage& m) { c.ReflectToParent(m); return false; }},
      // Every window of ours is a Unicode window; asked which format its
      // notifications take, a subclassed common control (the tooltip, which
      // notifies itself) might answer ANSI, and TTN_GETDISPINFOW would never
      // come.
      {WM_NOTIFYFORMAT, WM_NOTIFYFORMAT, D::Unless,
       [](TControl&, TMessage& m) {
         if (m.LParam != NF_QUERY) return false;
         m.Result = NFR_UNICODE;
         return true;
       }},
      // Other processes have nothing to hand us: data they send is dropped.
      {WM_COPYDATA, WM_COPYDATA, D::Never, [](TControl&, TMessage&) { return true; }},

      // --- the framework's own ---
      {CM_MOUSEENTERED, CM_MOUSEENTERED, D::Never, [](TControl& c, TMessage&) { c.MouseEntered(); return true; }},
      {CM_FONTCHANGED, CM_FONTCHANGED, D::Never, [](TControl& c, TMessage&) { c.FontChanged(); return true; }},
      {CM_CAPTIONCHANGED, CM_CAPTIONCHANGED, D::Never, [](TControl& c, TMessage&) { c.CaptionChanged(); return true; }},
      {WM_TRAYNOTIFY, WM_TRAYNOTIFY, D::Never,
       [](TControl& c, TMessage& m) { c.WMTrayNotify(static_cast<UINT>(m.LParam)); return true; }},
      // The program's own messages and registered ones; a system control's
      // own (TTM_*, STM_*) are left to it.
      {WM_USER, 0xFFFF, D::Unless, [](TControl& c, TMessage& m) { return c.WMPrivate(m.Msg); }},
  };
  for (const TRoute& route : routes)
    if (msg >= route.First && msg <= route.Last) return &route;
  return nullptr;
}

bool TControl::CallDefault(TMessage& m) const {
  if (defaultProc_ == nullptr || m.Window == nullptr || !::IsWindow(m.Window)) return false;
  m.Result = ::CallWindowProcW(defaultProc_, m.Window, m.Msg, m.WParam, m.LParam);
  return true;
}

LRESULT TControl::Deliver(TMessage& m) {
  if (IsInputMessage(m.Msg)) NoteInput();
  const TRoute* route = RouteOf(m.Msg);
  if (route == nullptr) {
    CallDefault(m);
    return m.Result;
  }
  switch (route->Default) {
    case TDefault::First:
      CallDefault(m);
      route->Handle(*this, m);
      break;
    case TDefault::After:
      route->Handle(*this, m);
      CallDefault(m);
      break;
    case TDefault::Never: route->Handle(*this, m); break;
    case TDefault::Unless:
      if (!route->Handle(*this, m)) CallDefault(m);
      break;
  }
  return m.Result;
}

LRESULT CALLBACK TControl::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TControl* control = FromWindow(window);
  if (control == nullptr && msg == WM_CREATE) {
    // The property is set once CreateWindowExW returns; until then the
    // control travels in the creation parameters.
    control = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (control != nullptr) {
      TMessage m{window, msg, wParam, lParam, 0};
      try {
        return control->Deliver(m);
      } catch (...) {
        control->creationError_ = std::current_exception();
        return FailedMessage(window, msg);
      }
    }
  }
  if (control == nullptr) return ::DefWindowProcW(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    // The window's last message: from here on it is the system's alone.
    if (control->defaultProc_ != nullptr) SetWindowProc(window, control->defaultProc_);
    ::RemovePropW(window, ControlPropertyName());
    control->handle_.Forget(window);
  }
  TMessage m{window, msg, wParam, lParam, 0};
  try {
    return control->Deliver(m);
  } catch (...) {
    return FailedMessage(window, msg);
  }
}

bool TControl::ReflectToControl(HWND target, TMessage& m) {
  // A control never reflects to itself: the reflected message arrives with
  // the sender in lParam, and would bounce back forever.
  if (target == nullptr || target == handle_.Get() || target == m.Window || !::IsWindow(target)) return false;
  TControl* control = FromWindow(target);
  if (control == nullptr) return false;
  m.Result = control->Deliver(m);
  return true;
}

void TControl::ReflectToParent(const TMessage& m) {
  if (parent_ != nullptr && parent_->handle_.Live())
    ::SendMessageW(parent_->handle_.Get(), m.Msg, m.WParam, m.LParam);
}
