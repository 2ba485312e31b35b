// The classic, GDI-painted control family: a child control painted through
// WM_PAINT (TWinControl) and a top-level GDI window (TWindow). Here they carry
// the tooltip and the tray icon's hidden host window; the layered, ARGB
// controls are TControlEx and TWindowEx.
#pragma once

#include <windows.h>

#include "framework/Control.h"
#include "framework/GdiTools.h"
#include "framework/TopLevel.h"

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

  // Invalidates (and erases) the whole client area of a live window.
  void Invalidate() override;

 protected:
  explicit TWinControl(const wchar_t* className);
  // TControl's, then the control's font goes to its own window (WM_SETFONT).
  void CreateWnd() override;

 private:
  TCanvas canvas_;
  TFont font_;
  TSolidBrush brush_{0x008000};
  TPen pen_;
};

class TWindow : public TTopLevel<TWinControl> {
 public:
  TWindow();

 protected:
  explicit TWindow(const wchar_t* className);
  void CreateParams(TCreateParams& params) override;
  // Constant alpha of a layered window; ignored by windows that are not.
  void OpacityChanged() override;
  // Paints through the canvas: its tools take over the window's, then Repaint.
  bool WMPaint(HDC dc) override;
  // Fills the client area with the window's brush; windows that draw more
  // override it and call this first.
  void Repaint() override;
};
