#include <doctest.h>

#include "ticker/Freshness.h"

TEST_CASE("the last update is today, yesterday or earlier, across months, years and leap days") {
  struct Row {
    TClock then, now;
    TDayOf day;
  };
  const Row rows[] = {
      {{2026, 12, 10, 0, 5}, {2026, 12, 10, 23, 59}, TDayOf::Today},
      {{2026, 12, 9, 22, 10}, {2026, 12, 10, 0, 1}, TDayOf::Yesterday},
      {{2026, 12, 8, 23, 59}, {2026, 12, 10, 0, 0}, TDayOf::Earlier},
      {{2026, 11, 30, 12, 0}, {2026, 12, 1, 8, 0}, TDayOf::Yesterday},
      {{2026, 12, 31, 23, 0}, {2027, 1, 1, 1, 0}, TDayOf::Yesterday},
      {{2028, 2, 28, 9, 0}, {2028, 3, 1, 9, 0}, TDayOf::Earlier},  // 29 February lies between
      {{2027, 2, 28, 9, 0}, {2027, 3, 1, 9, 0}, TDayOf::Yesterday},
      {{2026, 12, 11, 9, 0}, {2026, 12, 10, 9, 0}, TDayOf::Today},  // the clock went back
      {{2025, 12, 10, 9, 0}, {2026, 12, 10, 9, 0}, TDayOf::Earlier},
  };
  for (const Row& r : rows) {
    CAPTURE(r.then.Month);
    CAPTURE(r.then.Day);
    CHECK(DayOf(r.then, r.now) == r.day);
  }
}

TEST_CASE("an age reads in minutes, hours or days, rounded down") {
  struct Row {
    unsigned long long seconds;
    TAge::Unit in;
    unsigned count;
  };
  const Row rows[] = {
      {0, TAge::Minutes, 1},          {59, TAge::Minutes, 1},       {31 * 60, TAge::Minutes, 31},
      {3599, TAge::Minutes, 59},      {3600, TAge::Hours, 1},       {2 * 3600 + 3599, TAge::Hours, 2},
      {47 * 3600 + 3599, TAge::Hours, 47}, {48 * 3600, TAge::Days, 2}, {400ull * 86400, TAge::Days, 400},
  };
  for (const Row& r : rows) {
    CAPTURE(r.seconds);
    TAge a = AgeOf(r.seconds);
    CHECK(a.In == r.in);
    CHECK(a.Count == r.count);
  }
  CHECK(StaleAfterSeconds == 1800);
}
