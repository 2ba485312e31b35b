#include "feed/UserAgent.h"

#include <windows.h>

#include "build/Version.h"

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

// RtlGetVersion is in every ntdll since Windows 2000 but in no import
// library the SDK promises, so it is looked up.
bool RealVersion(DWORD& major, DWORD& minor) {
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  if (!ntdll) return false;
  auto get = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!get || get(&info) != 0) return false;
  major = info.dwMajorVersion;
  minor = info.dwMinorVersion;
  return true;
}

}  // namespace

std::string UserAgent() {
#if defined(_WIN64)
  const char* arch = "x64";
#else
  const char* arch = "x86";
#endif
  DWORD major = 6, minor = 1;
  RealVersion(major, minor);
  return std::string("Kavrelo/") + KAVRELO_VERSION_TEXT + " (Windows NT " + std::to_string(major) + "." +
         std::to_string(minor) + "; " + arch + ")";
}
