// Process-wide values of the application shell.
#pragma once

#include <cstdint>
#include <string>

#include "framework/InputTick.h"

class TApplication;

extern TApplication* Application;
// String resource 100; caption of message boxes.
extern std::wstring AppTitle;
// The data folder without a trailing backslash: "...\Valdomer\Kavrelo" in
// the user's profile, or "data" beside a portable copy (app/DataPlace.h).
extern std::wstring DataFolder;
// This copy is portable: its data beside it, autostart off unless asked for,
// under a Run value of its own.
extern bool PortableCopy;
// Whether "Windows ile başlat" is offered: not to a portable copy on a
// removable drive, whose letter is gone at the next logon.
extern bool AutoStartOffered;

// Text of a string-table entry of the program, or empty when missing.
std::wstring LoadResString(unsigned id);
