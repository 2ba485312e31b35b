// Where the program's DLLs may come from: System32 only, never the folder
// the program was started from (a portable copy often runs from Downloads)
// nor the current directory.
#pragma once

// Restricts the search for every DLL loaded from now on, the delay-loaded
// imports (winmm, wininet, gdiplus, comctl32) and cairo's msimg32 among
// them. Where the system cannot restrict it (Windows 7 without KB2533623),
// the current directory leaves the search and those DLLs are loaded at
// once by their full System32 path, so that no later load by name can
// reach another copy. Returns whether the search is restricted.
bool RestrictDllSearch();
