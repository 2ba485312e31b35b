// What the user set for how programs look: apps dark or light, high
// contrast and its colours, Windows' text size, animations. Read from the
// registry and the system parameters; the window reads them again when the
// system says something changed (DisplayWatch.h).
#pragma once

#include <windows.h>

#include "widgets/FacePalette.h"

inline constexpr wchar_t PersonalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
inline constexpr wchar_t AccessibilityKey[] = L"Software\\Microsoft\\Accessibility";
// Test builds only: a DWORD "HighContrast" here stands for the system's
// high-contrast switch, which Wine cannot turn on.
inline constexpr wchar_t TestSeamKey[] = L"Software\\Kavrelo\\Test";

struct TDisplayPrefs {
  bool Dark = false;
  bool HighContrast = false;
  // The system colours, read only with high contrast on.
  TSystemColors Colors;
  // Windows' Text size, 100 to 225.
  int TextPercent = 100;
  bool Animations = true;

  TLook Look() const { return HighContrast ? TLook::HighContrast : Dark ? TLook::Dark : TLook::Light; }
  bool operator==(const TDisplayPrefs& o) const {
    return Dark == o.Dark && HighContrast == o.HighContrast && Colors == o.Colors && TextPercent == o.TextPercent &&
           Animations == o.Animations;
  }
  bool operator!=(const TDisplayPrefs& o) const { return !(*this == o); }
};

TDisplayPrefs ReadDisplayPrefs();

// A DWORD under HKEY_CURRENT_USER, or `fallback` when the key or value is
// missing or is no DWORD.
DWORD ReadUserDword(const wchar_t* keyPath, const wchar_t* valueName, DWORD fallback);
