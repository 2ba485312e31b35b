#include "app/Paths.h"

#include <windows.h>
#include <shlobj.h>

std::wstring ProgramPath() {
  // Long paths: grow the buffer until the name fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring ProgramFolder() {
  std::wstring path = ProgramPath();
  size_t slash = path.find_last_of(L"\\/:");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring UserDataFolder() {
  wchar_t appData[MAX_PATH] = {};
  std::wstring base;
  if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, appData)))
    base = appData;
  return base + L"\\Valdomer\\Kavrelo";
}

bool ForceDirectories(const std::wstring& path) {
  std::wstring p = path;
  while (p.size() > 1 && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
  if (p.empty()) return false;
  DWORD attr = ::GetFileAttributesW(p.c_str());
  if (attr != INVALID_FILE_ATTRIBUTES) return (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
  size_t slash = p.find_last_of(L"\\/");
  // Stop at a drive ("C:") or the root of the current drive.
  if (slash != std::wstring::npos && slash > 0 && p[slash - 1] != L':') {
    ForceDirectories(p.substr(0, slash));
  }
  if (::CreateDirectoryW(p.c_str(), nullptr)) return true;
  return ::GetLastError() == ERROR_ALREADY_EXISTS;
}
