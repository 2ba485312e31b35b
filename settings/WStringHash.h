// A chained hash table from wide keys to list indices, the look-up structure
// behind TWHashedStringList.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TWStringHash {
 public:
  static constexpr unsigned BucketCount = 256;

  // Starting from 0, each UTF-16 code unit is XORed into the hash rotated
  // left by 2 bits.
  static std::uint32_t HashOf(std::u16string_view key);
  static unsigned BucketOf(std::u16string_view key) { return HashOf(key) % BucketCount; }

  // Puts the pair at the head of its bucket's chain, so a key added again
  // hides the earlier pair from ValueOf.
  void Add(std::u16string key, int value);
  // The value of the most recently added pair with exactly this key, or -1.
  int ValueOf(std::u16string_view key) const;
  void Clear();

 private:
  struct Node {
    std::u16string key;
    int value;
    int next;  // index into nodes_, -1 at a chain's end
  };
  // Chain heads, allocated with the first pair: most entry lists of an
  // options file are never looked up by value.
  std::vector<int> heads_;
  std::vector<Node> nodes_;
};
