// Window messages private to the ticker.
#pragma once

#include <windows.h>

inline constexpr UINT WM_VERSIONDONE = WM_USER + 17;  // 1041, update manifest worker
inline constexpr UINT WM_COUNTERDONE = WM_USER + 20;  // 1044, counter image worker
inline constexpr UINT WM_FEEDDONE = WM_USER + 23;     // 1047, feed worker
// A screen reader asked for a default action; it runs from the message loop.
inline constexpr UINT WM_READERACTION = WM_USER + 30;
// The machine's network addresses changed.
inline constexpr UINT WM_NETWORKCHANGED = WM_USER + 31;
// A registry value behind the display preferences changed.
inline constexpr UINT WM_DISPLAYCHANGED = WM_USER + 32;
// Accepted from any process.
inline constexpr UINT WM_REMOTENOTIFY = 37682;
inline constexpr UINT WM_REMOTECLOSE = 37683;

// Menu commands.
inline constexpr UINT CmdAbout = 40000;
inline constexpr UINT CmdOptions = 40003;
inline constexpr UINT CmdClose = 40005;
inline constexpr UINT CmdUpdate = 40007;
// "Yazı boyutu": one command per size the menu offers (OwnTextPercents).
inline constexpr UINT CmdTextSizeFirst = 40010;
inline constexpr UINT CmdTextSizeLast = 40014;

// Timer ids.
inline constexpr UINT_PTR StartupTimerId = 1001;
inline constexpr UINT_PTR TrimTimerId = 1002;
inline constexpr UINT_PTR RefreshTimerId = 1003;
inline constexpr UINT_PTR CounterTimerId = 1004;
inline constexpr UINT_PTR ThrobberTimerId = 1005;
inline constexpr UINT_PTR NoticeTimerId = 1006;
