// One window timer: WM_TIMER with the timer's id reaches the window's own
// message handling every Interval milliseconds while the timer is active.
#pragma once

#include <windows.h>

class TWinTimer {
 public:
  TWinTimer(HWND window, unsigned interval, UINT_PTR timerId)
      : WindowHandle(window), Interval(interval), TimerID(timerId) {}
  ~TWinTimer() { Stop(); }
  TWinTimer(const TWinTimer&) = delete;
  TWinTimer& operator=(const TWinTimer&) = delete;

  // Nothing happens unless the window exists; Start on a running timer (or
  // Stop on a stopped one) keeps its phase.
  void Start();
  void Stop();
  // Enabled := value. Restarting a timer begins a full new period.
  void SetEnabled(bool value);

  bool Active() const { return active_; }
  HWND WindowHandle;
  unsigned Interval;
  UINT_PTR TimerID;

 private:
  bool active_ = false;
};
