#include <doctest.h>

#include <windows.h>

#include "../settings/TestFiles.h"
#include "ticker/FeedStamp.h"

TEST_CASE("the update stamp reads back only as a plain number") {
  CHECK(ParseUpdateTime(FormatUpdateTime(134097123456789012ull)) == 134097123456789012ull);
  CHECK(ParseUpdateTime("134097123456789012") == 134097123456789012ull);
  for (const char* bad : {"", "\r\n", "-5", "12x", "1 2", "99999999999999999999", "0x10"}) {
    CAPTURE(bad);
    CHECK(ParseUpdateTime(bad) == 0);
  }
}

TEST_CASE("a restart knows when the saved feed came: the stamp, else the file's time, never ahead of now") {
  TScratchFolder data(L"feedstamp");
  const std::wstring cache = data / L"news.xml";
  const std::uint64_t now = UtcTicksNow();
  CHECK(LoadUpdateTime(cache, now) == 0);  // nothing saved yet
  REQUIRE(WriteBytes(cache, "<rss/>"));
  // A copy from before stamps existed: its own time, a moment ago.
  const std::uint64_t fileTime = LoadUpdateTime(cache, UtcTicksNow());
  CHECK(fileTime > now - 60 * TicksPerSecond);
  const std::uint64_t hourAgo = now - 3600 * TicksPerSecond;
  REQUIRE(SaveUpdateTime(cache, hourAgo));
  CHECK(LoadUpdateTime(cache, now) == hourAgo);
  // A stamp from the future (the clock was wrong) reads as now.
  REQUIRE(SaveUpdateTime(cache, now + 3600 * TicksPerSecond));
  CHECK(LoadUpdateTime(cache, now) == now);
  // A damaged stamp falls back to the file's time.
  REQUIRE(WriteBytes(UpdateStampPathFor(cache), "garbage"));
  CHECK(LoadUpdateTime(cache, UtcTicksNow()) >= fileTime);
}
