// The work areas of the monitors the ticker can be on.
#pragma once

#include <windows.h>

#include <vector>

#include "ticker/Geometry.h"

// The work area of the monitor that holds most of the rectangle (or is
// nearest to it), so snapping and the miniature follow the window onto a
// second monitor.
TArea WorkAreaOf(const RECT& window);
// Every monitor's work area; the primary's alone when they cannot be listed.
std::vector<TArea> AllWorkAreas();
