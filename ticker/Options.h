// The user's options: the window position and the switches (Switches.h),
// kept in "options.ini" in the data folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "settings/WIniFiles.h"
#include "ticker/Switches.h"

// The desktop's work area, from which the first-run position is taken.
RECT CurrentWorkArea();

class TOptions : public TWMemIniFile {
 public:
  // Loads the file; a missing or unreadable file leaves every option at its
  // default (LoadResult() tells which).
  explicit TOptions(const std::wstring& fileName);
  TOptions(const std::wstring& fileName, const RECT& workArea, const TWFileAccess& files);

  // The 475 x 350 window centred in a work area taken as starting at the
  // screen's origin.
  std::int32_t DefaultTop;
  std::int32_t DefaultLeft;

  // Each option reads the in-memory store with its default; Write* changes
  // memory only (UpdateFile puts it on disk). A switch's Write records it
  // only: applying it is the switch's own (TSwitch::Apply).
  std::int32_t Left() const;
  void WriteLeft(std::int32_t value);
  std::int32_t Top() const;
  void WriteTop(std::int32_t value);
  // The list's own text size in percent (100 to 200 in steps of 25); any
  // other value reads as 100.
  int TextSize() const;
  void WriteTextSize(int percent);
  bool Switch(const TSwitch& option) const;
  void WriteSwitch(const TSwitch& option, bool value);
};
