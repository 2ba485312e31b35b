// Opening the ini file by name on Windows.
#pragma once

#include <string>

#include "settings/WFileAccess.h"

// Wide paths throughout: a folder name that the ANSI code page cannot spell
// (a user name in another script) still works.
class TWindowsFileAccess : public TWFileAccess {
 public:
  TWFileRead ReadAll(const std::u16string& name, std::size_t maxBytes, std::string& bytes) const override;
  // Through a temporary file beside the target that replaces it in one step,
  // so a crash or power loss leaves the old or the new file, whole.
  bool ReplaceAll(const std::u16string& name, const std::string& bytes) const override;
};

// The one instance the program uses.
const TWFileAccess& WindowsFiles();

std::wstring ToWide(const std::u16string& text);
std::u16string FromWide(const std::wstring& text);
