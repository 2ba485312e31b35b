// Small process-wide helpers of the message loop.
#pragma once

// Removes and dispatches every waiting message of the calling thread. A
// WM_QUIT ends it: the quit is posted again for the main loop and the result
// is false (the caller should not go on as if nothing happened).
bool ProcessMessages();
// Hands the process's pages back to the system, then drains the queue.
void TrimWorkingSet();
