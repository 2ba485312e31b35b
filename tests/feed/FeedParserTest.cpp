#include <doctest.h>

#include <windows.h>

#include <string>

#include "app/AtomicFile.h"
#include "feed/FeedParser.h"
#include "feed/XmlDom.h"

namespace {

// Writes a feed to a temporary file for the length of a test.
struct FeedFile {
  explicit FeedFile(const std::string& bytes) {
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    path = std::wstring(dir) + L"kavrelo-feed-" + std::to_wstring(::GetCurrentProcessId()) + L".xml";
    SaveFileAtomically(path, bytes);
  }
  ~FeedFile() { ::DeleteFileW(path.c_str()); }
  std::wstring path;
};

std::string Rss(const std::string& items) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><rss version=\"2.0\"><channel><title>t</title>" + items +
         "</channel></rss>";
}

std::wstring Titles(const TElementList& items) {
  std::wstring all;
  for (const auto& item : items) all += item->Title + L"|";
  return all;
}

}  // namespace

TEST_CASE("RSS items: HTML titles, dropped empty headlines, missing parts") {
  ComSession com;
  SUBCASE("a title of nothing but an empty bold element drops its item") {
    FeedFile f(Rss("<item><title>Bir</title></item><item><title>&lt;b&gt;&lt;/b&gt;</title></item>"
                   "<item><title>Üç</title></item>"));
    auto items = ParseFeed(f.path);
    REQUIRE(items);
    CHECK(Titles(*items) == L"Bir|Üç|");
  }
  SUBCASE("an item without a title stays, with an empty headline") {
    FeedFile f(Rss("<item><description>yalnız özet</description><link>http://a/</link></item>"));
    auto items = ParseFeed(f.path);
    REQUIRE(items);
    REQUIRE(items->size() == 1);
    CHECK((*items)[0]->Title.empty());
    CHECK((*items)[0]->Summary == L"yalnız özet");
    CHECK((*items)[0]->Link == L"http://a/");
  }
  SUBCASE("titles are trimmed at both ends only, then converted; summaries keep their words") {
    FeedFile f(Rss("<item><title>\n\t  İstanbul &amp;amp; Ankara\t \r\n</title>"
                   "<description>&lt;p&gt;Birinci &lt;b&gt;kalın&lt;/b&gt; söz&lt;/p&gt;</description></item>"));
    auto items = ParseFeed(f.path);
    REQUIRE(items);
    REQUIRE(items->size() == 1);
    CHECK((*items)[0]->Title == L"İstanbul & Ankara");
    CHECK((*items)[0]->Summary.find(L"kalın") != std::wstring::npos);
    CHECK((*items)[0]->Summary.find(L'<') == std::wstring::npos);
  }
  SUBCASE("a long title wraps at 50 columns with CR LF") {
    std::string title(30, 'a');
    title += " " + std::string(39, 'b');  // 70 characters
    FeedFile f(Rss("<item><title>" + title + "</title></item>"));
    auto items = ParseFeed(f.path);
    REQUIRE(items);
    std::wstring t = (*items)[0]->Title;
    size_t br = t.find(L"\r\n");
    REQUIRE(br != std::wstring::npos);
    CHECK(br <= 50);
    CHECK(t.find(L"\r\n", br + 2) == std::wstring::npos);
  }
  SUBCASE("an ISO-8859-9 feed decodes its Turkish letters") {
    FeedFile f("<?xml version=\"1.0\" encoding=\"ISO-8859-9\"?><rss><channel><item><title>\xdd\x7a\x6d\x69r \xfe\x65hri"
               "</title></item></channel></rss>");
    auto items = ParseFeed(f.path);
    REQUIRE(items);
    CHECK((*items)[0]->Title == L"İzmir şehri");
  }
}

TEST_CASE("Atom entries: text as written, first link's href whatever its rel") {
  ComSession com;
  FeedFile f(
      "<?xml version=\"1.0\"?><feed xmlns=\"http://www.w3.org/2005/Atom\">"
      "<entry><title></title><summary>&lt;b&gt;işaret&lt;/b&gt; kalır</summary>"
      "<link rel=\"alternate\" href=\"http://x/1\"/><link rel=\"self\" href=\"http://x/2\"/></entry>"
      "<entry><title>İkinci</title><link rel=\"related\"/></entry>"
      "</feed>");
  auto items = ParseFeed(f.path);
  REQUIRE(items);
  REQUIRE(items->size() == 2);
  CHECK((*items)[0]->Title.empty());  // an empty Atom title keeps its entry
  CHECK((*items)[0]->Summary == L"<b>işaret</b> kalır");
  CHECK((*items)[0]->Link == L"http://x/1");
  CHECK((*items)[1]->Title == L"İkinci");
  CHECK((*items)[1]->Link.empty());

  FeedFile prefixed(
      "<a:feed xmlns:a=\"http://www.w3.org/2005/Atom\"><a:entry><a:title>Önekli</a:title></a:entry></a:feed>");
  auto p = ParseFeed(prefixed.path);
  REQUIRE(p);
  CHECK(Titles(*p) == L"Önekli|");
}

TEST_CASE("what is not a feed gives no list, so the shown items stay") {
  ComSession com;
  const char* notFeeds[] = {
      "<html><body><h1>404</h1><p>bulunamadı</body></html>",            // an error page
      "<rss version=\"2.0\"><channel><title>boş</title></channel></rss>",  // no item
      "<rss><channel><item><title>yarım",                               // not well-formed
      "",                                                                // empty file
      "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><rss><channel><item>"
      "<title>&e;</title></item></channel></rss>",  // external entity: never fetched
  };
  for (const char* bytes : notFeeds) {
    CAPTURE(bytes);
    FeedFile f(bytes);
    auto items = ParseFeed(f.path);
    if (items) {
      // A parser that accepts the DTD must still not have read the file.
      for (const auto& item : *items) CHECK(item->Title.find(L"root") == std::wstring::npos);
    }
  }
  CHECK_FALSE(ParseFeed(L"C:\\does\\not\\exist.xml"));
}

TEST_CASE("selection paths match by local name") {
  CHECK(LocalPath(L"/feed/entry") == L"/*[local-name()='feed']/*[local-name()='entry']");
  CHECK(LocalPath(L"link/@href") == L"*[local-name()='link']/@href");
  CHECK(LocalPath(L"title") == L"*[local-name()='title']");
}
