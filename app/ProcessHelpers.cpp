#include "app/ProcessHelpers.h"

#include <windows.h>

#include "framework/WinHandles.h"

void ProcessMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void TrimWorkingSet() {
  UniqueKernelHandle process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, ::GetCurrentProcessId()));
  if (process) {
    // (SIZE_T)-1 for both limits means "remove as many pages as possible".
    ::SetProcessWorkingSetSize(process.Get(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
  }
  ProcessMessages();
}
