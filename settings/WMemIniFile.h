// The ini file held in memory: read whole at construction, queried and
// changed in memory, written back whole by UpdateFile.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "settings/WCustomIniFile.h"
#include "settings/WFileAccess.h"
#include "settings/WHashedStringList.h"

enum class TWLoadResult {
  Loaded,      // the file was read (whatever it held)
  Missing,     // no file name, or no file of that name: empty store
  Unreadable,  // something by that name could not be read: empty store
};

class TWMemIniFile : public TWCustomIniFile {
 public:
  // Options files are a few hundred bytes; anything past this is not ours
  // and is treated as unreadable rather than pulled into memory.
  static constexpr std::size_t MaxFileBytes = 16 * 1024 * 1024;

  // Loads the file through files, which must outlive the store. Never
  // throws for a missing or unreadable file: the store is then empty, every
  // read gives its default, and LoadResult() says why.
  TWMemIniFile(std::u16string fileName, const TWFileAccess& files);

  // Section names in file order; each one's object is its TWHashedStringList
  // of "name=value" (and plain) lines.
  const TWHashedStringList& Sections() const { return sections_; }

  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) const override;
  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value) override;

  // Reloads the store from the file.
  TWLoadResult LoadValues();
  // Replaces the store with the content of these file bytes.
  void LoadValues(std::string_view bytes);
  TWLoadResult LoadResult() const { return loadResult_; }

  // The whole store in file form: UTF-16 LE after FF FE, CR LF after every
  // line, one empty line after each section.
  std::string SaveToBytes() const;
  // Replaces the file with SaveToBytes(), all or nothing. Returns false, with
  // the old file untouched, when it cannot be written. A file that could not
  // be read is never written over: it is read again first; while it still
  // cannot be, nothing is written, and once it can, the store takes its
  // content as loaded (what was written to memory meanwhile is dropped) and
  // nothing is written either, so the caller writes its values again.
  bool UpdateFile();

 private:
  TWHashedStringList* SectionAt(int index) const;

  const TWFileAccess& files_;
  TWHashedStringList sections_;
  TWLoadResult loadResult_ = TWLoadResult::Missing;
};
