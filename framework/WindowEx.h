// The top-level per-pixel-alpha window: a layered popup whose whole picture
// is rendered off screen and handed to the system in one UpdateLayeredWindow.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Control.h"
#include "framework/WinHandles.h"

class TWindowEx : public TControl {
 public:
  TWindowEx();
  ~TWindowEx() override;

  // Constant alpha of the whole window; takes effect at the next Present.
  BYTE Opacity = 255;
  void SetAlwaysTop(bool value);
  bool AlwaysTop() const { return alwaysTop_; }

  // Renders the picture into the off-screen surface.
  void Paint() override;
  // Hands the surface to the system at (Left, Top) with Opacity.
  void Present() override;
  // Paint and Present; a request during a running pass is dropped.
  void Invalidate() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;

  // WM_CLOSE: destroys the window.
  virtual void DoClose();
  virtual void WMTimer(TMessage& message);
  // Runs once the window exists (end of WM_CREATE).
  virtual void AfterCreate() {}
  // Draws the window's face into premultiplied 0xAARRGGBB pixels, top-down,
  // Width * Height of them, also reachable through the memory DC.
  virtual void Render(std::uint32_t* pixels, HDC dc);

  void EnsureSurface();

 private:
  bool alwaysTop_ = false;
  bool painting_ = false;
  UniqueMemoryDc dc_;
  UniqueGdiObject bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
  int surfaceWidth_ = 0, surfaceHeight_ = 0;
};
