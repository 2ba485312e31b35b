// The ticker's windows as another process finds them, for the test tools.
#pragma once

#include <windows.h>

#include <cwchar>

inline constexpr wchar_t TickerClassName[] = L"kavreloclass";

inline BOOL CALLBACK CountTickerWindow(HWND window, LPARAM counter) {
  wchar_t name[64];
  if (::GetClassNameW(window, name, 64) && std::wcscmp(name, TickerClassName) == 0) ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

// How many top-level windows of the ticker's class exist.
inline int TickerWindowCount() {
  int count = 0;
  ::EnumWindows(&CountTickerWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}
