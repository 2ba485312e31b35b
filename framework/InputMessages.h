// The messages that mean the user is at the machine: every keyboard and
// mouse message, in the client area and out of it. Each dispatched one
// renews LastInputTick (InputTick.h), which the idle trim reads.
#pragma once

#include <windows.h>

struct TMessageRange {
  UINT First, Last;  // both included
};

// Spelled out rather than WM_MOUSELAST/WM_KEYLAST, whose values depend on
// the Windows version the headers are told to target.
inline constexpr TMessageRange InputMessages[] = {
    {0x0100, 0x0109},  // WM_KEYDOWN .. WM_UNICHAR: keys, characters, system keys, dead keys
    {0x0200, 0x020E},  // WM_MOUSEMOVE .. WM_MOUSEHWHEEL: buttons, X buttons, both wheels
    {0x00A0, 0x00AD},  // WM_NCMOUSEMOVE .. WM_NCXBUTTONDBLCLK: the same over a window's frame
};

constexpr bool IsInputMessage(UINT msg) {
  for (const TMessageRange& range : InputMessages)
    if (msg >= range.First && msg <= range.Last) return true;
  return false;
}
