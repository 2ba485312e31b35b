#include "settings/WHashedStringList.h"

#include "settings/WideCase.h"

int TWHashedStringList::IndexOf(std::u16string_view text) const {
  UpdateValueHash();
  return valueHash_.ValueOf(HashKey(text));
}

int TWHashedStringList::IndexOfName(std::u16string_view name) const {
  UpdateNameHash();
  return nameHash_.ValueOf(HashKey(name));
}

void TWHashedStringList::Changed() {
  valueHashValid_ = false;
  nameHashValid_ = false;
}

std::u16string TWHashedStringList::HashKey(std::u16string_view text) const {
  return CaseSensitive() ? std::u16string(text) : WideUpperCase(text);
}

void TWHashedStringList::UpdateValueHash() const {
  if (valueHashValid_) return;
  valueHash_.Clear();
  for (int i = 0; i < Count(); ++i) valueHash_.Add(HashKey(Get(i)), i);
  valueHashValid_ = true;
  ++valueBuilds_;
}

void TWHashedStringList::UpdateNameHash() const {
  if (nameHashValid_) return;
  nameHash_.Clear();
  for (int i = 0; i < Count(); ++i) {
    const std::u16string& line = Get(i);
    size_t eq = line.find(u'=');
    if (eq != std::u16string::npos) nameHash_.Add(HashKey(std::u16string_view(line).substr(0, eq)), i);
  }
  nameHashValid_ = true;
  ++nameBuilds_;
}
