// Scrolling the news list inside its viewport with the skinned scroll bar:
// what a wheel notch, a key, a track click or a thumb drag does to the
// list's ScrollTop and the thumb. It works on the live controls, so the same code
// serves the ticker and the tests that drive the widgets with messages.
#pragma once

#include <windows.h>

#include "framework/Control.h"
#include "widgets/ContentEx.h"
#include "widgets/ScrollMath.h"

struct TListScroll {
  TContentEx& List;
  TControl& Viewport;
  TControl& Track;
  TControl& Thumb;
  // Where a thumb drag started: the cursor's screen row and the thumb's Top.
  int& DragStartY;
  int& DragStartTop;

  TScrollGeometry Geometry() const;
  // Each returns whether the list moved (the face then needs compositing).
  bool ScrollBy(int delta);
  bool Key(WORD key);
  bool TrackClick(int y);
  void ThumbPressed(int keys);
  bool ThumbDragged(int keys);
  // After a new layout: shows the track only for a list taller than the
  // viewport, and keeps the list's ScrollTop inside the new list, the thumb
  // following; a thumb that already matches it stays where it is.
  void Fit();
};
