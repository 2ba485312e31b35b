#include "ticker/Freshness.h"

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
long long DaysOf(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

TDayOf DayOf(const TClock& then, const TClock& now) {
  const long long gap = DaysOf(now.Year, now.Month, now.Day) - DaysOf(then.Year, then.Month, then.Day);
  if (gap <= 0) return TDayOf::Today;
  return gap == 1 ? TDayOf::Yesterday : TDayOf::Earlier;
}

TAge AgeOf(std::uint64_t seconds) {
  const std::uint64_t minutes = seconds / 60;
  if (minutes < 60) return {TAge::Minutes, static_cast<unsigned>(minutes < 1 ? 1 : minutes)};
  const std::uint64_t hours = minutes / 60;
  if (hours < 48) return {TAge::Hours, static_cast<unsigned>(hours)};
  const std::uint64_t days = hours / 24;
  return {TAge::Days, static_cast<unsigned>(days > 0xFFFFFFFFu ? 0xFFFFFFFFu : days)};
}
