// What every control does with its messages: keep its own state, fire its
// events, and turn presses and releases into clicks.
#include "framework/Control.h"

#include <utility>

namespace {

template <typename Event, typename... Args>
void Fire(const Event& event, Args&&... args) {
  if (event) event(std::forward<Args>(args)...);
}

}  // namespace

void TControl::WMClose() { handle_.Destroy(); }

void TControl::WMMove(int x, int y) {
  left_ = x;
  top_ = y;
  lastMove_ = {x, y};
  Fire(OnMove, this, x, y);
}

void TControl::WMSize(int kind, int width, int height) {
  RECT r;
  if (::GetWindowRect(handle_.Get(), &r)) {
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
  }
  ClientWidth = width;
  ClientHeight = height;
  Fire(OnSize, this, kind, ClientWidth, ClientHeight);
}

void TControl::WMSizing(int edge, RECT& r) { Fire(OnSizing, this, edge, r); }
void TControl::WMMoving(int edge, RECT& r) { Fire(OnMoving, this, edge, r); }
void TControl::WMWindowPosChanging(WINDOWPOS& pos) { Fire(OnWindowPosChanging, this, pos); }

void TControl::WMDpiChanged(int, const RECT& suggested) {
  ::SetWindowPos(WindowHandle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}
void TControl::WMWindowPosChanged(WINDOWPOS& pos) { Fire(OnWindowPosChanged, this, pos); }
void TControl::WMShowWindow(bool shown) { visible_ = shown; }
void TControl::WMSetFocus() { Fire(OnSetFocus, this); }
void TControl::WMKillFocus() { Fire(OnKillFocus, this); }
void TControl::WMSetText(const wchar_t* text) { caption_ = text ? text : L""; }

bool TControl::WMSetCursor(UINT hitTest) {
  if (hitTest != HTCLIENT || cursorHandle_ == nullptr) return false;
  ::SetCursor(cursorHandle_);
  return true;
}

void TControl::WMContextMenu(int x, int y) { Fire(OnContextMenu, this, x, y); }
void TControl::WMKeyDown(WORD& key, TShiftState shift) { Fire(OnKeyDown, this, key, shift); }
void TControl::WMKeyUp(WORD& key, TShiftState shift) { Fire(OnKeyUp, this, key, shift); }
void TControl::WMChar(int& code) { Fire(OnChar, this, code); }

void TControl::WMMouseMove(int keys, int x, int y) {
  if (keys == MK_LBUTTON) {
    // The left button alone: a drag, and nothing else.
    Fire(OnDrag, this, keys, x, y);
    return;
  }
  Fire(OnMouseMove, this, keys, x, y);
  if (!mouseInside_) {
    mouseInside_ = true;
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, handle_.Get(), HOVER_DEFAULT};
    ::_TrackMouseEvent(&track);
    // OnMouseEnter comes after this move has been handled.
    ::PostMessageW(handle_.Get(), CM_MOUSEENTERED, 0, 0);
  }
}

void TControl::MouseEntered() {
  mouseInside_ = true;
  Fire(OnMouseEnter, this, 0, 0, 0);
}

void TControl::WMMouseHover(int keys, int x, int y) {
  mouseInside_ = true;
  Fire(OnMouseHover, this, keys, x, y);
}

void TControl::WMMouseLeave() {
  mouseInside_ = false;
  Fire(OnMouseLeave, this, 0, 0, 0);
}

void TControl::WMButtonDown(int, int keys, int x, int y) {
  Fire(OnMouseDown, this, keys, x, y);
  // Only a plain left press (no other button, no modifier) can become a click.
  clickPending_ = keys == MK_LBUTTON;
}

void TControl::WMButtonUp(int button, int keys, int x, int y) {
  // The flags name the buttons still down; the event names the released one too.
  const int held = keys;
  keys |= button;
  Fire(OnMouseUp, this, keys, x, y);
  if (!clickPending_ || (held & MK_LBUTTON)) return;
  RECT client;
  ::GetClientRect(handle_.Get(), &client);
  ::MapWindowPoints(handle_.Get(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  POINT cursor;
  ::GetCursorPos(&cursor);
  if (!::PtInRect(&client, cursor)) return;
  clickPending_ = false;
  Click(keys, x, y);
}

void TControl::Click(int keys, int x, int y) { Fire(OnClick, this, keys, x, y); }

void TControl::WMButtonDblClk(int, int keys, int x, int y) { Fire(OnDblClick, this, keys, x, y); }

void TControl::WMMouseWheel(int keys, int delta, int x, int y) { Fire(OnMouseWheel, this, keys, delta, x, y); }
