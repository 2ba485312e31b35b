// GetTickCount of the last input message (InputMessages.h) dispatched to any
// control; 0 at start. Written by the framework's window procedure, read by
// the idle-trim rule. Main thread only.
#pragma once

#include <cstdint>

extern std::uint32_t LastInputTick;
