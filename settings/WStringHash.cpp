#include "settings/WStringHash.h"

std::uint32_t TWStringHash::HashOf(std::u16string_view key) {
  std::uint32_t hash = 0;
  for (char16_t unit : key) hash = ((hash << 2) | (hash >> 30)) ^ unit;
  return hash;
}

void TWStringHash::Add(std::u16string key, int value) {
  if (heads_.empty()) heads_.assign(BucketCount, -1);
  unsigned bucket = BucketOf(key);
  nodes_.push_back(Node{std::move(key), value, heads_[bucket]});
  heads_[bucket] = static_cast<int>(nodes_.size()) - 1;
}

int TWStringHash::ValueOf(std::u16string_view key) const {
  if (heads_.empty()) return -1;
  for (int n = heads_[BucketOf(key)]; n >= 0; n = nodes_[n].next) {
    if (nodes_[n].key == key) return nodes_[n].value;
  }
  return -1;
}

void TWStringHash::Clear() {
  heads_.clear();
  nodes_.clear();
}
