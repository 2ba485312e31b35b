// Base of every on-screen object: one control is one window. The single
// framework window procedure finds the control from a window property and
// hands it the message. One table (ControlDispatch.cpp) reads each message's
// parameters into typed arguments, calls the control's handler for it, and
// says whether the system's default procedure sees the message afterwards.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <stdexcept>
#include <exception>
#include <string>

#include "framework/ControlEvents.h"
#include "framework/InputTick.h"
#include "framework/WindowOwner.h"

// A window message as the system delivers it. Only the dispatcher reads it;
// handlers receive typed arguments.
struct TMessage {
  HWND Window;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

// Thrown for misuse of a control, e.g. a child without a parent.
class EInvalidOperation : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The application-wide tooltip window every control's hint is registered
// with; 0 until the tooltip control exists.
extern HWND ApplicationToolTip;

// Window-property name that links a framework window to its control:
// "Widget" and the process id as 8 upper-case hex digits.
const wchar_t* ControlPropertyName();

class TControl {
 public:
  TControl();
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  // "Widget_<n>", n counting the controls of the process from 0.
  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& name) { name_ = name; }

  // The window, created (with its parents' windows) on first use.
  HWND Handle();
  // Adopts another live window as this control's window (no messages reach
  // the control through it).
  void SetHandle(HWND window);
  // The window field itself; never creates.
  HWND WindowHandle() const { return handle_.Get(); }

  std::wstring Caption() const;
  void SetCaption(const std::wstring& caption);

  int Cursor() const { return cursor_; }
  void SetCursor(int index);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value);
  void SetTop(int value);
  void SetWidth(int value);
  void SetHeight(int value);
  // Both at once: one move of the live window.
  void SetSize(int width, int height);
  virtual void SetBounds(int x, int y, int width, int height);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  void SetFocus();

  TControl* Parent() const { return parent_; }
  virtual void SetParent(TControl* parent);
  HWND ParentWindow() const { return parentWindow_; }
  void SetParentWindow(HWND window) { parentWindow_ = window; }
  int ControlCount() const;

  int ClientWidth = 0;
  int ClientHeight = 0;

  DWORD Style() const;
  void SetStyle(DWORD value);
  DWORD ExStyle() const;
  void SetExStyle(DWORD value);

  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  const std::wstring& Hint() const { return hint_; }
  void SetHint(const std::wstring& value);

  int CtrlID = 0;
  // The mouse goes through to the window beneath (decorations on a face
  // that can be dragged).
  bool MouseTransparent = false;

  // Constant alpha of the control's picture: a layered top-level window
  // applies it to the whole window, a layered child to its picture in the
  // parent.
  BYTE Opacity() const { return opacity_; }
  void SetOpacity(BYTE value);

  const std::wstring& ClassNameW() const { return className_; }
  // Only while no window exists.
  void SetClassNameW(const std::wstring& name);

  // Events are for the control's users; a control's own reactions live in
  // its handlers, so assigning an event never replaces them.
  TMouseEvent OnMouseMove, OnMouseEnter, OnMouseLeave, OnMouseHover, OnMouseDown, OnMouseUp, OnClick, OnDblClick;
  TMouseWheelEvent OnMouseWheel;
  TSizeEvent OnSize;
  TSizingEvent OnSizing;
  TMoveEvent OnMove;
  TMovingEvent OnMoving;
  TNotifyEvent OnSetFocus, OnKillFocus;
  TContextMenuEvent OnContextMenu;
  TMouseEvent OnDrag;
  TKeyEvent OnKeyDown, OnKeyUp;
  TCharEvent OnChar;
  TWindowPosChangingEvent OnWindowPosChanging, OnWindowPosChanged;

  virtual void HandleNeeded();
  virtual void DestroyHandle();

  // Brings the control's picture up to date and hands it to its parent (or,
  // for a top-level window, to the system).
  virtual void Repaint() {}
  // Marks the control's picture as out of date; the next presentation of
  // its window paints it again.
  virtual void Invalidate();

  // Delivers a message straight to this control, window or not, as the
  // window procedure would.
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  explicit TControl(const wchar_t* className);

  struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSW WindowClass = {};
    std::wstring ClassName;
  };
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateHandle();
  virtual void DestroyWnd();
  // Prepares params to create a window of an existing (system) class.
  void CreateSubClass(TCreateParams& params, const wchar_t* className);

  // Where the control's opacity takes effect; called after it changed.
  virtual void OpacityChanged() {}
  // A plain left press and release over the control; fires OnClick.
  virtual void Click(int keys, int x, int y);

  // --- message handlers -----------------------------------------------------
  // One per row of the dispatch table; the table, not the handler, decides
  // whether the system's default procedure also sees the message. Where a
  // handler returns bool, true means it answered and the default procedure
  // is skipped.
  virtual void WMCreate() {}
  virtual void WMDestroy() {}
  // Destroys the window.
  virtual void WMClose();
  virtual void WMActivate(WORD /*state*/, HWND /*other*/) {}
  virtual bool WMMouseActivate(WORD /*hitTest*/, WORD /*button*/, int& /*result*/) { return false; }
  virtual void WMTimer(UINT_PTR /*id*/) {}
  virtual bool WMPaint(HDC /*dc*/) { return false; }
  virtual void WMMove(int x, int y);
  virtual void WMSize(int kind, int width, int height);
  virtual void WMSizing(int edge, RECT& r);
  virtual void WMMoving(int edge, RECT& r);
  virtual void WMWindowPosChanging(WINDOWPOS& pos);
  virtual void WMWindowPosChanged(WINDOWPOS& pos);
  // The window now shows at `dpi`; `suggested` is where the system proposes
  // it goes, sized for that DPI. By default the window takes that place.
  virtual void WMDpiChanged(int dpi, const RECT& suggested);
  virtual void WMShowWindow(bool shown);
  virtual void WMSetFocus();
  virtual void WMKillFocus();
  virtual void WMSetText(const wchar_t* text);
  virtual bool WMSetCursor(UINT hitTest);
  virtual void WMContextMenu(int x, int y);
  // Handlers may rewrite the key; the default procedure sees the new one.
  virtual void WMKeyDown(WORD& key, TShiftState shift);
  virtual void WMKeyUp(WORD& key, TShiftState shift);
  // True when the key was taken (the default procedure then never sees it).
  virtual bool WMSysKeyDown(WORD /*key*/, TShiftState /*shift*/) { return false; }
  // UIS_SET / UIS_CLEAR / UIS_INITIALIZE of UISF_* flags.
  virtual void WMUpdateUIState(WORD /*action*/, WORD /*flags*/) {}
  // True with `result` set to answer; false leaves the system's object.
  virtual bool WMGetObject(DWORD /*objectId*/, WPARAM /*flags*/, LRESULT& /*result*/) { return false; }
  // A code set to 0 swallows the character.
  virtual void WMChar(int& code);
  // button: MK_LBUTTON, MK_RBUTTON or MK_MBUTTON; keys: the MK_ flags.
  virtual void WMMouseMove(int keys, int x, int y);
  virtual void WMButtonDown(int button, int keys, int x, int y);
  virtual void WMButtonUp(int button, int keys, int x, int y);
  virtual void WMButtonDblClk(int button, int keys, int x, int y);
  virtual void WMMouseWheel(int keys, int delta, int x, int y);
  virtual void WMMouseHover(int keys, int x, int y);
  virtual void WMMouseLeave();
  // A menu command (from null, code 0) or a control's notification that is
  // not reflected to a control of ours.
  virtual void WMCommand(WORD /*id*/, WORD /*code*/, HWND /*from*/) {}
  // The colours of this control's own system window, asked of its parent
  // and reflected here; brush stays 0 for the system's choice.
  virtual void WMCtlColor(HDC /*dc*/, LRESULT& /*brush*/) {}
  virtual bool WMNotify(NMHDR& /*header*/) { return false; }
  virtual void WMQueryEndSession() {}
  virtual void WMEndSession(bool /*ending*/) {}
  // PBT_* power events (resume from sleep and the like).
  virtual void WMPowerBroadcast(UINT /*event*/) {}
  // WM_SETTINGCHANGE (with the area it names, or null), WM_SYSCOLORCHANGE
  // or WM_THEMECHANGED: something of how programs look may have changed.
  virtual void WMDisplaySettings(UINT /*msg*/, const wchar_t* /*area*/) {}
  // The shell's callback of a notification-area icon: the mouse or balloon
  // message.
  virtual void WMTrayNotify(UINT /*event*/) {}
  // A message numbered WM_USER and above that no row names: the program's
  // own, or a registered one.
  virtual bool WMPrivate(UINT /*msg*/) { return false; }
  virtual void CaptionChanged() {}
  virtual void FontChanged() {}

  static TControl* FromWindow(HWND window);
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  struct TRoute;
  static const TRoute* RouteOf(UINT msg);
  // Runs the message's handler, then the default procedure as the table
  // says; the result is the message's answer.
  LRESULT Deliver(TMessage& m);
  // The default procedure, when the window is there; sets m.Result.
  bool CallDefault(TMessage& m) const;
  void MoveLiveWindow();
  void SendToolInfo(UINT message, UINT flags);
  void ReflectToParent(const TMessage& m);
  bool ReflectToControl(HWND target, TMessage& m);
  void MouseEntered();

  // What a handler threw during its window's creation, raised again by
  // CreateWnd once the system's frames are behind us.
  std::exception_ptr creationError_;
  std::wstring name_;
  std::wstring className_;
  TWindowOwner handle_;
  WNDPROC defaultProc_ = nullptr;
  TControl* parent_ = nullptr;
  HWND parentWindow_ = nullptr;
  std::wstring caption_;  // the caption while no window holds it
  int cursor_ = 0;
  HCURSOR cursorHandle_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 1, height_ = 1;
  bool enabled_ = true;
  bool visible_ = false;
  bool showHint_ = false;
  std::wstring hint_;
  DWORD style_ = 0, exStyle_ = 0;
  BYTE opacity_ = 255;
  bool mouseInside_ = false;
  bool clickPending_ = false;
  POINT lastMove_ = {0, 0};
};
