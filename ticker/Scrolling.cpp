// Scrolling the news list inside its viewport: wheel, keys, track clicks and
// thumb drags move the list's ScrollTop and the thumb, then recomposite.
#include <windows.h>

#include "ticker/MainWindow.h"
#include "widgets/ListScroll.h"

#define KAVRELO_LIST_SCROLL TListScroll{*NewsList, *ListArea, *Scroller, *Thumb, DragStartY, DragStartTop}

TScrollGeometry TMainWindow::ScrollGeometry() const {
  return {NewsList->ListHeight(), ListArea->Height(), Scroller->Height(), Thumb->Height()};
}

int TMainWindow::TopHeadline() const { return NewsList ? NewsList->ItemAtRow(-NewsList->ScrollTop()) : -1; }

void TMainWindow::ScrollBy(int delta) {
  if (!NewsList) return;
  if (KAVRELO_LIST_SCROLL.ScrollBy(delta)) {
    Update();
    NoteShown();
  }
}

void TMainWindow::UpdateScroller() {
  if (!NewsList) return;
  KAVRELO_LIST_SCROLL.Fit();
  Update();
}

void TMainWindow::TrackClick(int y) {
  if (!NewsList) return;
  if (KAVRELO_LIST_SCROLL.TrackClick(y)) {
    Update();
    NoteShown();
  }
}

void TMainWindow::ThumbPressed(int keys) {
  if (!NewsList) return;
  KAVRELO_LIST_SCROLL.ThumbPressed(keys);
}

void TMainWindow::ThumbDragged(int keys) {
  if (!NewsList) return;
  if (KAVRELO_LIST_SCROLL.ThumbDragged(keys)) {
    Update();
    NoteShown();
  }
}
