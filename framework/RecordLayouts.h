// Sizes of the system records we hand to Windows. The shell and common
// controls tell record versions apart by cbSize, so each size is the one
// the SDK defines for this architecture: a 64-bit build's records are
// larger wherever they hold a pointer or a handle. The values are checked
// against the SDK's own constants here, at compile time, and the 32-bit
// program keeps the layouts it has always sent.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <shellapi.h>

#include <cstddef>

// NOTIFYICONDATAW of Windows 2000 and later without the GUID member; the
// shell accepts it on every later version.
#if defined(_WIN64)
inline constexpr DWORD TrayRecordSize = 952;
#else
inline constexpr DWORD TrayRecordSize = 936;
#endif
static_assert(NOTIFYICONDATAW_V2_SIZE == TrayRecordSize, "the tray record of this architecture");

#if !defined(_WIN64)
// The 32-bit layouts: a change of SDK or of packing must not move them.
static_assert(sizeof(void*) == 4, "a 32-bit build");
// TTTOOLINFOW_V2_SIZE, spelled out: the SDK's macro is no constant expression.
static_assert(offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM) == 44, "TOOLINFOW as sent to the tooltip control");
static_assert(sizeof(TRACKMOUSEEVENT) == 16, "TRACKMOUSEEVENT");
static_assert(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth) == 500, "NONCLIENTMETRICSW without iPaddedBorderWidth");
static_assert(sizeof(STATSTG) == 72, "STATSTG");
#else
static_assert(sizeof(void*) == 8, "a 64-bit build");
#endif
