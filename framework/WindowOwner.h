// The one owner of a control's window. DestroyWindow is called from here
// and nowhere else; a window the system destroyed by itself (with its parent
// or its thread) is forgotten when its last message, WM_NCDESTROY, arrives.
#pragma once

#include <windows.h>

#include <utility>

class TWindowOwner {
 public:
  TWindowOwner() = default;
  ~TWindowOwner() { Destroy(); }
  TWindowOwner(const TWindowOwner&) = delete;
  TWindowOwner& operator=(const TWindowOwner&) = delete;

  HWND Get() const { return window_; }
  bool Live() const { return window_ != nullptr && ::IsWindow(window_); }
  explicit operator bool() const { return window_ != nullptr; }

  // Takes a window that nobody owns yet (one just created, or one adopted).
  void Adopt(HWND window) { window_ = window; }
  // Destroys the window (its messages, WM_NCDESTROY last, arrive on the
  // way) and forgets it; false when the system refused.
  bool Destroy() {
    if (window_ == nullptr) return true;
    if (!::IsWindow(window_)) {
      window_ = nullptr;
      return true;
    }
    if (!::DestroyWindow(window_)) return false;
    window_ = nullptr;
    return true;
  }
  // The window is gone or going by the system's hand.
  void Forget(HWND window) {
    if (window_ == window) window_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
};
