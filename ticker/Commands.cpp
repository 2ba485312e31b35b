// Closing the ticker: the fade-out, and the clean-up that must finish before
// the window goes away.
#include <windows.h>

#include "ticker/MainWindow.h"

void TMainWindow::FadeIn(int step, DWORD delay) {
  if (!Visible()) SetVisible(true);
  while (Opacity + step < 255) {
    Opacity = static_cast<BYTE>(Opacity + step);
    Present();
    ::Sleep(delay);
  }
  Opacity = 255;
  Invalidate();
}

void TMainWindow::FadeOut(int step, DWORD delay) {
  while (Opacity - step > 0) {
    Opacity = static_cast<BYTE>(Opacity - step);
    Present();
    ::Sleep(delay);
  }
  SetVisible(false);
}

void TMainWindow::CloseTicker() {
  Closing = true;
  FadeOut(4, 1);
  ::SendMessageW(WindowHandle(), WM_CLOSE, 0, 0);
}

void TMainWindow::CleanUp() {
  if (cleanedUp_) return;
  cleanedUp_ = true;
  // Workers first: each one may still be on the network (bounded by its
  // time-outs); freeing it waits for its thread.
  FeedThread.reset();
  UpdateThread.reset();
  CounterThread.reset();
  // Timers in this order, each stopped and freed.
  for (auto* timer : {&RefreshTimer, &ThrobberTimer, &StartupTimer, &TrimTimer, &CounterTimer}) {
    if (*timer) (*timer)->SetEnabled(false);
    timer->reset();
  }
  MenuHandle.Reset();
  IconHandle.Reset();
}
