#include <doctest.h>

#include "ticker/CatchUp.h"

namespace {
constexpr unsigned Period = 300000;  // five minutes
}

TEST_CASE("after network failures the ticker tries again at 30, 60, 120 and 240 s, then every period") {
  struct Row {
    unsigned failures;
    unsigned atMiddle, atLow, atHigh;  // spread 0.5, 0 and just under 1
  };
  const Row rows[] = {
      {1, 30000, 24000, 36000},     {2, 60000, 48000, 72000},     {3, 120000, 96000, 144000},
      {4, 240000, 192000, 288000},  {5, 300000, 240000, 300000},  // capped: never slower than normal
      {40, 300000, 240000, 300000}, {0, 300000, 300000, 300000},  // no failure: the normal period
  };
  for (const Row& r : rows) {
    CAPTURE(r.failures);
    CHECK(RetryDelayMs(r.failures, Period, 0.5) == r.atMiddle);
    CHECK(RetryDelayMs(r.failures, Period, 0.0) == r.atLow);
    CHECK(RetryDelayMs(r.failures, Period, 0.999999) == doctest::Approx(r.atHigh).epsilon(0.0001));
  }
  // A spread outside [0, 1) is taken at its edge.
  CHECK(RetryDelayMs(1, Period, -3) == 24000);
  CHECK(RetryDelayMs(1, Period, 7) == 36000);
}

TEST_CASE("a short test period scales every figure, and none falls under the spacing") {
  CHECK(RetryDelayMs(1, 4000, 0.5) == 400);
  CHECK(RetryDelayMs(3, 4000, 0.5) == 1600);
  CHECK(RetryDelayMs(9, 4000, 0.5) == 4000);
  CHECK(MinRefreshSpacingMs(Period) == 10000);
  CHECK(MinRefreshSpacingMs(4000) == 133);
  // However small the period, the first retry keeps the spacing.
  CHECK(RetryDelayMs(1, 30, 0.0) >= MinRefreshSpacingMs(30));
}

TEST_CASE("waking or a network coming back refreshes only a list older than a minute") {
  CHECK(CatchUpNeeded(true, 60001, Period));
  CHECK_FALSE(CatchUpNeeded(true, 60000, Period));
  CHECK_FALSE(CatchUpNeeded(true, 5000, Period));
  CHECK(CatchUpNeeded(false, 0, Period));  // nothing fetched yet this run
  // A short test period still calls a list of a few seconds fresh.
  CHECK_FALSE(CatchUpNeeded(true, 2000, 4000));
  CHECK(CatchUpNeeded(true, 3001, 4000));
}
