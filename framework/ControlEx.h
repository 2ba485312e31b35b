// A control that never paints on screen by itself: it renders into its own
// off-screen canvas, and its window's canvas is composed from its controls'
// canvases, children over parents.
//
// Pictures are kept between presentations. Invalidate marks a control whose
// picture is out of date, and with it the area it covers in every parent,
// whose canvas holds the child's picture; the next presentation paints
// exactly the marked controls and, in each canvas, only the marked area: the
// canvas is clipped to it and only the children that meet it are composed
// again. A change of place, visibility or opacity marks only the parent,
// where the picture was and where it goes.
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
  const TCanvasEx& Canvas() const { return *canvas_; }
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
  // Marks only Area of the picture (canvas coordinates): the rest of the
  // canvas is kept, and the parents compose again only what Area covers.
  void InvalidateArea(const RECT& area);
  // Whether the picture waits to be painted again (some of it, or a child's).
  bool Marked() const { return marked_; }
  // What of the canvas the next presentation paints again; empty when only
  // children's pictures wait.
  RECT MarkedPart() const { return dirty_; }

  // Paints the marked part of the control's canvas, composes there the
  // visible children that meet it (each composing itself first), then
  // presents the result to the parent.
  void Repaint() override;
  // Clears the canvas, then OnPaint; widgets draw after calling this. In a
  // presentation the canvas is clipped to PaintArea, so a widget may draw
  // all of itself; one whose drawing depends on more than its state must
  // look at PaintArea.
  virtual void Paint();
  // Composites this control's picture into its parent's canvas.
  virtual void Present();
  // Where Present puts the canvas's origin in the parent, and what of the
  // parent the picture may cover (parent coordinates).
  virtual POINT PictureOrigin() const { return POINT{Left(), Top()}; }
  virtual RECT ShownArea() const;

 protected:
  explicit TControlEx(const wchar_t* className);
  void CreateHandle() override;
  void WMSize(int kind, int width, int height) override;
  void WMMove(int x, int y) override;
  void WMShowWindow(bool shown) override;
  void OpacityChanged() override;
  void CaptionChanged() override;
  // A child's picture, place or visibility changed within area (this
  // control's canvas coordinates): this picture, which holds the child's,
  // must be composed again there.
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
  // Marks the whole picture without telling the parent; for Freshen, and
  // for a window's own picture.
  void MarkOwnPicture();
  bool Painting() const { return painting_; }
  // The part of the canvas the current Paint draws; the whole canvas
  // outside a presentation.
  RECT PaintArea() const { return canvas_->ClipArea(); }
  // What the last Repaint painted of this canvas (canvas coordinates).
  RECT ComposedArea() const { return composed_; }
  // The picture's place or visibility in the parent changed: only the
  // parent must be composed again, where the picture was and is.
  void PlacementChanged();

 private:
  void ComposeChildren(const RECT& area);
  // Area in this control's canvas coordinates, told to the parent in its own.
  void TellParent(const RECT& area);
  void MarkPart(const RECT& area);
  RECT WholeCanvas() const;
  // Where the picture lies in the parent now and where the parent last
  // received it: what a change of place must have composed again.
  RECT PlacesInParent() const;

  std::unique_ptr<TCanvasEx> canvas_;
  TScale scale_;
  bool painting_ = false;
  bool marked_ = true;
  bool focusShown_ = false;
  RECT dirty_{0, 0, 0, 0};
  RECT composed_{0, 0, 0, 0};
  RECT presentedAt_{0, 0, 0, 0};
};
