// What every top-level window of the program shares, plain (the tray icon's
// host) or layered (the ticker): one creation order, one way to close, and
// the activation, timer, size and visibility events. TBase is the control
// family the window belongs to.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/Control.h"

enum TCloseAction { caNone = 0, caHide = 1, caFree = 2, caMinimize = 3 };

using TCloseEvent = std::function<void(TControl* sender, TCloseAction& action)>;
using TActivateEvent = std::function<void(TControl* sender, WORD activation, HWND window)>;
using TMouseActivateEvent = std::function<void(TControl* sender, WORD hitTest, WORD mouseButton, int& result)>;
using TTimerEvent = std::function<void(TControl* sender, int timerId)>;

template <class TBase>
class TTopLevel : public TBase {
 public:
  using TBase::TBase;

  TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnResize;
  TCloseEvent OnClose;
  TActivateEvent OnActivate;
  TMouseActivateEvent OnMouseActivate;
  TTimerEvent OnTimer;

 protected:
  // The window's own set-up, once it exists: after its opacity has taken
  // effect and after OnCreate.
  virtual void AfterCreate() {}
  // WM_CLOSE: OnClose decides; by default the window is destroyed.
  virtual void DoClose() {
    TCloseAction action = caFree;
    if (OnClose) OnClose(this, action);
    if (action == caHide)
      this->SetVisible(false);
    else if (action == caFree)
      TBase::WMClose();
  }

  void WMCreate() override {
    TBase::WMCreate();
    this->OpacityChanged();
    if (OnCreate) OnCreate(this);
    AfterCreate();
  }
  void WMDestroy() override {
    TBase::WMDestroy();
    if (OnDestroy) OnDestroy(this);
  }
  void WMClose() override { DoClose(); }
  void WMActivate(WORD state, HWND other) override {
    if (OnActivate) OnActivate(this, state, other);
  }
  bool WMMouseActivate(WORD hitTest, WORD button, int& result) override {
    if (OnMouseActivate) OnMouseActivate(this, hitTest, button, result);
    return true;
  }
  void WMTimer(UINT_PTR id) override {
    if (OnTimer) OnTimer(this, static_cast<int>(id));
  }
  void WMSize(int kind, int width, int height) override {
    TBase::WMSize(kind, width, height);
    if (OnResize) OnResize(this);
  }
  void WMShowWindow(bool shown) override {
    TBase::WMShowWindow(shown);
    const TNotifyEvent& event = shown ? OnShow : OnHide;
    if (event) event(this);
  }
};
