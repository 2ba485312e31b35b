// When the working set may be trimmed: the user has not touched keyboard or
// mouse for longer than the delay. Tick counts wrap every 49.7 days, so the
// difference is taken in unsigned 32-bit arithmetic.
#pragma once

#include <cstdint>

inline constexpr std::uint32_t IdleTrimDelay = 10000;

inline bool IdleTrimDue(std::uint32_t now, std::uint32_t lastInput,
                        std::uint32_t delay = IdleTrimDelay) {
  return static_cast<std::uint32_t>(now - lastInput) > delay;
}
