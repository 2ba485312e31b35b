#include <doctest.h>

#include <string>

#include "feed/LinkPolicy.h"

namespace {

const wchar_t Base[] = L"http://haber.example:8080/sondakika.rss";

struct TLinkCase {
  const wchar_t* link;
  const wchar_t* opens;  // empty: opens nothing
};

}  // namespace

TEST_CASE("link policy: web pages open, relative links resolve, nothing else runs") {
  const TLinkCase cases[] = {
      {L"http://site.example/haber?id=5", L"http://site.example/haber?id=5"},
      {L"HTTPS://Site.Example/a#b", L"HTTPS://Site.Example/a#b"},
      {L" \t\r\nhttp://site.example/x \n", L"http://site.example/x"},
      {L"http://user@site.example:81/", L"http://user@site.example:81/"},
      {L"http://[::1]:8080/x", L"http://[::1]:8080/x"},
      {L"http://site.example/a b\"c<d>", L"http://site.example/a%20b%22c%3Cd%3E"},
      {L"http://site.example/İstanbul", L"http://site.example/İstanbul"},
      // Relative to the feed's own address.
      {L"/haber/5", L"http://haber.example:8080/haber/5"},
      {L"haber/5", L"http://haber.example:8080/haber/5"},
      {L"//cdn.example/x", L"http://cdn.example/x"},
      {L"?id=3", L"http://haber.example:8080/sondakika.rss?id=3"},
      {L"#son", L"http://haber.example:8080/sondakika.rss#son"},
      // Nothing that is not a web page.
      {L"", L""},
      {L"   ", L""},
      {L"file:///C:/windows/notepad.exe", L""},
      {L"C:\\windows\\notepad.exe", L""},
      {L"C:/windows/notepad.exe", L""},
      {L"\\\\server\\share\\a.exe", L""},
      {L"http://site.example\\@evil/", L""},
      {L"javascript:alert(1)", L""},
      {L"kavtest:payload", L""},
      {L"ms-settings:privacy", L""},
      {L"search-ms:query=x", L""},
      {L"mailto:a@b.example", L""},
      {L"http:/site.example/x", L""},
      {L"http:site.example", L""},
      {L"http://", L""},
      {L"http:///path", L""},
      {L"http://:80/", L""},
      {L"http://site.example:8a/", L""},
      {L"http://site\".example/", L""},
      {L"http://site.example/a\tb", L""},
      {L"http://site.example/\x01", L""},
      {L"http://site.example/\x85", L""},
      {L"ftp://site.example/x", L""},
  };
  for (const auto& c : cases) {
    CAPTURE(std::wstring(c.link));
    CHECK(OpenableAddress(c.link, Base) == c.opens);
  }
  // Without a usable base, relative links open nothing.
  CHECK(OpenableAddress(L"/haber/5", L"").empty());
  CHECK(OpenableAddress(L"/haber/5", L"file:///C:/x").empty());
  // Over the shell's limit.
  CHECK(OpenableAddress(L"http://site.example/" + std::wstring(2100, L'a'), Base).empty());
}

TEST_CASE("referral: ?ref= without a query, &ref= with one, before the fragment") {
  const TLinkCase cases[] = {
      {L"http://s.example/haber", L"http://s.example/haber?ref=kv"},
      {L"http://s.example/haber?id=5", L"http://s.example/haber?id=5&ref=kv"},
      {L"http://s.example/haber?id=5#yorum", L"http://s.example/haber?id=5&ref=kv#yorum"},
      {L"http://s.example/haber#a?b", L"http://s.example/haber?ref=kv#a?b"},
      {L"http://s.example/haber?", L"http://s.example/haber?ref=kv"},
      {L"http://s.example/haber?a=1&", L"http://s.example/haber?a=1&ref=kv"},
  };
  for (const auto& c : cases) {
    CAPTURE(std::wstring(c.link));
    CHECK(WithReferral(c.link, L"kv") == c.opens);
  }
  CHECK(ClickAddress(L"/x?y=1", Base, L"kv") == L"http://haber.example:8080/x?y=1&ref=kv");
  CHECK(ClickAddress(L"file:///C:/x", Base, L"kv").empty());
  CHECK(ClickAddress(L"", Base, L"kv").empty());
}
