#include "widgets/ScrollWidgets.h"

void TBitmapControlEx::Paint() {
  TControlEx::Paint();
  if (bitmap_) Canvas().Draw(*bitmap_, 0, 0);
}

void TThumbEx::WMButtonDown(TMessage& m) {
  ::SetCapture(m.Window);
  SetFocus();
  TBitmapControlEx::WMButtonDown(m);
}

void TThumbEx::WMButtonUp(TMessage& m) {
  ::ReleaseCapture();
  TBitmapControlEx::WMButtonUp(m);
}
