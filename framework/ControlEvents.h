// Event types of the controls. An event is a callable taking the firing
// control first; an unassigned (empty) event does nothing.
#pragma once

#include <windows.h>

#include <functional>

class TControl;

// Keyboard and mouse state of an input event.
enum TShiftFlag : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};
using TShiftState = unsigned;

using TNotifyEvent = std::function<void(TControl* sender)>;
using TMouseEvent = std::function<void(TControl* sender, int keys, int x, int y)>;
using TMouseWheelEvent = std::function<void(TControl* sender, int keys, int wheelDelta, int x, int y)>;
using TSizingEvent = std::function<void(TControl* sender, int edge, RECT& r)>;
using TSizeEvent = std::function<void(TControl* sender, int flag, int newWidth, int newHeight)>;
using TMoveEvent = std::function<void(TControl* sender, int x, int y)>;
using TMovingEvent = std::function<void(TControl* sender, int side, RECT& r)>;
using TContextMenuEvent = std::function<void(TControl* sender, int x, int y)>;
using TKeyEvent = std::function<void(TControl* sender, WORD& key, TShiftState shift)>;
using TCharEvent = std::function<void(TControl* sender, int& charCode)>;
using TWindowPosChangingEvent = std::function<void(TControl* sender, WINDOWPOS& windowPos)>;

// WM_DPICHANGED, which headers for Windows 7 do not name.
inline constexpr UINT WmDpiChanged = 0x02E0;

// Private framework messages.
inline constexpr UINT CM_MOUSEENTERED = 0x8146;
inline constexpr UINT CM_FONTCHANGED = 0x933F;
inline constexpr UINT CM_CAPTIONCHANGED = 0x9343;
// A layered window presents what its controls marked.
inline constexpr UINT CM_PRESENT = 0x9344;
// The shell's callback message of a notification-area icon.
inline constexpr UINT WM_TRAYNOTIFY = 0x9334;
