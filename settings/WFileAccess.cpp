#include "settings/WFileAccess.h"

TWFileRead TWMemoryFileAccess::ReadAll(const std::u16string& name, std::size_t maxBytes,
                                       std::string& bytes) const {
  auto file = Files.find(name);
  if (file == Files.end()) return TWFileRead::Missing;
  if (Unreadable[name] || file->second.size() > maxBytes) return TWFileRead::Failed;
  bytes = file->second;
  return TWFileRead::Read;
}

bool TWMemoryFileAccess::ReplaceAll(const std::u16string& name, const std::string& bytes) const {
  if (ReadOnly[name]) return false;
  Files[name] = bytes;
  return true;
}
