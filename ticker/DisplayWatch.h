// Tells the window when a registry value behind the display preferences
// may have changed: Windows does not always broadcast a change of its Text
// size, nor of the apps' light or dark mode.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

#include "framework/WinHandles.h"

class TDisplayWatch {
 public:
  // Posts `message` to `window` after a change of a value under one of
  // `keyPaths` (under HKEY_CURRENT_USER). A key that does not exist is not
  // watched (and not made: the ticker writes nothing it was not asked to);
  // Windows has both of its keys from version 10 on, and the broadcasts
  // tell of changes too.
  TDisplayWatch(HWND window, UINT message, const std::vector<const wchar_t*>& keyPaths);
  ~TDisplayWatch();
  TDisplayWatch(const TDisplayWatch&) = delete;
  TDisplayWatch& operator=(const TDisplayWatch&) = delete;

  // Asks for the next change of every key whose request was answered.
  // Called on the window's thread, whose life a request is bound to before
  // Windows 8. Each key has one request at a time, and the keys stay open:
  // closing one signals its request, which would start the round again.
  void Arm();
  bool Watching() const { return !keys_.empty(); }

 private:
  struct TKey {
    TDisplayWatch* Owner = nullptr;
    std::atomic<bool> Answered{true};
    UniqueRegKey Key;
    UniqueKernelHandle Event;
    HANDLE Wait = nullptr;
  };
  static void CALLBACK Signalled(void* key, BOOLEAN timedOut);

  HWND window_;
  UINT message_;
  std::vector<std::unique_ptr<TKey>> keys_;
};
