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

// What the trim check does next. Once trimmed, nothing grows back while the
// user is away but what a refresh reads (which trimming again would only
// page out and in once more), so it waits for the next input instead of
// ticking on; while the user is busy it looks again a period later.
enum class TIdleTrimStep { TrimThenWaitForInput, LookAgainLater };

inline TIdleTrimStep NextIdleTrimStep(std::uint32_t now, std::uint32_t lastInput,
                                      std::uint32_t delay = IdleTrimDelay) {
  return IdleTrimDue(now, lastInput, delay) ? TIdleTrimStep::TrimThenWaitForInput : TIdleTrimStep::LookAgainLater;
}
