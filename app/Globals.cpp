#include "app/Globals.h"

#include <windows.h>

TApplication* Application = nullptr;
std::wstring AppTitle;
std::wstring DataFolder;
bool PortableCopy = false;
bool AutoStartOffered = true;

std::wstring LoadResString(unsigned id) {
  // 2048 characters is the longest text the string table holds.
  wchar_t buffer[2048];
  int n = ::LoadStringW(::GetModuleHandleW(nullptr), id, buffer, 2048);
  return n > 0 ? std::wstring(buffer, static_cast<size_t>(n)) : std::wstring();
}
