// What the program does with its DLLs, in small: optionally restricts the
// search as the program does first thing, then calls into delay-loaded
// winmm and loads msimg32 by name, as cairo does.
//   dllprobe restrict | dllprobe plain
#include <windows.h>
#include <mmsystem.h>

#include <cwchar>

#include "app/DllSearch.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 1;
  if (std::wcscmp(argv[1], L"restrict") == 0) RestrictDllSearch();
  ::timeBeginPeriod(1);
  ::timeEndPeriod(1);
  HMODULE msimg = ::LoadLibraryW(L"msimg32");
  return msimg ? 0 : 2;
}
