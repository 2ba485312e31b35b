// Object paths of the feed request: a fresh random number in the query keeps
// caches between us and the news site from answering with an old feed.
#pragma once

#include <cstdint>
#include <string>

// Random values are drawn below 0x7FFFFFFF, so at most 10 decimal digits.
inline constexpr std::uint32_t RandLimit = 0x7FFFFFFF;

inline std::string FeedRequestPath(std::uint32_t rand) {
  return "/sondakika.rss?rand=" + std::to_string(rand);
}
