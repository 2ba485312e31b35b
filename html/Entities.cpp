#include "html/Entities.h"

#include <algorithm>
#include <cstring>

namespace {

// What a name that is not in the table stands for.
constexpr std::uint16_t UnknownEntityCode = 32;

// Ordinal byte order: every capitalised name sorts before the lower-case ones.
int CompareNames(std::string_view a, const char* b) {
  return a.compare(b);
}

}  // namespace

TEntList::TEntList() {
  for (std::size_t i = 0; i < EntityCount; ++i) sorted_[i] = &EntityTable[i];
  std::sort(std::begin(sorted_), std::end(sorted_), [](const TEntity* a, const TEntity* b) {
    return std::strcmp(a->Name, b->Name) < 0;
  });
}

std::uint16_t TEntList::EntityCode(std::string_view name) const {
  std::ptrdiff_t low = 0;
  std::ptrdiff_t high = static_cast<std::ptrdiff_t>(EntityCount) - 1;
  while (high >= low) {
    std::ptrdiff_t middle = (low + high) / 2;
    int c = CompareNames(name, sorted_[middle]->Name);
    if (c == 0) return sorted_[middle]->Code;
    if (c < 0)
      high = middle - 1;
    else
      low = middle + 1;
  }
  return UnknownEntityCode;
}

const TEntList& EntityList() {
  static const TEntList list;
  return list;
}

std::uint16_t EntityCode(std::string_view name) {
  return EntityList().EntityCode(name);
}

std::uint16_t EntityCode(std::u16string_view name) {
  // The longest entity name has 8 letters ("thetasym"); anything longer, or
  // holding a character outside ASCII, cannot be in the table.
  constexpr std::size_t MaxNameLength = 8;
  if (name.size() > MaxNameLength) return UnknownEntityCode;
  char narrow[MaxNameLength];
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == 0 || name[i] > 127) return UnknownEntityCode;
    narrow[i] = static_cast<char>(name[i]);
  }
  return EntityList().EntityCode(std::string_view(narrow, name.size()));
}
