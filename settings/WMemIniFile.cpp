#include "settings/WMemIniFile.h"

#include <memory>

#include "settings/IniSyntax.h"

namespace {

// Section names are written as they are, so a name holding a line break
// would split the header and a U+0000 would end the file there; those are
// left out.
std::u16string SectionNameForFile(const std::u16string& name) {
  std::u16string out;
  for (char16_t c : name) {
    if (c != u'\r' && c != u'\n' && c != u'\0') out += c;
  }
  return out;
}

}  // namespace

TWMemIniFile::TWMemIniFile(std::u16string fileName, const TWFileAccess& files)
    : TWCustomIniFile(std::move(fileName)), files_(files) {
  LoadValues();
}

TWHashedStringList* TWMemIniFile::SectionAt(int index) const {
  return static_cast<TWHashedStringList*>(sections_.GetObject(index));
}

std::u16string TWMemIniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                        std::u16string_view defaultValue) const {
  int s = sections_.IndexOf(section);
  if (s < 0) return std::u16string(defaultValue);
  const TWHashedStringList& entries = *SectionAt(s);
  int e = entries.IndexOfName(key);
  if (e < 0) return std::u16string(defaultValue);
  // The found name equals the key up to letter case, so this is the text
  // after the key and its "=".
  const std::u16string& line = entries.Get(e);
  return line.substr(line.find(u'=') + 1);
}

void TWMemIniFile::WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  int s = sections_.IndexOf(section);
  if (s < 0) {
    auto entries = std::make_unique<TWHashedStringList>();
    entries->SetCaseSensitive(sections_.CaseSensitive());
    s = sections_.Add(std::u16string(section), std::move(entries));
  }
  TWHashedStringList& entries = *SectionAt(s);
  std::u16string line(key);
  line += u'=';
  line += value;
  int e = entries.IndexOfName(key);
  if (e >= 0)
    entries.Put(e, std::move(line));
  else
    entries.Add(std::move(line));
}

TWLoadResult TWMemIniFile::LoadValues() {
  std::string bytes;
  TWFileRead read = FileName().empty() ? TWFileRead::Missing : files_.ReadAll(FileName(), MaxFileBytes, bytes);
  LoadValues(read == TWFileRead::Read ? std::string_view(bytes) : std::string_view());
  switch (read) {
    case TWFileRead::Read: loadResult_ = TWLoadResult::Loaded; break;
    case TWFileRead::Missing: loadResult_ = TWLoadResult::Missing; break;
    case TWFileRead::Failed: loadResult_ = TWLoadResult::Unreadable; break;
  }
  return loadResult_;
}

void TWMemIniFile::LoadValues(std::string_view bytes) {
  TWStringList lines;
  lines.LoadFromBytes(bytes);
  sections_.Clear();
  TWHashedStringList* current = nullptr;
  for (int i = 0; i < lines.Count(); ++i) {
    TIniLine line = ParseIniLine(lines.Get(i));
    if (line.kind == TIniLine::Section) {
      // A repeated header makes a second section of that name on purpose:
      // look-ups then find the later one, and both are written back.
      auto entries = std::make_unique<TWHashedStringList>();
      entries->SetCaseSensitive(sections_.CaseSensitive());
      current = entries.get();
      sections_.Add(std::move(line.text), std::move(entries));
    } else if (line.kind == TIniLine::Stored && current) {
      current->Add(std::move(line.text));
    }
  }
}

std::string TWMemIniFile::SaveToBytes() const {
  TWStringList lines;
  for (int s = 0; s < sections_.Count(); ++s) {
    lines.Add(u"[" + SectionNameForFile(sections_.Get(s)) + u"]");
    const TWHashedStringList& entries = *SectionAt(s);
    for (int e = 0; e < entries.Count(); ++e) lines.Add(EscapeIniLine(entries.Get(e)));
    lines.Add(u"");
  }
  return lines.SaveToBytes();
}

bool TWMemIniFile::UpdateFile() {
  if (FileName().empty()) return false;
  // The file may hold the user's settings behind a lock or an error: the
  // defaults we hold in its place must not replace them.
  if (loadResult_ == TWLoadResult::Unreadable) {
    LoadValues();
    return false;
  }
  return files_.ReplaceAll(FileName(), SaveToBytes());
}
