// The feed worker against a local server: only a feed may replace the
// saved copy, its items come parsed, and validators make the next request
// conditional.
#include <doctest.h>

#include <windows.h>
#include <objbase.h>

#include <fstream>
#include <sstream>

#include "../feed/TestHttpServer.h"
#include "feed/InternetHandles.h"
#include "ticker/FeedThread.h"

namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Read(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct TDataFolder {
  TDataFolder() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    dir = std::wstring(temp) + L"kavrelo-feedthread-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(dir.c_str(), nullptr);
    cache = dir + L"\\news.xml";
    std::ofstream(cache.c_str(), std::ios::binary) << "old bytes";
  }
  ~TDataFolder() {
    for (const wchar_t* name : {L"\\news.xml", L"\\news.xml.validators", L"\\news.xml.download"})
      ::DeleteFileW((dir + name).c_str());
    ::RemoveDirectoryW(dir.c_str());
  }
  std::wstring dir, cache;
};

std::unique_ptr<TFeedThread> Run(HINTERNET root, const TestHttpServer& server, const TDataFolder& data,
                                 const char* path) {
  auto worker = std::make_unique<TFeedThread>(nullptr, WM_USER + 23, root, data.cache);
  worker->Request().SetField(rfHost, "127.0.0.1");
  worker->Request().SetField(rfPath, path);
  worker->Request().Port = server.Port();
  worker->Request().TimeoutMs = 5000;
  worker->Resume();
  worker->WaitFor();
  return worker;
}

}  // namespace

TEST_CASE("the feed worker takes feeds only") {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  TestHttpServer server;
  UniqueInternetHandle root(::InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  TDataFolder data;
  const std::wstring validators = TFeedThread::ValidatorsPathFor(data.cache);

  SUBCASE("replies that are not a feed leave the cache and nothing beside it") {
    struct Case {
      const char* path;
      TFeedOutcome outcome;
    } cases[] = {
        {"/ok", TFeedOutcome::NotAFeed},  // 200, but plain text
        {"/404", TFeedOutcome::Failed},
        {"/500", TFeedOutcome::Failed},
        {"/loop", TFeedOutcome::Failed},
        {"/busy", TFeedOutcome::Failed},
        {"/cut", TFeedOutcome::Failed},
        {"/silent", TFeedOutcome::Failed},
    };
    for (const Case& c : cases) {
      CAPTURE(c.path);
      auto worker = Run(root.Get(), server, data, c.path);
      CHECK(worker->Outcome() == c.outcome);
      CHECK_FALSE(worker->Commit());
      CHECK(worker->TakeItems() == nullptr);
      CHECK_FALSE(Exists(worker->CheckPath()));
      CHECK(Read(data.cache) == "old bytes");
      CHECK_FALSE(Exists(validators));
    }
  }
  SUBCASE("a feed: parsed on the worker, committed byte for byte with its validators") {
    auto worker = Run(root.Get(), server, data, "/rss");
    REQUIRE(worker->Outcome() == TFeedOutcome::Feed);
    CHECK(Read(worker->CheckPath()) == TestHttpServer::RssBody());
    CHECK(Read(data.cache) == "old bytes");  // nothing replaced before Commit
    REQUIRE(worker->Commit());
    CHECK(Read(data.cache) == TestHttpServer::RssBody());
    CHECK_FALSE(Exists(worker->CheckPath()));
    auto items = worker->TakeItems();
    REQUIRE(items);
    REQUIRE(items->size() == 2);
    CHECK((*items)[0]->Title == L"Birinci");
    CHECK((*items)[1]->Title == L"\u0130kinci");
    CHECK(Exists(validators));

    // The next request is conditional and a 304 changes nothing.
    auto again = Run(root.Get(), server, data, "/rss");
    CHECK(again->Request().IfNoneMatch == "\"r1\"");
    CHECK(again->Outcome() == TFeedOutcome::NotModified);
    CHECK(server.Requests().back().find("If-None-Match: \"r1\"\r\n") != std::string::npos);
    CHECK(Read(data.cache) == TestHttpServer::RssBody());
  }
  SUBCASE("a checked feed nobody commits is removed with the worker") {
    std::wstring check;
    {
      auto worker = Run(root.Get(), server, data, "/rss");
      REQUIRE(worker->Outcome() == TFeedOutcome::Feed);
      check = worker->CheckPath();
      CHECK(Exists(check));
    }
    CHECK_FALSE(Exists(check));
    CHECK(Read(data.cache) == "old bytes");
  }
  ::CoUninitialize();
}
