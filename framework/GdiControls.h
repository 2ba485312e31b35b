// The classic, GDI-painted control family: a child control painted through
// WM_PAINT (TWinControl) and a top-level GDI window (TWindow). Here they carry
// the tooltip and the tray icon's hidden host window; the layered, ARGB
// controls are TControlEx and TWindowEx.
#pragma once

#include <windows.h>

#include "framework/Control.h"
#include "framework/GdiTools.h"
#include "framework/WindowEx.h"  // TCloseAction and the window event types

class TWinControl : public TControl {
 public:
  TWinControl();

  TCanvas& Canvas() { return canvas_; }
  TFont& Font() { return font_; }
  TSolidBrush& Brush() { return brush_; }
  TPen& Pen() { return pen_; }
  // The brush's colour.
  TColor Color() const { return brush_.Color(); }
  void SetColor(TColor value) { brush_.SetColor(value); }
  // Kept for the owner; a plain control does not use it (TWindow applies it).
  BYTE Opacity() const { return opacity_; }
  virtual void SetOpacity(BYTE value) { opacity_ = value; }

  // Invalidates (and erases) the whole client area of a live window.
  void Refresh() override;

 protected:
  explicit TWinControl(const wchar_t* className);
  // TControl's, then the control's font goes to its own window (WM_SETFONT).
  void CreateWnd() override;
  void Dispatch(TMessage& m) override;
  virtual void WMPaint(TMessage& m) { DefaultHandler(m); }
  virtual void WMNCPaint(TMessage& m) { DefaultHandler(m); }
  virtual void WMEraseBkgnd(TMessage& m) { DefaultHandler(m); }

 private:
  TCanvas canvas_;
  TFont font_;
  TSolidBrush brush_{0x008000};
  TPen pen_;

 protected:
  BYTE opacity_ = 255;
};

class TWindow : public TWinControl {
 public:
  TWindow();

  TNotifyEvent OnCreate;
  TCloseEvent OnClose;
  TActivateEvent OnActivate;
  TMouseActivateEvent OnMouseActivate;
  TTimerEvent OnTimer;
  // Fires on WM_DESTROY.
  TNotifyEvent OnDestroy;

  // Constant alpha of a layered window; ignored by windows that are not.
  void SetOpacity(BYTE value) override;

 protected:
  explicit TWindow(const wchar_t* className);
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& m) override;
  void WMDestroy(TMessage& m) override;
  // Paints through the canvas: its tools take over the window's, then Repaint.
  void WMPaint(TMessage& m) override;
  // Fills the client area with the window's brush; windows that draw more
  // override it and call this first.
  void Repaint() override;

  // WM_CLOSE: OnClose decides; by default the window is destroyed.
  virtual void DoClose();
  virtual void WMActivate(TMessage& m);
  virtual void WMMouseActivate(TMessage& m);
  virtual void WMTimer(TMessage& m);
  // Runs once the window exists: applies Opacity, then OnCreate.
  virtual void AfterCreate();

 private:
  void ApplyOpacity();
};
