// Tells the window when the machine's network addresses change: a cable
// plugged in, Wi-Fi joined, a VPN up or down. The window then looks
// whether the news needs catching up.
#pragma once

#include <windows.h>

#include "framework/WinHandles.h"

class TNetworkWatch {
 public:
  // Posts `message` to `window` after each change, once Arm was called
  // after the previous one. Watches nothing where the system cannot tell.
  TNetworkWatch(HWND window, UINT message);
  ~TNetworkWatch();
  TNetworkWatch(const TNetworkWatch&) = delete;
  TNetworkWatch& operator=(const TNetworkWatch&) = delete;

  // Asks for the next change; called on the window's thread, so the
  // request lives as long as the thread that owns the window.
  void Arm();
  bool Watching() const { return wait_ != nullptr; }

 private:
  static void CALLBACK Signalled(void* self, BOOLEAN timedOut);

  HWND window_;
  UINT message_;
  UniqueKernelHandle event_;
  OVERLAPPED overlapped_{};
  HANDLE wait_ = nullptr;
  bool pending_ = false;
};
