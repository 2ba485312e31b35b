// Scrolling the news list inside its viewport: wheel, keys, track clicks and
// thumb drags move the list's Top and the thumb, then recomposite.
#include <windows.h>

#include "ticker/MainWindow.h"

TScrollGeometry TMainWindow::ScrollGeometry() const {
  return {NewsList->Height(), ListArea->Height(), Scroller->Height(), Thumb->Height()};
}

void TMainWindow::ScrollBy(int delta) {
  if (!NewsList) return;
  TScrollGeometry g = ScrollGeometry();
  int next = ScrolledTop(NewsList->Top(), delta, g);
  if (next == NewsList->Top()) return;
  NewsList->SetTop(next);
  int thumb = ThumbTopFor(next, g);
  if (thumb >= 0) Thumb->SetTop(thumb);
  Invalidate();
}

void TMainWindow::UpdateScroller() {
  if (!NewsList) return;
  bool needed = ListArea->Height() < NewsList->Height();
  Scroller->SetVisible(needed);
  if (!needed) {
    NewsList->SetTop(0);
    Thumb->SetTop(0);
    DragStartY = 0;
    DragStartTop = 0;
    ::ReleaseCapture();
  }
  Invalidate();
}

void TMainWindow::ScrollKey(WORD key) {
  const int page = ListArea->Height();
  switch (key) {
    case VK_PRIOR: ScrollBy(page); break;
    case VK_NEXT: ScrollBy(-page); break;
    case VK_END: ScrollBy(-1073741823); break;
    case VK_HOME: ScrollBy(1073741823); break;
    case VK_LEFT:
    case VK_UP: ScrollBy(10); break;
    case VK_RIGHT:
    case VK_DOWN: ScrollBy(-10); break;
    default: break;
  }
}

void TMainWindow::TrackClick(int y) {
  if (y <= Thumb->Top())
    ScrollBy(ListArea->Height());
  else if (y >= Thumb->Top() + Thumb->Height())
    ScrollBy(-ListArea->Height());
}

void TMainWindow::ThumbPressed(int keys) {
  if (!(keys & MK_LBUTTON)) return;
  POINT cursor;
  ::GetCursorPos(&cursor);
  DragStartY = cursor.y;
  DragStartTop = Thumb->Top();
}

void TMainWindow::ThumbDragged(int keys) {
  if (!(keys & MK_LBUTTON)) return;
  int before = NewsList->Top();
  POINT cursor;
  ::GetCursorPos(&cursor);
  int thumb = DragStartTop + cursor.y - DragStartY;
  int top = ListTopForThumb(thumb, ScrollGeometry());
  Thumb->SetTop(thumb);
  NewsList->SetTop(top);
  if (NewsList->Top() != before) Invalidate();
}
