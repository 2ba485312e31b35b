#include "widgets/ScrollWidgets.h"

void TBitmapControlEx::Paint() {
  TControlEx::Paint();
  if (bitmap_) Canvas().Draw(*bitmap_, 0, 0);
}

void TThumbEx::WMButtonDown(int button, int keys, int x, int y) {
  ::SetCapture(WindowHandle());
  // Keys go to the window, which keeps the focus for the whole face.
  ::SetFocus(::GetAncestor(WindowHandle(), GA_ROOT));
  TBitmapControlEx::WMButtonDown(button, keys, x, y);
}

void TThumbEx::WMButtonUp(int button, int keys, int x, int y) {
  ::ReleaseCapture();
  TBitmapControlEx::WMButtonUp(button, keys, x, y);
}
