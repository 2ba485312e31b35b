// How long to wait before the next feed refresh after a server said "too
// many requests" (429) or "unavailable" (503).
#pragma once

#include <windows.h>

#include <string>

// Longest wait a server can ask for.
inline constexpr unsigned MaxRetryAfterMs = 3600u * 1000u;

// The period until the next refresh: the normal one, unless the reply was a
// 429 or 503 with a Retry-After (delay in seconds or an HTTP date, compared
// with nowUtc) asking for longer; capped at MaxRetryAfterMs. A server never
// makes the ticker ask more often than normal.
unsigned NextRefreshMs(DWORD status, const std::string& retryAfter, unsigned normalMs, const SYSTEMTIME& nowUtc);
