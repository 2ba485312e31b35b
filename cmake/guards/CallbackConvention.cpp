// Compiled by cmake/CallbackGuard.cmake, never linked. With no macro set it
// must compile; with any WRONG_* macro set one callback loses the calling
// convention the system calls it with, and it must not compile. In a 32-bit
// build that is the difference between a working program and a corrupted
// stack on the first call, which a 64-bit build (one convention) never shows.
#include <windows.h>
#include <process.h>

#include "framework/WindowProcs.h"

#ifdef WRONG_WINDOW
#define WINDOW_CONVENTION
#else
#define WINDOW_CONVENTION CALLBACK
#endif
#ifdef WRONG_THREAD
#define THREAD_CONVENTION
#else
#define THREAD_CONVENTION __stdcall
#endif
#ifdef WRONG_ENUM
#define ENUM_CONVENTION
#else
#define ENUM_CONVENTION CALLBACK
#endif

LRESULT WINDOW_CONVENTION Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(window, msg, wParam, lParam);
}
unsigned THREAD_CONVENTION Worker(void*) { return 0; }
BOOL ENUM_CONVENTION EachWindow(HWND, LPARAM) { return TRUE; }
BOOL ENUM_CONVENTION EachMonitor(HMONITOR, HDC, LPRECT, LPARAM) { return TRUE; }

void Use(HWND window) {
  SetWindowProc(window, &Procedure);
  WNDCLASSEXW wc = {};
  wc.lpfnWndProc = &Procedure;
  ::_beginthreadex(nullptr, 0, &Worker, nullptr, 0, nullptr);
  ::EnumWindows(&EachWindow, 0);
  ::EnumDisplayMonitors(nullptr, nullptr, &EachMonitor, 0);
}
