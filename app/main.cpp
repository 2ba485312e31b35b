#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <exception>
#include <string>

#include "app/Application.h"
#include "app/DataPlace.h"
#include "app/DllSearch.h"
#include "app/Globals.h"
#include "framework/GdiPlus.h"

namespace {

// Before every other static object of the program, and so before anything
// could load a DLL by name.
struct TDllSearchFirst {
  TDllSearchFirst() { RestrictDllSearch(); }
} dllSearchFirst __attribute__((init_priority(101)));

}  // namespace

namespace {

// "--paths" anywhere on the command line; nothing else on it is read.
bool AskedForPaths() {
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (args == nullptr) return false;
  bool asked = false;
  for (int i = 1; i < count; ++i)
    if (::lstrcmpiW(args[i], L"--paths") == 0) asked = true;
  ::LocalFree(args);
  return asked;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Where this copy keeps its data, for tests and for anyone looking into
  // a copy: printed, and nothing started.
  if (AskedForPaths()) {
    const TDataPlace place = FindDataPlace();
    PrintDataPlace(place);
    if (!place.Writable) RemoveSessionFolder(place.Folder);
    return 0;
  }
  // GDI+ outlives every canvas: the application (and its windows) goes first.
  gdiplus::TGdiPlusSession gdiplusSession;
  // Finer timer resolution for the short sleeps of the fades, for the life
  // of the process.
  TIMECAPS caps{};
  bool raised = ::timeGetDevCaps(&caps, sizeof(caps)) == TIMERR_NOERROR && ::timeBeginPeriod(caps.wPeriodMin) == TIMERR_NOERROR;
  struct RestoreResolution {
    bool raised;
    UINT period;
    ~RestoreResolution() {
      if (raised) ::timeEndPeriod(period);
    }
  } restore{raised, caps.wPeriodMin};
  try {
    TApplication application;
    application.Run();
  } catch (const std::exception& e) {
    // Start-up failed (a window class or window could not be made): say so
    // rather than vanish.
    std::string what = e.what();
    std::wstring text(what.begin(), what.end());
    ::MessageBoxW(nullptr, text.c_str(), AppTitle.empty() ? L"Kavrelo" : AppTitle.c_str(), MB_OK | MB_ICONERROR);
    return 1;
  }
  return 0;
}
