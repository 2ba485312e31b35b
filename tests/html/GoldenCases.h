// The golden files of the text formatter, compiled in (see formatter.cmake).
#pragma once

#include <cstddef>

struct TGoldenCase {
  const char* name;
  const char* html;      // UTF-8
  const char* expected;  // UTF-8
};

extern const TGoldenCase GoldenCases[];
extern const std::size_t GoldenCaseCount;
