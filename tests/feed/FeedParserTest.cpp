#include <doctest.h>

#include <windows.h>

#include <string>

#include "app/AtomicFile.h"
#include "feed/FeedParser.h"
#include "framework/ComPtr.h"

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
  SUBCASE("each item keeps its own parts, empty ones included, after a dropped item too") {
    FeedFile f(Rss("<item><title>Bir</title><link>http://a/1</link></item>"
                   "<item><description>iki özet</description></item>"
                   "<item><title>&lt;b&gt;&lt;/b&gt;</title><description>düşen</description><link>http://a/x</link></item>"
                   "<item><title>Üç</title><description>üç özet</description><link>http://a/3</link></item>"
                   "<item></item>"));
    auto items = ParseFeed(f.path);
    REQUIRE(items);
    REQUIRE(items->size() == 4);
    const wchar_t* expected[4][3] = {
        {L"Bir", L"", L"http://a/1"}, {L"", L"iki özet", L""}, {L"Üç", L"üç özet", L"http://a/3"}, {L"", L"", L""}};
    for (size_t i = 0; i < 4; ++i) {
      CAPTURE(i);
      const TElement& item = *(*items)[i];
      CHECK(item.Title == expected[i][0]);
      CHECK(item.Summary == expected[i][1]);
      CHECK(item.Link == expected[i][2]);
    }
  }
  SUBCASE("titles lose outer white space and keep inner, then convert; summaries keep their words") {
    // CDATA hands the white space through the DOM untouched.
    FeedFile f(Rss("<item><title><![CDATA[\n\t  İstanbul &amp;  Ankara\t \r\n]]></title>"
                   "<description>&lt;p&gt;Birinci &lt;b&gt;kalın&lt;/b&gt; söz&lt;/p&gt;</description></item>"));
    auto items = ParseFeed(f.path);
    REQUIRE(items);
    REQUIRE(items->size() == 1);
    CHECK((*items)[0]->Title == L"İstanbul & Ankara");
    CHECK((*items)[0]->Summary == L"Birinci kalın söz");
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
      "<html><body><h1>404</h1><p>bulunamadı</body></html>",              // an error page
      "<!DOCTYPE html><html><head><title>x</title></head><body></body></html>",  // a well-formed one
      "<rss version=\"2.0\"><channel><title>boş</title></channel></rss>",    // no item
      "<rss version=\"2.0\"><item><title>kanalsız</title></item></rss>",      // an item outside the channel
      "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>boş</title></feed>",  // no entry
      "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><item><title>ad alanısız</title></item>"
      "</rdf:RDF>",                                   // RDF item in no RSS namespace
      "<rss><channel><item><title>yarım",             // truncated
      "",                                             // empty file
      "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY e SYSTEM \"file:///C:/windows/win.ini\">]><rss><channel><item>"
      "<title>&e;</title></item></channel></rss>",  // external entity: the DTD is dropped, &e; undefined
  };
  for (const char* bytes : notFeeds) {
    CAPTURE(bytes);
    FeedFile f(bytes);
    TFeedKind kind = TFeedKind::Rss;
    CHECK_FALSE(ParseFeed(f.path, &kind));
    CHECK(kind == TFeedKind::None);
  }
  CHECK_FALSE(ParseFeed(L"C:\\does\\not\\exist.xml"));
  // The same file with a plain item is a feed: the cases above fail for
  // their own reason.
  FeedFile ok("<rss version=\"2.0\"><channel><item><title>var</title></item></channel></rss>");
  CHECK(ParseFeed(ok.path));
}

TEST_CASE("a billion laughs is no feed, and is over at once") {
  ComSession com;
  std::string doctype = "<!DOCTYPE rss [<!ENTITY l0 \"lol\">";
  for (int i = 1; i <= 9; ++i) {
    doctype += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) doctype += "&l" + std::to_string(i - 1) + ";";
    doctype += "\">";
  }
  doctype += "]>";
  FeedFile f("<?xml version=\"1.0\"?>" + doctype + "<rss><channel><item><title>&l9;</title></item></channel></rss>");
  // A parser that expanded it would need 3 GB and minutes: the test's
  // time-out is the check for "at once".
  CHECK_FALSE(ParseFeed(f.path));
  // A DOCTYPE whose entities go unused costs nothing and keeps the feed.
  FeedFile unused("<?xml version=\"1.0\"?>" + doctype + "<rss><channel><item><title>sade</title></item></channel></rss>");
  auto items = ParseFeed(unused.path);
  REQUIRE(items);
  CHECK(Titles(*items) == L"sade|");
}

namespace {

struct TNsCase {
  const char* what;
  std::string feed;
  const wchar_t* title;
  const wchar_t* summary;
  const wchar_t* link;
};

const char Media[] = " xmlns:media=\"http://search.yahoo.com/mrss/\" xmlns:atom=\"http://www.w3.org/2005/Atom\""
                     " xmlns:itunes=\"http://www.itunes.com/dtds/podcast-1.0.dtd\""
                     " xmlns:dc=\"http://purl.org/dc/elements/1.1/\"";

std::string RssWith(const std::string& attrs, const std::string& item) {
  return "<rss version=\"2.0\"" + attrs + "><channel><item>" + item + "</item></channel></rss>";
}

}  // namespace

TEST_CASE("an item's parts are its children in its own namespace, never an extension's") {
  ComSession com;
  const TNsCase cases[] = {
      {"media:title before title", RssWith(Media, "<media:title>bar</media:title><title>foo</title>"), L"foo", L"", L""},
      {"media:description and itunes:summary before description",
       RssWith(Media, "<media:description>m</media:description><itunes:summary>i</itunes:summary>"
                      "<title>t</title><description>d</description>"),
       L"t", L"d", L""},
      {"atom:link before link", RssWith(Media, "<title>t</title><atom:link href=\"http://a/\"/><link>http://l/</link>"),
       L"t", L"", L"http://l/"},
      {"only extensions: nothing of them", RssWith(Media, "<dc:title>x</dc:title><media:description>y</media:description>"),
       L"", L"", L""},
      {"a default namespace on the item's children is not the item's",
       RssWith("", "<title xmlns=\"urn:x\">yanlış</title><title>doğru</title>"), L"doğru", L"", L""},
      {"a namespaced RSS document: its own namespace counts, the empty one not",
       "<r:rss xmlns:r=\"urn:r\"><r:channel><r:item><title>yok</title><r:title>var</r:title><r:link>http://r/</r:link>"
       "</r:item></r:channel></r:rss>",
       L"var", L"", L"http://r/"},
      {"the same with a default namespace", "<rss xmlns=\"urn:r\"><channel><item><title>var</title></item></channel></rss>",
       L"var", L"", L""},
      {"RSS 1.0", "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" xmlns=\"http://purl.org/rss/1.0/\">"
                  "<channel><title>k</title></channel><item><title>bir</title><link>http://1/</link>"
                  "<description>öz</description></item></rdf:RDF>",
       L"bir", L"öz", L"http://1/"},
      {"RSS 0.90 with prefixes", "<r:RDF xmlns:r=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" "
                                 "xmlns:n=\"http://my.netscape.com/rdf/simple/0.9/\"><n:item><n:title>eski</n:title>"
                                 "</n:item></r:RDF>",
       L"eski", L"", L""},
      {"Atom: media:title and a foreign link before the entry's own",
       "<feed xmlns=\"http://www.w3.org/2005/Atom\" xmlns:m=\"http://search.yahoo.com/mrss/\"><entry><m:title>m</m:title>"
       "<title>a</title><link xmlns=\"urn:x\" href=\"http://x/\"/><link href=\"http://a/\"/></entry></feed>",
       L"a", L"", L"http://a/"},
      {"Atom without a namespace", "<feed><entry><title>n</title><link href=\"http://n/\"/></entry></feed>", L"n", L"",
       L"http://n/"},
      {"guid as the link: absent isPermaLink", RssWith("", "<title>g</title><guid>http://g/1</guid>"), L"g", L"",
       L"http://g/1"},
      {"guid not a permalink", RssWith("", "<title>g</title><guid isPermaLink=\"false\">http://g/2</guid>"), L"g", L"",
       L""},
      {"guid that is a bare id", RssWith("", "<title>g</title><guid>12345</guid>"), L"g", L"", L""},
      {"guid never over a link", RssWith("", "<title>g</title><link>/l</link><guid>http://g/3</guid>"), L"g", L"", L"/l"},
  };
  for (const auto& c : cases) {
    CAPTURE(c.what);
    FeedFile f(c.feed);
    auto items = ParseFeed(f.path);
    REQUIRE(items);
    REQUIRE(items->size() == 1);
    CHECK((*items)[0]->Title == c.title);
    CHECK((*items)[0]->Summary == c.summary);
    CHECK((*items)[0]->Link == c.link);
  }
}

TEST_CASE("Atom text constructs by type; content stands in for a missing summary") {
  ComSession com;
  FeedFile f(
      "<feed xmlns=\"http://www.w3.org/2005/Atom\">"
      "<entry><title type=\"html\">&lt;b&gt;A&lt;/b&gt; &amp;amp; B</title>"
      "<summary type=\"html\">&lt;p&gt;x&lt;/p&gt;&lt;p&gt;y&lt;/p&gt;</summary></entry>"
      "<entry><title type=\"xhtml\"><div xmlns=\"http://www.w3.org/1999/xhtml\">X <b>H</b></div></title>"
      "<content type=\"xhtml\"><div xmlns=\"http://www.w3.org/1999/xhtml\">içerik</div></content></entry>"
      "<entry><title type=\"text\">&lt;b&gt; kalır</title><content type=\"html\">&lt;i&gt;c&lt;/i&gt;</content>"
      "<summary>özet önce gelir</summary></entry>"
      "<entry><title>t</title><content type=\"image/png\">iVBORw0KGgo=</content></entry>"
      "</feed>");
  auto items = ParseFeed(f.path);
  REQUIRE(items);
  REQUIRE(items->size() == 4);
  CHECK((*items)[0]->Title == L"A & B");
  CHECK((*items)[0]->Summary.find(L'<') == std::wstring::npos);
  CHECK((*items)[0]->Summary.find(L'x') != std::wstring::npos);
  CHECK((*items)[1]->Title == L"X H");
  CHECK((*items)[1]->Summary == L"içerik");
  CHECK((*items)[2]->Title == L"<b> kalır");
  CHECK((*items)[2]->Summary == L"özet önce gelir");
  CHECK((*items)[3]->Summary.empty());  // binary content shows nothing
}

TEST_CASE("an item is known by its address, or by its guid or Atom id when it has none") {
  ComSession com;
  FeedFile f(
      "<rss version=\"2.0\"><channel>"
      "<item><title>a</title><link>http://a/1</link><guid isPermaLink=\"false\">x-1</guid></item>"
      "<item><title>b</title><guid isPermaLink=\"false\">  x-2 \n</guid></item>"
      "<item><title>c</title><guid>12345</guid></item>"
      "<item><title>d</title></item>"
      "</channel></rss>");
  auto items = ParseFeed(f.path);
  REQUIRE(items);
  REQUIRE(items->size() == 4);
  CHECK((*items)[0]->Identity() == L"http://a/1");
  CHECK((*items)[1]->Identity() == L"x-2");  // trimmed
  CHECK((*items)[1]->Link.empty());          // an id is no address to open
  CHECK((*items)[2]->Identity() == L"12345");
  CHECK((*items)[3]->Identity().empty());
  FeedFile atom(
      "<feed xmlns=\"http://www.w3.org/2005/Atom\"><entry><title>e</title><id>tag:e,2026:1</id></entry>"
      "<entry><title>f</title><id>tag:f</id><link href=\"http://f/\"/></entry></feed>");
  items = ParseFeed(atom.path);
  REQUIRE(items);
  REQUIRE(items->size() == 2);
  CHECK((*items)[0]->Identity() == L"tag:e,2026:1");
  CHECK((*items)[1]->Identity() == L"http://f/");
}
