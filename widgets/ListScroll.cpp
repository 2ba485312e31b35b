#include "widgets/ListScroll.h"

TScrollGeometry TListScroll::Geometry() const {
  return {List.ListHeight(), Viewport.Height(), Track.Height(), Thumb.Height()};
}

bool TListScroll::ScrollBy(int delta) {
  TScrollGeometry g = Geometry();
  int next = ScrolledTop(List.ScrollTop(), delta, g);
  if (next == List.ScrollTop()) return false;
  List.SetScrollTop(next);
  int thumb = ThumbTopFor(next, g);
  if (thumb >= 0) Thumb.SetTop(thumb);
  return true;
}

bool TListScroll::Key(WORD key) {
  const int page = Viewport.Height();
  const int line = List.Scale().Px(10);
  switch (key) {
    case VK_PRIOR: return ScrollBy(page);
    case VK_NEXT: return ScrollBy(-page);
    case VK_END: return ScrollBy(-1073741823);
    case VK_HOME: return ScrollBy(1073741823);
    case VK_LEFT:
    case VK_UP: return ScrollBy(line);
    case VK_RIGHT:
    case VK_DOWN: return ScrollBy(-line);
    default: return false;
  }
}

bool TListScroll::TrackClick(int y) {
  if (y <= Thumb.Top()) return ScrollBy(Viewport.Height());
  if (y >= Thumb.Top() + Thumb.Height()) return ScrollBy(-Viewport.Height());
  return false;
}

void TListScroll::ThumbPressed(int keys) {
  if (!(keys & MK_LBUTTON)) return;
  POINT cursor;
  ::GetCursorPos(&cursor);
  DragStartY = cursor.y;
  DragStartTop = Thumb.Top();
}

bool TListScroll::ThumbDragged(int keys) {
  if (!(keys & MK_LBUTTON)) return false;
  int before = List.ScrollTop();
  POINT cursor;
  ::GetCursorPos(&cursor);
  int thumb = DragStartTop + cursor.y - DragStartY;
  int top = ListTopForThumb(thumb, Geometry());
  Thumb.SetTop(thumb);
  List.SetScrollTop(top);
  return List.ScrollTop() != before;
}

void TListScroll::Fit() {
  bool needed = Viewport.Height() < List.ListHeight();
  Track.SetVisible(needed);
  if (!needed) {
    List.SetScrollTop(0);
    Thumb.SetTop(0);
    DragStartY = 0;
    DragStartTop = 0;
    ::ReleaseCapture();
    return;
  }
  // A shorter list would otherwise leave empty rows under its last item.
  TScrollGeometry g = Geometry();
  int top = ScrolledTop(List.ScrollTop(), 0, g);
  List.SetScrollTop(top);
  int thumb = Thumb.Top();
  if (ListTopForThumb(thumb, g) == top && thumb == Thumb.Top()) return;
  thumb = ThumbTopFor(top, g);
  if (thumb >= 0) Thumb.SetTop(thumb);
}
