#include <doctest.h>

#include "feed/Endpoints.h"
#include "feed/HttpUrl.h"
#include "feed/Request.h"

namespace {

struct RedirectCase {
  const char* location;
  const char* key;  // empty: refused
};

template <size_t N>
void CheckRedirects(const THttpUrl& from, const RedirectCase (&cases)[N]) {
  for (const RedirectCase& c : cases) {
    CAPTURE(c.location);
    auto url = ResolveRedirect(from, c.location);
    if (*c.key) {
      REQUIRE(url);
      CHECK(url->Key() == c.key);
    } else {
      CHECK_FALSE(url);
    }
  }
}

}  // namespace

TEST_CASE("redirect targets: resolved against the answering address, http and https only") {
  THttpUrl from;
  from.Host = "news.example";
  from.Port = 8080;
  from.Path = "/a/b/feed.rss?rand=5";

  const RedirectCase cases[] = {
      {"http://other.example/x", "http://other.example:80/x"},
      {"HTTPS://Other.Example:8443/x?q=1#frag", "https://other.example:8443/x?q=1"},
      {"https://other.example", "https://other.example:443/"},
      {"  /rooted  ", "http://news.example:8080/rooted"},
      {"sibling.rss", "http://news.example:8080/a/b/sibling.rss"},
      {"../up.rss", "http://news.example:8080/a/up.rss"},
      {"../../../../x", "http://news.example:8080/x"},
      {"./same?x=1", "http://news.example:8080/a/b/same?x=1"},
      {"?only=query", "http://news.example:8080/a/b/feed.rss?only=query"},
      {"//cdn.example/f", "http://cdn.example:80/f"},
      {"http://[::1]:9/v6", "http://[::1]:9/v6"},
      {"", ""},
      {"#frag", ""},
      {"file:///C:/windows/notepad.exe", ""},
      {"javascript:alert(1)", ""},
      {"kavtest:payload", ""},
      {"ftp://host/x", ""},
      {"http:/no-authority", ""},
      {"http://", ""},
      {"http://user:pw@host/x", ""},
      {"http://host:0/x", ""},
      {"http://host:65536/x", ""},
      {"http://host:12a/x", ""},
      {"http://ho st/x", ""},
      {"/a\r\nX-Evil: 1", ""},
      {"\\\\server\\share", ""},
  };
  CheckRedirects(from, cases);
}

TEST_CASE("from https a redirect stays on https") {
  THttpUrl from;
  from.Secure = true;
  from.Host = "news.example";
  from.Path = "/feed.rss";
  const RedirectCase cases[] = {
      {"http://news.example/feed.rss", ""},
      {"HTTP://other.example:80/x", ""},
      {"https://other.example/x", "https://other.example:443/x"},
      {"//cdn.example/f", "https://cdn.example:443/f"},
      {"/moved.rss", "https://news.example:443/moved.rss"},
  };
  CheckRedirects(from, cases);
}

TEST_CASE("an address compares equal however its host and port are written") {
  THttpUrl a;
  a.Host = "News.Example";
  a.Path = "/x";
  THttpUrl b = a;
  b.Host = "news.example";
  b.Port = 80;
  CHECK(a.Key() == b.Key());
  b.Secure = true;
  CHECK(a.Key() != b.Key());
}

TEST_CASE("an endpoint as an address prefix: its scheme, and its port only when it is not the scheme's own") {
  struct Case {
    build::TEndpoint endpoint;
    const char* origin;
  } cases[] = {
      {{"news.example", true, 0}, "https://news.example"},
      {{"news.example", true, 8443}, "https://news.example:8443"},
      {{"127.0.0.1", false, 18473}, "http://127.0.0.1:18473"},
      {{"kavrelo.example", false, 0}, "http://kavrelo.example"},
  };
  for (const Case& c : cases) {
    CAPTURE(c.origin);
    CHECK(EndpointOrigin(c.endpoint) == c.origin);
    TRequest request;
    TargetEndpoint(request, c.endpoint);
    CHECK(request.GetField(rfHost) == c.endpoint.Host);
    CHECK(request.Secure == c.endpoint.Secure);
    CHECK(request.EffectivePort() == (c.endpoint.Port ? c.endpoint.Port : (c.endpoint.Secure ? 443 : 80)));
    // What goes over TLS asks WinInet for it; nothing ever asks to ignore a
    // certificate error.
    const DWORD ignoring = INTERNET_FLAG_IGNORE_CERT_CN_INVALID | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID |
                           INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    CHECK(((request.OpenFlags() & INTERNET_FLAG_SECURE) != 0) == c.endpoint.Secure);
    CHECK((request.OpenFlags() & ignoring) == 0);
  }
}
