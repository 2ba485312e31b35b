// Folders of the program and of the user's data.
#pragma once

#include <string>

// Folder of the running program, up to and including the last backslash.
std::wstring ProgramFolder();
// Full path of the running program.
std::wstring ProgramPath();
// "<roaming application data>\Valdomer\Kavrelo"; when the shell cannot tell
// the roaming folder, the path starts at the current drive's root.
std::wstring UserDataFolder();
// Creates the folder and every missing parent; an existing folder is left
// alone. Returns whether the folder exists afterwards.
bool ForceDirectories(const std::wstring& path);
