#include <doctest.h>

#include <string>

#include "ticker/RetryAfter.h"

TEST_CASE("the next refresh after 429 and 503: the server's pause, never shorter than normal, an hour at most") {
  SYSTEMTIME now{};
  now.wYear = 2026;
  now.wMonth = 12;
  now.wDay = 8;
  now.wDayOfWeek = 2;
  now.wHour = 10;
  constexpr unsigned normal = 300000;
  struct Case {
    DWORD status;
    const char* retryAfter;
    unsigned expected;
  } cases[] = {
      {429, "600", 600000},
      {503, " 900 ", 900000},
      {429, "120", normal},  // shorter than the normal period
      {429, "0", normal},    // no storm of retries
      {429, "7200", MaxRetryAfterMs},
      {429, "99999999999999999999", MaxRetryAfterMs},
      {503, "Tue, 08 Dec 2026 10:20:00 GMT", 1200000},
      {503, "Tue, 08 Dec 2026 09:00:00 GMT", normal},  // in the past
      {503, "Wed, 09 Dec 2026 10:00:00 GMT", MaxRetryAfterMs},
      {429, "soon", normal},
      {429, "-5", normal},
      {429, "", normal},
      {200, "600", normal},  // only these two statuses ask for a pause
      {500, "600", normal},
      {0, "600", normal},
  };
  for (const Case& c : cases) {
    CAPTURE(c.status);
    std::string retryAfter = c.retryAfter;
    CAPTURE(retryAfter);
    CHECK(NextRefreshMs(c.status, c.retryAfter, normal, now) == c.expected);
  }
}
