// The top-level per-pixel-alpha window: a layered popup whose whole picture
// is composed from its controls' canvases and handed to the system in one
// call, which copies to the screen only what the frame changed.
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
  // Within Update only what was composed is marked dirty; otherwise, and
  // for the first picture, after a move, a new size, a new opacity or a
  // show, the whole picture is.
  void Present() override;
  // The system call Present makes (UpdateLayeredWindowIndirect, or the
  // whole picture where user32 lacks it); tests replace it to see what
  // reaches the system, prcDirty included.
  using TUpdateLayered = BOOL(WINAPI*)(HWND, const UPDATELAYEREDWINDOWINFO*);
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
  void WMShowWindow(bool shown) override;
  bool WMPrivate(UINT msg) override;

 private:
  void PresentLater(const RECT& area);
  // Whether the system holds a picture that only the composed area differs
  // from: same place, size and opacity as the last one handed over.
  bool ScreenHoldsLast(const POINT& at, const SIZE& size) const;

  bool alwaysTop_ = false;
  bool transparent_ = false;
  bool presentPosted_ = false;
  bool updating_ = false;
  RECT markedArea_{0, 0, 0, 0};
  // The last picture handed over; handed_ false until one was, and after a
  // failure.
  bool handed_ = false;
  POINT handedAt_{0, 0};
  SIZE handedSize_{0, 0};
  BYTE handedOpacity_ = 0;
};
