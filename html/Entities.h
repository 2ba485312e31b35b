// Named character references: which character "amp", "nbsp", "euro" ... stand
// for. The table holds the 252 entities of HTML 4.01 plus "apos", each one
// UTF-16 unit. Numeric references never come here: the reader decodes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct TEntity {
  const char* Name;    // case-sensitive ASCII
  std::uint16_t Code;  // below 65536; the largest is 9830
};

// The stored table in HTML 4.01 order: Latin-1, then symbols and Greek
// letters, then the special set with "apos".
constexpr std::size_t EntityCount = 253;
extern const TEntity EntityTable[EntityCount];

// The entities sorted by name in ordinal byte order, for binary search.
class TEntList {
 public:
  TEntList();
  TEntList(const TEntList&) = delete;
  TEntList& operator=(const TEntList&) = delete;

  // Code of the entity named exactly name, or 32 (a space) when none is.
  std::uint16_t EntityCode(std::string_view name) const;

  std::size_t Count() const { return EntityCount; }
  const TEntity& operator[](std::size_t i) const { return *sorted_[i]; }

 private:
  const TEntity* sorted_[EntityCount];
};

// The one entity list of the program, built on first use, read-only after.
const TEntList& EntityList();

// Code of the named entity (case-sensitive), or 32 when there is none.
std::uint16_t EntityCode(std::string_view name);
// The same for a name as the reader delivers it. Every entity name is ASCII,
// so a name holding any other character is not found (32): it is never folded
// to a look-alike ASCII name first.
std::uint16_t EntityCode(std::u16string_view name);
