// Base of every on-screen object: one control is one window. The single
// framework window procedure finds the control from a window property and
// hands it the message; every message becomes a virtual handler and, where
// one exists, an event.
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <exception>
#include <string>

#include "framework/ControlEvents.h"
#include "framework/InputTick.h"

// The message record every handler receives.
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
  HWND WindowHandle() const { return handle_; }

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
  // Paint-pipeline switches of the layered controls.
  bool Redraw = true;
  // The mouse goes through to the window beneath (decorations on a face
  // that can be dragged).
  bool MouseTransparent = false;
  bool Cached = false;
  bool Locked = false;

  const std::wstring& ClassNameW() const { return className_; }
  // Only while no window exists.
  void SetClassNameW(const std::wstring& name);

  TMouseEvent OnMouseMove, OnMouseEnter, OnMouseLeave, OnMouseHover, OnMouseDown, OnMouseUp, OnClick, OnDblClick;
  TMouseWheelEvent OnMouseWheel;
  TSizeEvent OnSize;
  TSizingEvent OnSizing;
  TMoveEvent OnMove;
  TMovingEvent OnMoving;
  TNotifyEvent OnSysTimer, OnSetFocus, OnKillFocus;
  TContextMenuEvent OnContextMenu;
  TMouseEvent OnDrag;
  TKeyEvent OnKeyDown, OnKeyUp;
  TCharEvent OnChar;
  TKeyPressEvent OnKeyPress;
  TWindowPosChangingEvent OnWindowPosChanging, OnWindowPosChanged;

  virtual void DefaultHandler(TMessage& message);
  virtual void Dispatch(TMessage& message);
  virtual void HandleNeeded();
  virtual void DestroyHandle();

  virtual void Refresh() { Repaint(); }
  virtual void Repaint() {}
  virtual void Update() {}
  virtual void Paint() {}
  virtual void Present() {}
  virtual void Invalidate();

  // Sends a message straight to this control's dispatcher, window or not.
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
  virtual void DestroyWindowHandle();
  // Prepares params to create a window of an existing (system) class.
  void CreateSubClass(TCreateParams& params, const wchar_t* className);

  virtual void WMCreate(TMessage& m);
  virtual void WMDestroy(TMessage& m);
  virtual void WMSetCursor(TMessage& m);
  virtual void WMMouseHover(TMessage& m);
  virtual void MouseEntered(TMessage& m);
  virtual void WMMouseLeave(TMessage& m);
  virtual void WMMouseMove(TMessage& m);
  virtual void WMButtonDown(TMessage& m);
  virtual void WMButtonUp(TMessage& m);
  virtual void WMMouseWheel(TMessage& m);
  virtual void WMButtonDblClk(TMessage& m);
  virtual void WMSize(TMessage& m);
  virtual void WMSizing(TMessage& m);
  virtual void WMMove(TMessage& m);
  virtual void WMMoving(TMessage& m);
  virtual void WMSysTimer(TMessage& m);
  virtual void WMSetFocus(TMessage& m);
  virtual void WMKillFocus(TMessage& m);
  virtual void WMShowWindow(TMessage& m);
  virtual void WMGetDlgCode(TMessage& m);
  virtual void WMCancelMode(TMessage& m);
  virtual void WMWindowPosChanged(TMessage& m);
  virtual void WMWindowPosChanging(TMessage& m);
  virtual void WMNCHitTest(TMessage& m);
  virtual void WMGetText(TMessage& m);
  virtual void WMGetTextLength(TMessage& m);
  virtual void WMSetText(TMessage& m);
  virtual void WMHScroll(TMessage& m);
  virtual void WMVScroll(TMessage& m);
  virtual void WMNotify(TMessage& m);
  virtual void WMCtlColor(TMessage& m);
  virtual void WMChar(TMessage& m);
  virtual void WMKeyDown(TMessage& m);
  virtual void WMKeyUp(TMessage& m);
  virtual void WMContextMenu(TMessage& m);
  virtual void WMCommand(TMessage& m);
  virtual void WMDrawItem(TMessage& m);
  virtual void WMMeasureItem(TMessage& m);
  virtual void CaptionChanged(TMessage& m);
  virtual void FontChanged(TMessage& m);

  static TControl* FromWindow(HWND window);
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void MoveLiveWindow();
  void SendToolInfo(UINT message, UINT flags);
  void ReflectToParent(TMessage& m);
  bool ReflectToControl(HWND target, TMessage& m);

  // What a handler threw during its window's creation, raised again by
  // CreateWnd once the system's frames are behind us.
  std::exception_ptr creationError_;
  std::wstring name_;
  std::wstring className_;
  HWND handle_ = nullptr;
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
  bool mouseInside_ = false;
  bool clickPending_ = false;
  POINT lastMove_ = {0, 0};
};
