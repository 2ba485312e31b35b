// Hands a layered window its picture. UpdateLayeredWindowIndirect takes a
// dirty rectangle, so a frame that changed a few pixels copies only those
// to the screen; user32 has it from Vista on, and it is looked up at run
// time so that the program still starts where it is missing, handing over
// the whole picture with UpdateLayeredWindow instead.
#pragma once

#include <windows.h>

// cbSize must be what user32 expects for this architecture, or the call
// fails with ERROR_INVALID_PARAMETER: check the SDK's layout.
#ifdef _WIN64
static_assert(sizeof(UPDATELAYEREDWINDOWINFO) == 80, "x64 UPDATELAYEREDWINDOWINFO");
#else
static_assert(sizeof(UPDATELAYEREDWINDOWINFO) == 40, "x86 UPDATELAYEREDWINDOWINFO");
#endif

// Info's prcDirty may be null (the whole picture).
BOOL WINAPI UpdateLayeredDirty(HWND window, const UPDATELAYEREDWINDOWINFO* info);
// Whether user32 has UpdateLayeredWindowIndirect.
bool LayeredDirtySupported();
