#include "html/Entities.h"

#include <algorithm>
#include <cstring>

namespace {

// What a name that is not in the table stands for.
constexpr std::uint16_t UnknownEntityCode = 32;

}  // namespace

// Ordinal byte order: every capitalised name sorts before the lower-case ones.
TEntList::TEntList() {
  for (std::size_t i = 0; i < EntityCount; ++i) sorted_[i] = &EntityTable[i];
  std::sort(std::begin(sorted_), std::end(sorted_), [](const TEntity* a, const TEntity* b) {
    return std::strcmp(a->Name, b->Name) < 0;
  });
  static_assert(SlotCount >= 2 * EntityCount, "the table stays at most half full");
  for (const TEntity& entity : EntityTable) {
    const std::uint64_t key = Key(std::string_view(entity.Name));
    std::size_t slot = SlotOf(key);
    while (slots_[slot].key != 0) slot = (slot + 1) % SlotCount;
    slots_[slot] = TSlot{key, entity.Code};
  }
}

std::uint16_t TEntList::CodeOfKey(std::uint64_t key) const {
  if (key == 0) return UnknownEntityCode;
  for (std::size_t slot = SlotOf(key);; slot = (slot + 1) % SlotCount) {
    if (slots_[slot].key == key) return slots_[slot].code;
    if (slots_[slot].key == 0) return UnknownEntityCode;
  }
}

std::uint16_t TEntList::EntityCode(std::string_view name) const { return CodeOfKey(Key(name)); }

const TEntList& EntityList() {
  static const TEntList list;
  return list;
}

std::uint16_t EntityCode(std::string_view name) { return EntityList().EntityCode(name); }

std::uint16_t EntityCode(std::u16string_view name) {
  // Every entity name is ASCII and at most 8 letters long ("thetasym"); Key
  // refuses anything else, so no name is folded to a look-alike.
  return EntityList().CodeOfKey(TEntList::Key(name));
}
