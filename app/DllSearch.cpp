#include "app/DllSearch.h"

#include <windows.h>

#include <string>

namespace {

// Every DLL that the program or cairo loads by name and that is not a
// KnownDLL on every supported Windows.
const wchar_t* const LoadedByName[] = {L"winmm.dll", L"wininet.dll", L"gdiplus.dll", L"comctl32.dll",
                                       L"msimg32.dll"};

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

}  // namespace

bool RestrictDllSearch() {
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  // Windows 8 and later, and Windows 7 with KB2533623.
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;

  ::SetDllDirectoryW(L"");
  wchar_t system[MAX_PATH];
  UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  for (const wchar_t* name : LoadedByName) {
    std::wstring path = std::wstring(system, length) + L"\\" + name;
    // Their own dependencies are then looked for beside them first. Loaded
    // once for the life of the process: a later load by name finds it.
    ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  return false;
}
