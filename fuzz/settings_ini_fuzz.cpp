// Load any bytes, save, reload: no crash, and the format is stable after one
// save (loading what was written and saving again gives the same bytes).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/WIniFiles.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  TWMemoryFileAccess files;
  files.Files[u"f"] = input;
  TWMemIniFile ini(u"f", files);

  // Every look-up path on what was loaded: each section's entries must read
  // back through the hashed look-ups of the later duplicate.
  const TWHashedStringList& sections = ini.Sections();
  for (int s = 0; s < sections.Count() && s < 8; ++s) {
    const std::u16string& name = sections.Get(s);
    int found = sections.IndexOf(name);
    Require(found >= s);
    auto* entries = static_cast<TWHashedStringList*>(sections.GetObject(found));
    for (int e = 0; e < entries->Count() && e < 8; ++e) {
      std::u16string key = entries->Name(e);
      if (key.empty() && entries->Get(e).find(u'=') == std::u16string::npos) continue;
      (void)ini.ReadInteger(name, key, 0);
      (void)ini.ReadBool(name, key, false);
    }
  }

  Require(ini.UpdateFile());
  const std::string once = files.Files[u"f"];
  TWMemIniFile again(u"f", files);
  Require(again.SaveToBytes() == once);

  // A write after any load lands where the next read looks.
  again.WriteString(u"options", u"text", u"a\tb\r\nc\\");
  Require(again.ReadString(u"OPTIONS", u"Text", u"") == u"a\tb\r\nc\\");
  return 0;
}
