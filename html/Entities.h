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

  // A name of at most 8 ASCII characters packed into one number, first
  // character in the highest byte, so that numbers order as the names do; 0
  // for a name that cannot be in the table (empty, longer, NUL or non-ASCII).
  template <class Char>
  static std::uint64_t Key(std::basic_string_view<Char> name) {
    if (name.empty() || name.size() > 8) return 0;
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 8; ++i) {
      std::uint64_t c = 0;
      if (i < name.size()) {
        c = static_cast<std::uint64_t>(name[i]);
        if (c == 0 || c > 127) return 0;
      }
      key = key << 8 | c;
    }
    return key;
  }
  // Code of the entity whose Key is key, or 32.
  std::uint16_t CodeOfKey(std::uint64_t key) const;

 private:
  // Look-ups go through a hash table of Keys (open addressing, linear
  // probing, at most half full): one or two probes instead of a binary
  // search, since every "&" of a page asks.
  static constexpr std::size_t SlotCount = 512;
  struct TSlot {
    std::uint64_t key = 0;  // 0: empty
    std::uint16_t code = 0;
  };
  static std::size_t SlotOf(std::uint64_t key) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 55);  // top 9 bits
  }

  const TEntity* sorted_[EntityCount];
  TSlot slots_[SlotCount];
};

// The one entity list of the program, built on first use, read-only after.
const TEntList& EntityList();

// Code of the named entity (case-sensitive), or 32 when there is none.
std::uint16_t EntityCode(std::string_view name);
// The same for a name as the reader delivers it. Every entity name is ASCII,
// so a name holding any other character is not found (32): it is never folded
// to a look-alike ASCII name first.
std::uint16_t EntityCode(std::u16string_view name);
