#include <doctest.h>

#include <windows.h>

#include "TestHttpServer.h"
#include "feed/InternetHandles.h"
#include "feed/InternetRoot.h"
#include "feed/Request.h"
#include "feed/UserAgent.h"

namespace {

// A root handle of its own per test, as the program opens one per process.
UniqueInternetHandle OpenRoot() {
  return UniqueInternetHandle(::InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
}

struct Exchange {
  int result;
  std::string content;
  std::string rawHeaders;
};

Exchange Get(HINTERNET root, unsigned short port, const char* path, DWORD timeoutMs = 5000) {
  TRequest request;
  request.SetField(rfHost, "127.0.0.1");
  request.SetField(rfPath, path);
  request.Port = port;
  request.TimeoutMs = timeoutMs;
  int result = request.SendRequest(root);
  return {result, ContentAsString(request.Response), request.Response.RawHeaders};
}

}  // namespace

TEST_CASE("request fields: defaults and bounds") {
  TRequest request;
  CHECK(request.GetField(rfVerb) == "GET");
  CHECK(request.GetField(rfVersion) == "HTTP/1.1");
  for (int i : {0, 1, 3, 4, 5, 6, 7, 9, 10, 11}) CHECK(request.GetField(i).empty());

  request.SetField(12, "x");
  request.SetField(-1, "x");
  CHECK(request.GetField(12).empty());
  CHECK(request.GetField(-1).empty());
  request.SetField(11, "kept");
  CHECK(request.GetField(11) == "kept");

  TResponse response;
  response.SetField(12, "x");
  CHECK(response.GetField(12).empty());
  CHECK(response.GetField(ResponseSetCookie).empty());
}

TEST_CASE("request header block: fixed order, one line per non-empty value") {
  TRequest request;
  CHECK(request.BuildHeaders().empty());
  CHECK(request.EffectivePort() == 80);

  request.SetField(rfContentType, "text/xml");
  request.SetField(rfConnection, "close");
  request.SetField(rfUserAgent, "UA");
  request.SetField(rfReferer, "http://r/");
  request.SetField(rfCookie, "a=b");
  request.SetField(rfAccept, "*/*");
  request.SetField(5, "never sent");
  request.SetField(11, "never sent");
  CHECK(request.BuildHeaders() ==
        "Accept: */*\r\nCookie: a=b\r\nReferer: http://r/\r\nUser-Agent: UA\r\n"
        "Connection: close\r\nContent-Type: text/xml\r\n");

  request.SetField(rfCookie, "");
  request.SetField(rfReferer, "");
  CHECK(request.BuildHeaders() == "Accept: */*\r\nUser-Agent: UA\r\nConnection: close\r\nContent-Type: text/xml\r\n");

  request.Secure = true;
  CHECK(request.EffectivePort() == 443);
  request.Port = 8080;
  CHECK(request.EffectivePort() == 8080);

  // Validators follow the fixed block; one carrying a line break (a
  // server's attempt to add headers of its own) is not sent.
  request.IfNoneMatch = "\"v1\"";
  request.IfModifiedSince = "Tue, 08 Dec 2026 10:00:00 GMT";
  CHECK(request.BuildHeaders() ==
        "Accept: */*\r\nUser-Agent: UA\r\nConnection: close\r\nContent-Type: text/xml\r\n"
        "If-None-Match: \"v1\"\r\nIf-Modified-Since: Tue, 08 Dec 2026 10:00:00 GMT\r\n");
  request.IfNoneMatch = "\"v1\"\r\nX-Evil: 1";
  CHECK(request.BuildHeaders().find("X-Evil") == std::string::npos);
}

TEST_CASE("request flags: never through the URL cache, redirects left to the program") {
  // Wine has no URL cache, so only the flags can show this.
  const DWORD always = INTERNET_FLAG_HYPERLINK | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                       INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_COOKIES;
  TRequest request;
  CHECK(request.OpenFlags() == always);
  request.FollowRedirects = false;
  CHECK(request.OpenFlags() == always);
  request.Secure = true;
  CHECK(request.OpenFlags() == (always | INTERNET_FLAG_SECURE));
  const DWORD cacheReads = INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_CACHE_IF_NET_FAIL |
                           INTERNET_FLAG_FROM_CACHE | INTERNET_FLAG_RESYNCHRONIZE;
  CHECK((request.OpenFlags() & cacheReads) == 0);
}

TEST_CASE("SendRequest against a local server") {
  TestHttpServer server;
  UniqueInternetHandle root = OpenRoot();
  REQUIRE(root);

  SUBCASE("200: the whole body, result 0, raw headers kept") {
    Exchange e = Get(root.Get(), server.Port(), "/ok?rand=1");
    CHECK(e.result == 0);
    CHECK(e.content == TestHttpServer::OkBody());
    CHECK(e.rawHeaders.rfind("HTTP/1.1 200", 0) == 0);
    auto requests = server.Requests();
    REQUIRE(requests.size() == 1);
    CHECK(requests[0].rfind("GET /ok?rand=1 HTTP/1.1\r\n", 0) == 0);
    // No headers of our own with the defaults.
    CHECK(requests[0].find("Cookie:") == std::string::npos);
    CHECK(requests[0].find("Referer:") == std::string::npos);
  }
  SUBCASE("headers set on the request reach the server in order") {
    TRequest request;
    request.SetField(rfHost, "127.0.0.1");
    request.SetField(rfPath, "/ok");
    request.SetField(rfUserAgent, "Kavrelo-Test");
    request.SetField(rfCookie, "k=v");
    request.SetField(rfAccept, "text/xml");
    request.IfNoneMatch = "\"v9\"";
    request.Port = server.Port();
    request.TimeoutMs = 5000;
    CHECK(request.SendRequest(root.Get()) == 0);
    auto requests = server.Requests();
    REQUIRE(requests.size() == 1);
    const std::string& sent = requests[0];
    size_t accept = sent.find("\r\nAccept: text/xml\r\n");
    size_t cookie = sent.find("\r\nCookie: k=v\r\n");
    size_t agent = sent.find("\r\nUser-Agent: Kavrelo-Test\r\n");
    size_t validator = sent.find("\r\nIf-None-Match: \"v9\"\r\n");
    REQUIRE(accept != std::string::npos);
    REQUIRE(cookie != std::string::npos);
    REQUIRE(agent != std::string::npos);
    REQUIRE(validator != std::string::npos);
    CHECK(accept < cookie);
    CHECK(cookie < agent);
    CHECK(agent < validator);
  }
  SUBCASE("404 with a page: result 0 and the page delivered") {
    TRequest request;
    request.SetField(rfHost, "127.0.0.1");
    request.SetField(rfPath, "/404");
    request.Port = server.Port();
    CHECK(request.SendRequest(root.Get()) == 0);
    CHECK(request.Response.Status == 404);
    Exchange e = Get(root.Get(), server.Port(), "/404");
    CHECK(e.result == 0);
    CHECK(e.content.find("Sayfa bulunamad") != std::string::npos);
    CHECK(e.rawHeaders.rfind("HTTP/1.1 404", 0) == 0);
  }
  SUBCASE("a body cut short: -1 with the bytes read so far") {
    Exchange e = Get(root.Get(), server.Port(), "/cut");
    CHECK(e.result == -1);
    CHECK(e.content == std::string(100, 'x'));
  }
  SUBCASE("a connection closed without a reply: -1, nothing delivered") {
    Exchange e = Get(root.Get(), server.Port(), "/silent");
    CHECK(e.result == -1);
    CHECK(e.content.empty());
  }
  SUBCASE("a stalled server: -1 once the time-out has passed") {
    DWORD start = ::GetTickCount();
    Exchange e = Get(root.Get(), server.Port(), "/stall", 1000);
    DWORD elapsed = ::GetTickCount() - start;
    CHECK(e.result == -1);
    CHECK(e.content.empty());
    // Bounded by the time-out, not by WinInet's default of minutes.
    CHECK(elapsed < 20000);
  }
}

TEST_CASE("SendRequest without a server or a root handle") {
  UniqueInternetHandle root = OpenRoot();
  Exchange unreachable = Get(root.Get(), TestHttpServer::UnusedPort(), "/ok");
  CHECK(unreachable.result == -1);
  CHECK(unreachable.content.empty());

  // A null root: nothing reaches a server that is there, although the
  // request would build a header block.
  TestHttpServer server;
  TRequest request;
  request.SetField(rfHost, "127.0.0.1");
  request.SetField(rfPath, "/ok");
  request.SetField(rfUserAgent, "Kavrelo-Test");
  request.Port = server.Port();
  CHECK(request.SendRequest(nullptr) == -1);
  ::Sleep(200);
  CHECK(server.Requests().empty());
  CHECK(request.Response.Status == 0);
  CHECK(request.Response.Content.empty());
  CHECK(request.Headers.empty());
}

TEST_CASE("through the program's root: no cookie either way, no Referer, the program's User-Agent") {
  TestHttpServer server;
  REQUIRE(OpenInternet());
  const std::string host = "http://127.0.0.1:" + std::to_string(server.Port()) + "/";
  // A cookie another program of the user left in the shared jar for this
  // host, and one the server sets on the way (behind a redirect).
  REQUIRE(::InternetSetCookieA(host.c_str(), "jar", "1; expires=Sat, 01-Jan-2050 00:00:00 GMT"));
  CHECK(Get(InternetHandle, server.Port(), "/setcookie").result == 0);
  CHECK(Get(InternetHandle, server.Port(), "/ok").result == 0);
  CloseInternet();

  auto requests = server.Requests();
  REQUIRE(requests.size() == 3);
  const std::string agent = "\r\nUser-Agent: " + UserAgent() + "\r\n";
  for (const std::string& sent : requests) {
    CAPTURE(sent);
    CHECK(sent.find("Cookie:") == std::string::npos);
    CHECK(sent.find("Referer:") == std::string::npos);
    CHECK(sent.find(agent) != std::string::npos);
  }
  // What it looks like: "Kavrelo/2.0 (Windows NT 10.0; x64)".
  const std::string ua = UserAgent();
  CHECK(ua.rfind("Kavrelo/", 0) == 0);
  CHECK(ua.find(" (Windows NT ") != std::string::npos);
  CHECK((ua.size() > 6 && (ua.compare(ua.size() - 6, 6, "; x86)") == 0 || ua.compare(ua.size() - 6, 6, "; x64)") == 0)));
  // Nothing was kept from the server's reply.
  char jar[512] = {};
  DWORD size = sizeof(jar);
  if (::InternetGetCookieA(host.c_str(), nullptr, jar, &size)) CHECK(std::string(jar).find("server=") == std::string::npos);
}
