// Starts copies of the ticker at the same moment, as a double-click racing
// the autostart does, and counts the windows that come up:
//   startrace EXE ROUNDS   per round: two copies created suspended and
//                          resumed together; once one has ended and a window
//                          is up (or two windows are), prints
//                          "round=I windows=N exits=N", closes the window and
//                          waits for both to end; last "rounds=R single=S"
//   startrace event NAME EXE  holds an event called NAME, starts EXE and
//                          prints "exit=CODE windows=N" once it has ended
//                          (exit=timeout after 30 s)
//   startrace first-frame EXE starts EXE and prints "first_frame_ms=N": the
//                          time from the start of the process to its window
//                          on screen (first_frame_ms=timeout after 60 s);
//                          the window is left open
// Exit code 0 when every round ended with exactly one window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "framework/WinHandles.h"
#include "tools/TickerWindows.h"

namespace {

struct TCopy {
  UniqueKernelHandle process;
  UniqueKernelHandle thread;
};

bool StartSuspended(const wchar_t* exe, TCopy& copy) {
  std::wstring command = std::wstring(L"\"") + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                        &info))
    return false;
  copy.process.Reset(info.hProcess);
  copy.thread.Reset(info.hThread);
  return true;
}

bool Ended(const TCopy& copy) { return ::WaitForSingleObject(copy.process.Get(), 0) == WAIT_OBJECT_0; }

// Closes whatever windows are up and waits for both copies; false when one
// would not end.
bool EndRound(TCopy (&copies)[2]) {
  HANDLE processes[2] = {copies[0].process.Get(), copies[1].process.Get()};
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 30000;) {
    if (::WaitForMultipleObjects(2, processes, TRUE, 100) == WAIT_OBJECT_0) return true;
    if (HWND w = ::FindWindowW(TickerClassName, nullptr)) ::PostMessageW(w, WM_CLOSE, 0, 0);
  }
  ::TerminateProcess(processes[0], 1);
  ::TerminateProcess(processes[1], 1);
  return false;
}

int Race(const wchar_t* exe, int rounds) {
  int single = 0;
  for (int round = 1; round <= rounds; ++round) {
    TCopy copies[2];
    if (!StartSuspended(exe, copies[0]) || !StartSuspended(exe, copies[1])) {
      std::fprintf(stderr, "cannot start %ls\n", exe);
      return 1;
    }
    // The barrier: both are fully made before either runs a single
    // instruction of its own.
    ::ResumeThread(copies[0].thread.Get());
    ::ResumeThread(copies[1].thread.Get());
    int windows = 0;
    int exits = 0;
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 30000; ::Sleep(50)) {
      windows = TickerWindowCount();
      exits = (Ended(copies[0]) ? 1 : 0) + (Ended(copies[1]) ? 1 : 0);
      if (windows >= 2 || exits == 2 || (windows == 1 && exits == 1)) break;
    }
    // A copy that passed its guard late would open its window now.
    ::Sleep(300);
    windows = TickerWindowCount();
    exits = (Ended(copies[0]) ? 1 : 0) + (Ended(copies[1]) ? 1 : 0);
    std::printf("round=%d windows=%d exits=%d\n", round, windows, exits);
    std::fflush(stdout);
    if (windows == 1 && exits == 1) ++single;
    if (!EndRound(copies)) std::printf("round=%d stuck=1\n", round);
  }
  std::printf("rounds=%d single=%d\n", rounds, single);
  return single == rounds ? 0 : 3;
}

int HoldEvent(const wchar_t* name, const wchar_t* exe) {
  UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, name));
  if (!event) return 1;
  TCopy copy;
  if (!StartSuspended(exe, copy)) return 1;
  ::ResumeThread(copy.thread.Get());
  if (::WaitForSingleObject(copy.process.Get(), 30000) != WAIT_OBJECT_0) {
    std::printf("exit=timeout windows=%d\n", TickerWindowCount());
    ::TerminateProcess(copy.process.Get(), 1);
    return 0;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(copy.process.Get(), &code);
  std::printf("exit=%lu windows=%d\n", static_cast<unsigned long>(code), TickerWindowCount());
  return 0;
}

int FirstFrame(const wchar_t* exe) {
  LARGE_INTEGER frequency, start, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  TCopy copy;
  if (!StartSuspended(exe, copy)) return 1;
  ::ResumeThread(copy.thread.Get());
  // A layered window is made visible only once its first picture is handed
  // over (a fade starts from it), so visible is on screen.
  for (;;) {
    HWND window = ::FindWindowW(TickerClassName, nullptr);
    ::QueryPerformanceCounter(&now);
    const double ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    if (window && ::IsWindowVisible(window)) {
      std::printf("first_frame_ms=%.0f\n", ms);
      return 0;
    }
    if (ms > 60000 || Ended(copy)) {
      std::printf("first_frame_ms=timeout\n");
      return 2;
    }
    ::Sleep(1);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wcscmp(argv[1], L"first-frame") == 0) return FirstFrame(argv[2]);
  if (argc == 3) return Race(argv[1], std::max(1, _wtoi(argv[2])));
  if (argc == 4 && std::wcscmp(argv[1], L"event") == 0) return HoldEvent(argv[2], argv[3]);
  std::fprintf(stderr, "usage: startrace EXE ROUNDS | startrace event NAME EXE | startrace first-frame EXE\n");
  return 1;
}
