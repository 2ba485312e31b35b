#include "framework/DisplayDpi.h"

#include "framework/Scale.h"
#include "framework/WinHandles.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

GetDpiForWindowFn DpiForWindow() {
  static const GetDpiForWindowFn fn = Lookup<GetDpiForWindowFn>(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  return fn;
}

GetDpiForMonitorFn DpiForMonitor() {
  // shcore.dll is there from Windows 8.1 on; taken from System32 only.
  // Where LOAD_LIBRARY_SEARCH_SYSTEM32 is not understood the load fails,
  // which is right: such a system has no per-monitor DPI either.
  static const UniqueModule shcore(::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  static const GetDpiForMonitorFn fn = Lookup<GetDpiForMonitorFn>(shcore.Get(), "GetDpiForMonitor");
  return fn;
}

int Sane(UINT dpi) { return TScale(static_cast<int>(dpi)).Dpi(); }

int MonitorDpi(HMONITOR monitor) {
  UINT x = 0, y = 0;
  if (GetDpiForMonitorFn fn = DpiForMonitor(); fn && monitor && SUCCEEDED(fn(monitor, 0 /* effective */, &x, &y)))
    return Sane(x);
  return SystemDpi();
}

}  // namespace

int SystemDpi() {
  HDC screen = ::GetDC(nullptr);
  int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : BaseDpi;
  if (screen) ::ReleaseDC(nullptr, screen);
  return Sane(static_cast<UINT>(dpi));
}

int WindowDpi(HWND window) {
  if (GetDpiForWindowFn fn = DpiForWindow(); fn && window) {
    if (UINT dpi = fn(window)) return Sane(dpi);
  }
  return window ? MonitorDpi(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) : SystemDpi();
}

int DpiAtPoint(POINT p) { return MonitorDpi(::MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST)); }

int SmallIconSize(int dpi) {
  static const auto metricsForDpi =
      Lookup<GetSystemMetricsForDpiFn>(::GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi");
  if (metricsForDpi) {
    if (int size = metricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi)); size > 0) return size;
  }
  // Before Windows 10 the metric is the system DPI's.
  const int size = ::GetSystemMetrics(SM_CXSMICON);
  return ::MulDiv(size > 0 ? size : 16, dpi, SystemDpi());
}
