// Where the ticker keeps its options and its last feed. An installed copy
// keeps them in the user's roaming profile; a copy with the marker file
// beside it (a portable copy, on a stick or in any folder) keeps them in
// "data" beside itself and touches nothing of the profile.
#pragma once

#include <string>

// The marker's name; its contents do not matter.
inline constexpr wchar_t PortableMarkerName[] = L"portable.txt";

enum class TDataMode { Installed, Portable };

struct TDataPlace {
  TDataMode Mode = TDataMode::Installed;
  // Without a trailing backslash.
  std::wstring Folder;
  // False: the portable folder cannot be written (read-only media, a
  // protected folder). Folder is then a folder of this run's own under the
  // temporary folder, gone at exit: options stay in memory, the feed is
  // not kept.
  bool Writable = true;
};

// Whether two folder paths name the same folder: case and a trailing
// backslash aside, "/" as "\".
bool SameFolder(const std::wstring& a, const std::wstring& b);

// The decision itself, from what the caller found: the program's folder
// (with its trailing backslash), whether the marker lies there, the
// installed copy's folder from its uninstall entry (empty: none) and the
// profile's data folder. The marker does not count for the installed copy.
TDataPlace ChooseDataPlace(const std::wstring& programFolder, bool markerBeside, const std::wstring& installLocation,
                           const std::wstring& profileFolder);

// What this copy finds on this machine; the portable folder is made, and
// tried for writing, here.
TDataPlace FindDataPlace();

// Whether the folder lies on a removable drive (a stick, a card): its
// letter may be another, or gone, at the next logon.
bool OnRemovableDrive(const std::wstring& folder);

// A folder of this run's own under the temporary folder, for a portable
// copy that cannot write beside itself; and its removal at exit.
std::wstring SessionFolder();
void RemoveSessionFolder(const std::wstring& folder);

// "--paths": the mode, the data folder, whether it can be written and
// whether autostart is offered, a "key=value" line each, on the standard
// output (or the console of the process that started this one).
void PrintDataPlace(const TDataPlace& place);
