// Tells the window when a registry value behind the display preferences
// may have changed: Windows does not always broadcast a change of its Text
// size, nor of the apps' light or dark mode.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/WinHandles.h"

class TDisplayWatch {
 public:
  // Posts `message` to `window` after a change under any of `keyPaths`
  // (under HKEY_CURRENT_USER), once Arm was called after the previous one.
  // A key that does not exist yet is watched for through the nearest one
  // above it that does.
  TDisplayWatch(HWND window, UINT message, std::vector<const wchar_t*> keyPaths);
  ~TDisplayWatch();
  TDisplayWatch(const TDisplayWatch&) = delete;
  TDisplayWatch& operator=(const TDisplayWatch&) = delete;

  // Asks for the next change; called on the window's thread, whose life a
  // request is bound to before Windows 8.
  void Arm();
  bool Watching() const { return wait_ != nullptr; }

 private:
  static void CALLBACK Signalled(void* self, BOOLEAN timedOut);

  HWND window_;
  UINT message_;
  std::vector<const wchar_t*> paths_;
  // Closing a key ends its requests, so each Arm starts from fresh handles.
  std::vector<UniqueRegKey> keys_;
  UniqueKernelHandle event_;
  HANDLE wait_ = nullptr;
};
