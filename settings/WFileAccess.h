// How the ini file reaches the disk. The store parses and writes bytes; an
// implementation of this interface opens files by name (the Windows one lives
// in settings/windows/).
#pragma once

#include <cstddef>
#include <map>
#include <string>

enum class TWFileRead {
  Read,     // the whole content is in bytes
  Missing,  // no file of that name (nor the folder it would be in)
  Failed,   // there is something by that name, but it could not be read whole
};

class TWFileAccess {
 public:
  virtual ~TWFileAccess() = default;
  // Reads the whole file; a file longer than maxBytes is Failed.
  virtual TWFileRead ReadAll(const std::u16string& name, std::size_t maxBytes, std::string& bytes) const = 0;
  // Replaces the file with exactly these bytes, all or nothing: on failure
  // the old file is left as it was. Returns whether it succeeded.
  virtual bool ReplaceAll(const std::u16string& name, const std::string& bytes) const = 0;
};

// Files kept in memory, by exact name: for tests and tools that run without
// a disk. A name can be marked unreadable or read-only to play a locked file.
class TWMemoryFileAccess : public TWFileAccess {
 public:
  TWFileRead ReadAll(const std::u16string& name, std::size_t maxBytes, std::string& bytes) const override;
  bool ReplaceAll(const std::u16string& name, const std::string& bytes) const override;

  mutable std::map<std::u16string, std::string> Files;
  mutable std::map<std::u16string, bool> Unreadable;
  mutable std::map<std::u16string, bool> ReadOnly;
};
