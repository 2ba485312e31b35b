// Comparing the program's version with the one the maker's manifest names.
#pragma once

#include <string_view>

#include "build/Version.h"

inline constexpr std::string_view CurrentVersion = KAVRELO_VERSION_TEXT;

// Byte by byte as unsigned values; when one is a prefix of the other, the
// longer is greater. So "2.1", "2.0.1" and "3" are newer than "2.0", while
// "10.0" is not: versions are compared as text, not as numbers.
inline bool VersionNewer(std::string_view version, std::string_view current = CurrentVersion) {
  size_t n = version.size() < current.size() ? version.size() : current.size();
  for (size_t i = 0; i < n; ++i) {
    auto a = static_cast<unsigned char>(version[i]), b = static_cast<unsigned char>(current[i]);
    if (a != b) return a > b;
  }
  return version.size() > current.size();
}
