// The process-wide WinInet root handle. Opened once at start-up, shared
// read-only by every HTTP worker, closed after all workers have ended.
#pragma once

#include <windows.h>
#include <wininet.h>

extern HINTERNET InternetHandle;

// Closes any open root handle, then opens a new one (the program's own
// User-Agent, preconfigured proxy settings, synchronous). Returns whether it
// opened.
bool OpenInternet();
// Closes the root handle; the stored handle is forgotten only when closing
// succeeded.
void CloseInternet();
