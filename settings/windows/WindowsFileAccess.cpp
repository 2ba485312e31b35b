#include "settings/windows/WindowsFileAccess.h"

#include <windows.h>

#include "app/AtomicFile.h"
#include "framework/WinHandles.h"

std::wstring ToWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::u16string FromWide(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

TWFileRead TWindowsFileAccess::ReadAll(const std::u16string& name, std::size_t maxBytes, std::string& bytes) const {
  // Sharing everything: another program (or a second copy of ours) holding
  // the file open for writing must not stop us from reading it.
  UniqueFileHandle file(::CreateFileW(ToWide(name).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    DWORD error = ::GetLastError();
    return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? TWFileRead::Missing
                                                                            : TWFileRead::Failed;
  }
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > maxBytes)
    return TWFileRead::Failed;
  std::string data(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < data.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), &data[done], static_cast<DWORD>(data.size() - done), &got, nullptr))
      return TWFileRead::Failed;
    if (got == 0) break;  // the file shrank while we read: take what is there
    done += got;
  }
  data.resize(done);
  bytes = std::move(data);
  return TWFileRead::Read;
}

bool TWindowsFileAccess::ReplaceAll(const std::u16string& name, const std::string& bytes) const {
  return SaveFileAtomically(ToWide(name), bytes);
}

const TWFileAccess& WindowsFiles() {
  static const TWindowsFileAccess files;
  return files;
}
