// Small process-wide helpers of the message loop.
#pragma once

// Removes and dispatches every waiting message of the calling thread; a
// WM_QUIT is removed but not dispatched.
void ProcessMessages();
// Hands the process's pages back to the system, then drains the queue.
void TrimWorkingSet();
