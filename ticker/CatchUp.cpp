#include "ticker/CatchUp.h"

#include <algorithm>

unsigned MinRefreshSpacingMs(unsigned periodMs) { return periodMs / 30u; }

unsigned RetryDelayMs(unsigned failures, unsigned periodMs, double spread) {
  if (failures == 0) return periodMs;
  // First a tenth of the period, doubling; the shift stops long before it
  // could overflow, as the period caps it anyway.
  double delay = periodMs / 10.0;
  for (unsigned i = 1; i < failures && delay < periodMs; ++i) delay *= 2;
  delay = std::min<double>(delay, periodMs);
  spread = std::min(std::max(spread, 0.0), 1.0);
  delay *= 0.8 + 0.4 * spread;
  delay = std::min<double>(delay, periodMs);
  delay = std::max<double>(delay, MinRefreshSpacingMs(periodMs));
  return static_cast<unsigned>(delay);
}

bool CatchUpNeeded(bool everSucceeded, std::uint64_t msSinceSuccess, unsigned periodMs) {
  // Never less than a few seconds: a refresh that just ended is fresh
  // whatever the period.
  const std::uint64_t fresh = periodMs / 5u > 3000u ? periodMs / 5u : 3000u;
  return !everSucceeded || msSinceSuccess > fresh;
}
