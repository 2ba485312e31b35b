#include <windows.h>
#include <mmsystem.h>

#include <exception>
#include <string>

#include "app/Application.h"
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

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The command line is not interpreted.
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
