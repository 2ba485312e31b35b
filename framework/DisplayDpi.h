// The DPI a window or a point of the screen is shown at. Windows 10 tells
// each window its own (per-monitor awareness); Windows 8.1 each monitor's;
// Windows 7 and 8.0 one DPI for the whole system. The functions that say it
// exist only on the newer systems, so they are looked up as the program
// runs: it must still load on Windows 7.
#pragma once

#include <windows.h>

// The window's DPI: its own, its monitor's, or the system's.
int WindowDpi(HWND window);
// The DPI of the monitor that holds (or is nearest to) a point, or the
// system's.
int DpiAtPoint(POINT p);
// The system DPI (what a window of a system-aware program is shown at).
int SystemDpi();

// The side of a small icon (the notification area's, a window caption's)
// at `dpi`: 16 pixels at 96 DPI on a standard system.
int SmallIconSize(int dpi);
