#include <doctest.h>

#include "ticker/Version.h"

TEST_CASE("versions compare as bytes, a longer string winning a shared prefix") {
  struct Row {
    const char* version;
    bool newer;
  };
  const Row rows[] = {
      {"2.1", true}, {"2.0.1", true}, {"3", true},    {"2.0", false},
      {"1.9", false}, {"10.0", false}, {"2", false}, {"", false},
      {"\xff", true},  // unsigned bytes
  };
  for (const Row& r : rows) {
    CAPTURE(r.version);
    CHECK(VersionNewer(r.version) == r.newer);
  }
}
