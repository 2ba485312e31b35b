// How the age of the shown list is put into words: the time of the last
// successful update as "14:05", "dün 22:10" or a date, and an age as so
// many minutes, hours or days. Only the arithmetic; the words and the
// locale's formats are the window's.
#pragma once

#include <cstdint>

// A local calendar time.
struct TClock {
  int Year = 1970, Month = 1, Day = 1, Hour = 0, Minute = 0;
};

enum class TDayOf { Today, Yesterday, Earlier };

// Which day `then` was, seen from `now` (both local). A time ahead of now
// (the clock was set back) counts as today.
TDayOf DayOf(const TClock& then, const TClock& now);

struct TAge {
  enum Unit { Minutes, Hours, Days } In = Minutes;
  unsigned Count = 0;
};

// An age in whole units, rounded down: minutes below an hour (at least 1),
// hours below two days, days beyond.
TAge AgeOf(std::uint64_t seconds);

// The status line tells the list's age once it is older than this.
inline constexpr std::uint64_t StaleAfterSeconds = 30 * 60;
