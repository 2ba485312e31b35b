// The top-level per-pixel-alpha window: a layered popup whose whole picture
// is composed from its controls' canvases and handed to the system in one
// UpdateLayeredWindow call.
#pragma once

#include <windows.h>

#include "framework/ControlEx.h"
#include "framework/TopLevel.h"

class TWindowEx : public TTopLevel<TControlEx> {
 public:
  TWindowEx();
  explicit TWindowEx(const wchar_t* className);

  bool AlwaysTop() const { return alwaysTop_; }
  // Keeps the window above non-topmost windows; brings it to the front.
  void SetAlwaysTop(bool value);
  bool Transparent() const { return transparent_; }
  // Lets mouse input pass through the window.
  void SetTransparent(bool value);

  // Hands the canvas to the system at (Left, Top) with the window's Opacity.
  void Present() override;
  // The system call Present makes; tests replace it to see what reaches the
  // system.
  using TUpdateLayered = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
  static TUpdateLayered UpdateLayered;
  // Marks the window's own picture; it is presented with whatever else is
  // marked once the window's messages are next handled, or at Update.
  void Invalidate() override;
  // Presents now: paints what is marked and composes the rest from the
  // pictures kept. Does nothing inside a presentation.
  void Update();
  // What was marked since the last presentation, in client coordinates;
  // empty when nothing was.
  RECT MarkedArea() const { return markedArea_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void OpacityChanged() override;
  void ChildChanged(const RECT& area) override;
  bool WMPrivate(UINT msg) override;

 private:
  void PresentLater(const RECT& area);

  bool alwaysTop_ = false;
  bool transparent_ = false;
  bool presentPosted_ = false;
  RECT markedArea_{0, 0, 0, 0};
};
