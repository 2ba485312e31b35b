// A control that never paints on screen by itself: it renders into its own
// off-screen canvas, and the framework composites the canvases of a window's
// controls, children over parents, into the top-level window's canvas.
#pragma once

#include <memory>

#include "framework/CanvasEx.h"
#include "framework/Control.h"

class TControlEx : public TControl {
 public:
  TControlEx();
  ~TControlEx() override;

  TCanvasEx& Canvas() { return *canvas_; }
  TFontEx& Font() { return canvas_->Font(); }
  // Constant alpha of this control's picture in its parent; takes effect at
  // the next repaint.
  BYTE Opacity = 255;
  TNotifyEvent OnPaint;

  // Paints the control (unless cached or locked), then its visible children
  // bottom-up, then presents the result to the parent.
  void Repaint() override;
  // Clears the canvas, then OnPaint; widgets draw after calling this.
  void Paint() override;
  // Composites this control's picture into its parent's canvas.
  void Present() override;
  void Update() override {}

 protected:
  explicit TControlEx(const wchar_t* className);
  void CreateHandle() override;
  void WMSize(TMessage& m) override;
  bool Painting() const { return painting_; }

 private:
  void PaintChildren();

  std::unique_ptr<TCanvasEx> canvas_;
  bool painting_ = false;
};
