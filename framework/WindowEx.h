// The top-level per-pixel-alpha window: a layered popup whose whole picture
// is composed from its controls' canvases and handed to the system in one
// UpdateLayeredWindow call.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/ControlEx.h"

enum TCloseAction { caNone = 0, caHide = 1, caFree = 2, caMinimize = 3 };

using TCloseEvent = std::function<void(TControl* sender, TCloseAction& action)>;
using TActivateEvent = std::function<void(TControl* sender, WORD activation, HWND window)>;
using TMouseActivateEvent = std::function<void(TControl* sender, WORD hitTest, WORD mouseButton, int& result)>;
using TTimerEvent = std::function<void(TControl* sender, int timerId)>;

class TWindowEx : public TControlEx {
 public:
  TWindowEx();
  explicit TWindowEx(const wchar_t* className);

  bool AlwaysTop() const { return alwaysTop_; }
  // Keeps the window above non-topmost windows; brings it to the front.
  void SetAlwaysTop(bool value);
  bool Transparent() const { return transparent_; }
  // Lets mouse input pass through the window.
  void SetTransparent(bool value);

  TNotifyEvent OnCreate, OnDestroy, OnDeactivate, OnShow, OnHide, OnResize;
  TCloseEvent OnClose;
  TActivateEvent OnActivate;
  TMouseActivateEvent OnMouseActivate;
  TTimerEvent OnTimer;

  // Hands the canvas to the system at (Left, Top) with the window's Opacity.
  void Present() override;
  // The system call Present makes; tests replace it to see what reaches the
  // system.
  using TUpdateLayered = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
  static TUpdateLayered UpdateLayered;
  // Repaints the whole window now, unless a repaint is running.
  void Invalidate() override;
  void Update() override { Repaint(); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;
  void WMSize(TMessage& m) override;
  void WMShowWindow(TMessage& m) override;
  void WMDestroy(TMessage& m) override;

  // WM_CLOSE: OnClose decides; by default the window is destroyed.
  virtual void DoClose();
  virtual void WMActivate(TMessage& m);
  virtual void WMMouseActivate(TMessage& m);
  virtual void WMTimer(TMessage& m);
  // Runs once the window exists, after OnCreate.
  virtual void AfterCreate() {}

 private:
  bool alwaysTop_ = false;
  bool transparent_ = false;
};
