#include "app/ProcessHelpers.h"

#include <windows.h>

#include "framework/WinHandles.h"

bool ProcessMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The quit belongs to the main loop, which is below us on the stack:
      // put it back and stop, or the process would live on without a window.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return true;
}

void TrimWorkingSet() {
  UniqueKernelHandle process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, ::GetCurrentProcessId()));
  if (process) {
    // (SIZE_T)-1 for both limits means "remove as many pages as possible".
    ::SetProcessWorkingSetSize(process.Get(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
  }
  ProcessMessages();
}
