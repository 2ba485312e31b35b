#include "app/AtomicFile.h"

#include <windows.h>

#include "framework/WinHandles.h"

bool WriteFileFlushed(const std::wstring& path, const std::string& bytes) {
  UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const char* data = bytes.data();
  size_t left = bytes.size();
  bool ok = true;
  while (ok && left > 0) {
    DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
    DWORD written = 0;
    ok = ::WriteFile(file.Get(), data, chunk, &written, nullptr) && written == chunk;
    data += written;
    left -= written;
  }
  ok = ok && ::FlushFileBuffers(file.Get());
  if (!ok) {
    file.Reset();
    ::DeleteFileW(path.c_str());
  }
  return ok;
}

bool ReplaceWithFile(const std::wstring& source, const std::wstring& target) {
  if (::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  ::DeleteFileW(source.c_str());
  return false;
}

bool SaveFileAtomically(const std::wstring& path, const std::string& bytes) {
  // Same folder as the target, so the final move is a rename on one volume.
  std::wstring temp = path + L".tmp" + std::to_wstring(::GetCurrentProcessId());
  return WriteFileFlushed(temp, bytes) && ReplaceWithFile(temp, path);
}

bool ReadSmallFile(const std::wstring& path, unsigned long limit, std::string& bytes) {
  UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > static_cast<LONGLONG>(limit)) return false;
  bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && (!::ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size()))
    return false;
  return true;
}
