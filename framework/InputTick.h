// GetTickCount of the last keyboard (0x100-0x109) or mouse (0x200-0x20A)
// message dispatched to any control; 0 at start. Written by the framework's
// window procedure, read by the idle-trim rule. Main thread only.
#pragma once

#include <cstdint>

extern std::uint32_t LastInputTick;
