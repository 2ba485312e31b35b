#include <doctest.h>

#include "app/IdleRule.h"
#include "ticker/FeedPath.h"

TEST_CASE("idle trim is due only after more than the delay, across tick wrap-around; then it waits for input") {
  struct Row {
    std::uint32_t now, last;
    bool due;
  };
  const Row rows[] = {
      {10000, 0, false},            // exactly the delay: not yet
      {10001, 0, true},             // start-up: no input ever, first check trims
      {50000, 45000, false},        // input 5 s ago
      {5000, 0xFFFFF000u, false},   // tick counter wrapped, input 9 s ago
      {20000, 0xFFFFF000u, true},   // wrapped, input 24 s ago
  };
  for (const Row& r : rows) {
    CAPTURE(r.now);
    CAPTURE(r.last);
    CHECK(IdleTrimDue(r.now, r.last) == r.due);
    CHECK(NextIdleTrimStep(r.now, r.last) ==
          (r.due ? TIdleTrimStep::TrimThenWaitForInput : TIdleTrimStep::LookAgainLater));
  }
}

TEST_CASE("feed request path carries the random value in plain decimal") {
  CHECK(FeedRequestPath(0) == "/sondakika.rss?rand=0");
  CHECK(FeedRequestPath(RandLimit - 1) == "/sondakika.rss?rand=2147483646");
}
