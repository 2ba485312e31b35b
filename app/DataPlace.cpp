#include "app/DataPlace.h"

#include <windows.h>

#include <string>

#include "app/Paths.h"
#include "framework/WinHandles.h"

namespace {

constexpr wchar_t UninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kavrelo";

std::wstring Normal(std::wstring path) {
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  while (path.size() > 1 && path.back() == L'\\') path.pop_back();
  return path;
}

// The installed copy's folder, as its installer recorded it; empty when
// there is no installed copy.
std::wstring InstallLocation() {
  HKEY raw = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, UninstallKey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return {};
  UniqueRegKey key(raw);
  wchar_t buffer[MAX_PATH * 2] = {};
  DWORD type = 0, size = sizeof buffer - sizeof(wchar_t);
  if (::RegQueryValueExW(key.Get(), L"InstallLocation", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  buffer[size / sizeof(wchar_t)] = L'\0';
  return buffer;
}

bool IsFile(const std::wstring& path) {
  const DWORD attr = ::GetFileAttributesW(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether a file can be made in the folder: the attribute of a folder says
// nothing about the medium or the folder's rights.
bool CanWriteIn(const std::wstring& folder) {
  UniqueFileHandle probe(::CreateFileW((folder + L"\\~kavrelo-write-check.tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return static_cast<bool>(probe);
}

}  // namespace

bool SameFolder(const std::wstring& a, const std::wstring& b) {
  const std::wstring x = Normal(a), y = Normal(b);
  return ::CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(), static_cast<int>(y.size()), TRUE) ==
         CSTR_EQUAL;
}

TDataPlace ChooseDataPlace(const std::wstring& programFolder, bool markerBeside, const std::wstring& installLocation,
                           const std::wstring& profileFolder) {
  TDataPlace place;
  const bool installed = !installLocation.empty() && SameFolder(programFolder, installLocation);
  if (markerBeside && !installed && !programFolder.empty()) {
    place.Mode = TDataMode::Portable;
    place.Folder = Normal(programFolder) + L"\\data";
  } else {
    place.Folder = profileFolder;
  }
  return place;
}

TDataPlace FindDataPlace() {
  const std::wstring program = ProgramFolder();
  TDataPlace place =
      ChooseDataPlace(program, IsFile(program + PortableMarkerName), InstallLocation(), UserDataFolder());
  if (place.Mode == TDataMode::Portable && !(ForceDirectories(place.Folder) && CanWriteIn(place.Folder))) {
    place.Writable = false;
    place.Folder = SessionFolder();
  }
  ForceDirectories(place.Folder);
  return place;
}

bool OnRemovableDrive(const std::wstring& folder) {
  wchar_t root[MAX_PATH] = {};
  if (!::GetVolumePathNameW(folder.c_str(), root, MAX_PATH)) return false;
  return ::GetDriveTypeW(root) == DRIVE_REMOVABLE;
}

std::wstring SessionFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
  std::wstring base = n > 0 && n <= MAX_PATH ? Normal(temp) : std::wstring(L".");
  return base + L"\\Kavrelo-" + std::to_wstring(::GetCurrentProcessId());
}

void RemoveSessionFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(folder.c_str());
}

void PrintDataPlace(const TDataPlace& place) {
  // Whether autostart is offered: not to a portable copy on a removable drive.
  const bool autostart = place.Mode != TDataMode::Portable || !OnRemovableDrive(ProgramFolder());
  std::wstring text = std::wstring(L"mode=") + (place.Mode == TDataMode::Portable ? L"portable" : L"installed") +
                      L"\r\ndata=" + place.Folder + L"\r\nwritable=" + (place.Writable ? L"1" : L"0") +
                      L"\r\nautostart=" + (autostart ? L"offered" : L"not offered") + L"\r\n";
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                          nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], bytes, nullptr, nullptr);
  // A program of the GUI subsystem has a standard output only when its
  // starter handed one over (a pipe, a file); from a console, it writes to
  // that console.
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  UniqueFileHandle console;
  if (out == nullptr || out == INVALID_HANDLE_VALUE) {
    if (::AttachConsole(ATTACH_PARENT_PROCESS))
      console.Reset(::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    out = console.Get();
  }
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}
