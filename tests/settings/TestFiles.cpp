#include "TestFiles.h"

namespace {

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = path + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        ::DeleteFileW(full.c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(path.c_str());
}

}  // namespace

TScratchFolder::TScratchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"kavrelo-" + name + L"-" + std::to_wstring(::GetCurrentProcessId());
  RemoveTree(path_);
  ::CreateDirectoryW(path_.c_str(), nullptr);
}

TScratchFolder::~TScratchFolder() { RemoveTree(path_); }

std::string ReadBytes(const std::wstring& path) {
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string data;
  char buffer[4096];
  DWORD n = 0;
  while (::ReadFile(h, buffer, sizeof(buffer), &n, nullptr) && n > 0) data.append(buffer, n);
  ::CloseHandle(h);
  return data;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  bool ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) && n == bytes.size();
  ::CloseHandle(h);
  return ok;
}

std::wstring TestProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}
