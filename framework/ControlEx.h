// A control that never paints on screen by itself: it renders into its own
// off-screen canvas, and its window's canvas is composed from its controls'
// canvases, children over parents.
//
// Pictures are kept between presentations. Invalidate marks a control whose
// picture is out of date, and with it every parent, whose canvas holds the
// child's picture; the next presentation paints exactly the marked controls
// and composes the others from what their canvases already hold. A change
// of place, visibility or opacity marks only the parent.
#pragma once

#include <memory>

#include "framework/CanvasEx.h"
#include "framework/Control.h"
#include "framework/Scale.h"

class TControlEx : public TControl {
 public:
  TControlEx();
  ~TControlEx() override;

  TCanvasEx& Canvas() { return *canvas_; }
  // Changing the font does not mark the picture: controls switch their
  // canvas's font as they paint and measure. A widget whose look follows
  // its font marks itself (TSkinText).
  TFontEx& Font() { return canvas_->Font(); }
  TNotifyEvent OnPaint;

  // The display scale of the window the control is shown in. A control
  // takes its parent's when it gets one; the window hands a new scale down
  // to every control under it.
  const TScale& Scale() const { return scale_; }
  void SetScale(const TScale& scale);
  void SetParent(TControl* parent) override;

  // A dotted frame over the control's picture: the keyboard focus is on
  // it, and focus rectangles show.
  void SetFocusShown(bool shown);
  bool FocusShown() const { return focusShown_; }

  void Invalidate() override;
  // Whether the picture waits to be painted again.
  bool Marked() const { return marked_; }

  // Paints the control if it is marked, composes its visible children into
  // it (each composing itself first), then presents the result to the
  // parent.
  void Repaint() override;
  // Clears the canvas, then OnPaint; widgets draw after calling this.
  virtual void Paint();
  // Composites this control's picture into its parent's canvas.
  virtual void Present();

 protected:
  explicit TControlEx(const wchar_t* className);
  void CreateHandle() override;
  void WMSize(int kind, int width, int height) override;
  void WMMove(int x, int y) override;
  void WMShowWindow(bool shown) override;
  void OpacityChanged() override;
  void CaptionChanged() override;
  // A child's picture, place or visibility changed within area (window
  // coordinates): this picture, which holds the child's, must be composed
  // again.
  virtual void ChildChanged(const RECT& area);
  // Called as the control is composed, before a marked picture is painted:
  // a control whose kept picture needs only part of it drawn (rows scrolled
  // into view) draws that here, or marks the picture to have it painted.
  virtual void Freshen() {}
  // The scale changed: the canvas font is made for the new DPI. A widget
  // with lengths of its own adjusts them here and marks itself.
  virtual void ScaleChanged();
  // Draws the focus frame over the composed picture.
  virtual void PaintFocus();
  // Marks the picture without telling the parent; for Freshen, and for a
  // window's own picture.
  void MarkOwnPicture() { marked_ = true; }
  bool Painting() const { return painting_; }
  // The picture's place or visibility in the parent changed: only the
  // parent must be composed again.
  void PlacementChanged();
  // This control's rectangle in its top-level window's client area.
  RECT AreaInWindow() const;

 private:
  void ComposeChildren();
  void TellParent(const RECT& area);

  std::unique_ptr<TCanvasEx> canvas_;
  TScale scale_;
  bool painting_ = false;
  bool marked_ = true;
  bool focusShown_ = false;
};
