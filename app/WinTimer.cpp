#include "app/WinTimer.h"

void TWinTimer::Start() {
  if (::IsWindow(WindowHandle) && !active_) {
    ::SetTimer(WindowHandle, TimerID, Interval, nullptr);
    active_ = true;
  }
}

void TWinTimer::Stop() {
  if (::IsWindow(WindowHandle) && active_) {
    ::KillTimer(WindowHandle, TimerID);
    active_ = false;
  }
}

void TWinTimer::SetEnabled(bool value) {
  if (value == active_) return;
  if (value)
    Start();
  else
    Stop();
}
