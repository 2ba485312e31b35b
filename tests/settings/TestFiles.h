// Scratch folders and raw file access for the Windows tests of the settings.
#pragma once

#include <windows.h>

#include <string>

// A fresh folder under the temporary folder, removed with what it holds when
// the object goes.
class TScratchFolder {
 public:
  explicit TScratchFolder(const std::wstring& name);
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// The file's bytes, or "<missing>".
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
// Folder of the running test program, with a trailing backslash.
std::wstring TestProgramFolder();
