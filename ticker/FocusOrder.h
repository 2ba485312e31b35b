// What the keyboard focus can rest on in the face, and the order Tab takes
// through it. The numbers double as the accessible objects' child ids, so
// a focus event names the object a screen reader asks for.
#pragma once

enum TFocusTarget : long {
  FocusNone = 0,
  FocusList = 1,
  FocusOptionsButton = 2,
  FocusCloseButton = 3,
  FocusSwitch = 10,  // the options panel's switches: FocusSwitch + index
  FocusOptionsClose = 20,
  FocusAboutLink = 30,
  FocusAboutClose = 31,
};

// The accessible ids of what is not a focus target: the status line, and
// the headlines (ItemBase + index).
inline constexpr long AccessibleStatusId = 4;
inline constexpr long AccessibleItemBase = 1000;

// Which panel covers the list, if any: Tab stays inside an open panel.
enum class TOpenPanel { None, Options, About };

// Where Tab (forward) or Shift+Tab goes from `current`. From a target that
// is not in the cycle of `panel` (a panel just opened or closed) it goes
// to the cycle's first target, or its last going backwards.
TFocusTarget NextFocus(TFocusTarget current, TOpenPanel panel, int switchCount, bool forward);

// Where the focus starts when the window is activated or a panel opens.
TFocusTarget FirstFocus(TOpenPanel panel, int switchCount);
