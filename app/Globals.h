// Process-wide values of the application shell.
#pragma once

#include <cstdint>
#include <string>

#include "framework/InputTick.h"

class TApplication;

extern TApplication* Application;
// String resource 100; caption of message boxes.
extern std::wstring AppTitle;
// Per-user data folder without a trailing backslash ("...\Valdomer\Kavrelo").
extern std::wstring DataFolder;

// Text of a string-table entry of the program, or empty when missing.
std::wstring LoadResString(unsigned id);
