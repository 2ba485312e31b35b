#include <doctest.h>

#include <windows.h>

#include <fstream>

#include "ticker/FeedValidators.h"

TEST_CASE("validators belong to the bytes they were saved with") {
  const std::string feed = "<rss>bir</rss>";
  TFeedValidators v{"\"e1\"", "Tue, 08 Dec 2026 10:00:00 GMT"};
  std::string text = FormatFeedValidators(v, feed);
  TFeedValidators back = ParseFeedValidators(text, feed);
  CHECK(back.ETag == v.ETag);
  CHECK(back.LastModified == v.LastModified);

  // Another copy of the feed, the same length or not: worthless.
  CHECK(ParseFeedValidators(text, "<rss>iki</rss>").Empty());
  CHECK(ParseFeedValidators(text, feed + " ").Empty());
  // Damaged files give nothing rather than half a validator.
  CHECK(ParseFeedValidators(text.substr(0, text.size() - 1), feed).Empty());
  CHECK(ParseFeedValidators("", feed).Empty());
  CHECK(ParseFeedValidators("garbage\r\n", feed).Empty());
  std::string injected = text;
  injected.replace(injected.find("\"e1\""), 4, "\"e1\"\x01");
  CHECK(ParseFeedValidators(injected, feed).Empty());
  // Only one of the two is fine.
  TFeedValidators etagOnly = ParseFeedValidators(FormatFeedValidators({"\"x\"", ""}, feed), feed);
  CHECK(etagOnly.ETag == "\"x\"");
  CHECK(etagOnly.LastModified.empty());
}

TEST_CASE("validators file: saved atomically, removed when there are none, unreadable means none") {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring dir = std::wstring(temp) + L"kavrelo-validators-" + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(dir.c_str(), nullptr);
  std::wstring feedPath = dir + L"\\news.xml", path = dir + L"\\news.xml.validators";
  const std::string feed = "<rss>bir</rss>";
  { std::ofstream(feedPath.c_str(), std::ios::binary) << feed; }

  CHECK(LoadFeedValidators(path, feedPath).Empty());  // no file yet
  REQUIRE(SaveFeedValidators(path, {"\"e1\"", ""}, feed));
  CHECK(LoadFeedValidators(path, feedPath).ETag == "\"e1\"");

  // The feed file changed behind our back.
  { std::ofstream(feedPath.c_str(), std::ios::binary) << "<rss>baska</rss>"; }
  CHECK(LoadFeedValidators(path, feedPath).Empty());
  // A missing feed file.
  ::DeleteFileW(feedPath.c_str());
  CHECK(LoadFeedValidators(path, feedPath).Empty());

  // A server without validators leaves no file behind.
  CHECK(SaveFeedValidators(path, {}, feed));
  CHECK(::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES);
  CHECK(SaveFeedValidators(path, {}, feed));  // and nothing to remove is fine
  // A value with a line break is never stored.
  CHECK(SaveFeedValidators(path, {"\"a\"\r\nX: y", ""}, feed));
  CHECK(::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES);

  // Too big to be ours: ignored.
  { std::ofstream(feedPath.c_str(), std::ios::binary) << feed; }
  { std::ofstream(path.c_str(), std::ios::binary) << std::string(20000, 'x'); }
  CHECK(LoadFeedValidators(path, feedPath).Empty());
  ::DeleteFileW(path.c_str());
  ::DeleteFileW(feedPath.c_str());
  ::RemoveDirectoryW(dir.c_str());
}
