// GetTickCount of the last input message (InputMessages.h) dispatched to any
// control; 0 at start. Written by the framework's window procedure, read by
// the idle-trim rule. Main thread only.
#pragma once

#include <cstdint>
#include <functional>

extern std::uint32_t LastInputTick;

// Runs callback once, at the next input message dispatched to any control,
// instead of asking the clock again and again whether the user is back. A
// second call replaces the first; an empty callback cancels. Main thread only.
void WaitForInput(std::function<void()> callback);

// The framework's window procedure calls this for every input message it
// dispatches: it renews LastInputTick and runs the waiting callback.
void NoteInput();
