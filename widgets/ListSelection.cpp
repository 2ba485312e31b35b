#include "widgets/ListSelection.h"

#include <algorithm>

namespace {

// The last item starting at or above row y (the first for rows above it).
int ItemAtRow(const std::vector<int>& tops, long long y) {
  auto after = std::upper_bound(tops.begin(), tops.end(), y, [](long long v, int top) { return v < top; });
  return after == tops.begin() ? 0 : static_cast<int>(after - tops.begin()) - 1;
}

}  // namespace

int MovedSelection(int current, TListKey key, const std::vector<int>& tops, int viewport) {
  const int count = static_cast<int>(tops.size());
  if (count == 0) return -1;
  const int last = count - 1;
  if (current < 0 || current > last) return key == TListKey::End ? last : 0;
  const long long page = viewport > 0 ? viewport : 1;
  switch (key) {
    case TListKey::Up: return current > 0 ? current - 1 : 0;
    case TListKey::Down: return current < last ? current + 1 : last;
    case TListKey::Home: return 0;
    case TListKey::End: return last;
    case TListKey::PageDown: {
      int to = ItemAtRow(tops, tops[static_cast<size_t>(current)] + page);
      return std::min(std::max(to, current + 1), last);
    }
    case TListKey::PageUp: {
      int to = ItemAtRow(tops, tops[static_cast<size_t>(current)] - page);
      return std::max(std::min(to, current - 1), 0);
    }
  }
  return current;
}

int ReloadedSelection(const std::wstring& selectedLink, const std::vector<std::wstring>& links) {
  if (links.empty()) return -1;
  if (selectedLink.empty()) return 0;
  auto same = std::find(links.begin(), links.end(), selectedLink);
  return same == links.end() ? 0 : static_cast<int>(same - links.begin());
}
