#include "ticker/Monitors.h"

#include "ticker/Options.h"

namespace {

TArea AreaOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (::GetMonitorInfoW(monitor, &info)) reinterpret_cast<std::vector<TArea>*>(list)->push_back(AreaOf(info.rcWork));
  return TRUE;
}

}  // namespace

TArea WorkAreaOf(const RECT& window) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  HMONITOR monitor = ::MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST);
  if (monitor && ::GetMonitorInfoW(monitor, &info)) return AreaOf(info.rcWork);
  return AreaOf(CurrentWorkArea());
}

std::vector<TArea> AllWorkAreas() {
  std::vector<TArea> areas;
  ::EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  if (areas.empty()) areas.push_back(AreaOf(CurrentWorkArea()));
  return areas;
}
