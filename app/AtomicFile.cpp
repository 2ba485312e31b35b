#include "app/AtomicFile.h"

#include <windows.h>

#include "framework/WinHandles.h"

bool SaveFileAtomically(const std::wstring& path, const std::string& bytes) {
  // Same folder as the target, so the final move is a rename on one volume.
  std::wstring temp = path + L".tmp" + std::to_wstring(::GetCurrentProcessId());
  {
    UniqueFileHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
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
      ::DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (!::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}
