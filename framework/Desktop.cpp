#include "framework/Desktop.h"

TDesktop::TDesktop() : dc_(::GetDC(nullptr)) {}

bool TDesktop::GetWorkArea(RECT& r) const {
  RECT area;
  if (::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) && area.right > area.left && area.bottom > area.top) {
    r = area;
    return true;
  }
  r = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  return false;
}

RECT TDesktop::WorkArea() const {
  RECT r;
  GetWorkArea(r);
  return r;
}
