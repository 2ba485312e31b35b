// Ill-formed feeds through the whole reader: each one must show what its
// well-formed twin (the feed as the site meant it) shows, and well-formed
// feeds must read the same through the repair as through the strict parser.
#include <windows.h>

#include <doctest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/AtomicFile.h"
#include "feed/FeedParser.h"
#include "feed/FeedRepair.h"
#include "feed/FeedSource.h"
#include "framework/ComPtr.h"

namespace {

struct FeedFile {
  explicit FeedFile(const std::string& bytes, int n = 0) {
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    path = std::wstring(dir) + L"kavrelo-recovery-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(n) + L".xml";
    SaveFileAtomically(path, bytes);
  }
  ~FeedFile() { ::DeleteFileW(path.c_str()); }
  std::string Bytes() const {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::wstring path;
};

const std::string Utf8Decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
const std::string RssOpen = "<rss version=\"2.0\"><channel><title>Haber</title>";
const std::string RssClose = "</channel></rss>";
const std::string AtomOpen = "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>Haber</title>";

std::string Item(const std::string& title, const std::string& description, int n) {
  return "<item><title>" + title + "</title><description>" + description + "</description><link>http://haber.example/" +
         std::to_string(n) + "</link></item>";
}

// Three items, the middle one (or the one the row says) carrying the slip:
// a slip must not cost its neighbours.
std::string Rss(const std::string& middle, const std::string& decl = Utf8Decl) {
  return decl + RssOpen + Item("Birinci haber", "Özet bir", 1) + middle + Item("Üçüncü haber", "Özet üç", 3) + RssClose;
}
std::string RssItem(const std::string& title, const std::string& description) {
  return Rss(Item(title, description, 2));
}
std::string Entry(const std::string& inner, int n) {
  return "<entry><id>" + std::to_string(n) + "</id><link href=\"http://haber.example/" + std::to_string(n) + "\"/>" +
         inner + "</entry>";
}
std::string Atom(const std::string& middle) {
  return Utf8Decl + AtomOpen + Entry("<title>Birinci</title><summary>Özet</summary>", 1) + middle +
         Entry("<title>Üçüncü</title>", 3) + "</feed>";
}

std::wstring Describe(const std::unique_ptr<TElementList>& items) {
  if (!items) return L"(refused)";
  std::wstring all;
  for (const auto& item : *items) all += item->Title + L" / " + item->Summary + L" / " + item->Link + L"\n";
  return all;
}

std::string Narrow(const std::wstring& s) {
  int n = ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n, nullptr, nullptr);
  return out;
}

enum class TRead { Strict, Recovered };

struct TCase {
  const char* what;
  std::string ill;
  std::string twin;
  TRead read;
  std::uint32_t repair;  // a repair the reading must report
};

std::vector<TCase> Cases() {
  const std::string nul(1, '\0');
  return {
      // Entities and ampersands, in the title, the summary and the link.
      {"a bare & in a title", RssItem("AT&T ve T&uuml;rk Telekom", "x"), RssItem("AT&amp;T ve Türk Telekom", "x"),
       TRead::Recovered, RepairBareAmpersands},
      {"bare & in a summary and a link",
       Rss("<item><title>t</title><description>Ekmek & su</description><link>http://haber.example/a?b=1&c=2</link></item>"),
       Rss("<item><title>t</title><description>Ekmek &amp; su</description><link>http://haber.example/a?b=1&amp;c=2</link>"
           "</item>"),
       TRead::Recovered, RepairBareAmpersands},
      {"HTML entities are their characters", RssItem("Caf&eacute;&nbsp;ve &ccedil;ay &hellip;", "&ouml;zet &euro;5"),
       RssItem("Café&#160;ve çay …", "özet €5"), TRead::Recovered, RepairHtmlEntities},
      {"legacy entities without ;", RssItem("&Ccedil;ok &amp yak&#305;nda", "&copy 2026"), RssItem("Çok &amp; yakında", "© 2026"),
       TRead::Recovered, RepairHtmlEntities},
      {"numeric references HTML forgives", RssItem("A&#x131 &#x11f;&#150;b", "&#0;z"), RssItem("Aı ğ&#150;b", "&#xFFFD;z"),
       TRead::Recovered, RepairNumericReferences},
      {"entities in Atom", Atom(Entry("<title>Haber&nbsp;&amp; &eacute;</title>", 2)),
       Atom(Entry("<title>Haber&#160;&amp; é</title>", 2)), TRead::Recovered, RepairHtmlEntities},
      // Characters XML forbids.
      {"control characters and a NUL in a title", RssItem("Son\x01 dakika" + nul + " haber\x1b", "özet"),
       RssItem("Son dakika haber", "özet"), TRead::Recovered, RepairControlCharacters},
      {"a NUL between items", Rss(nul + Item("İkinci", "x", 2)), Rss(Item("İkinci", "x", 2)), TRead::Recovered,
       RepairControlCharacters},
      // Encodings.
      {"windows-1254 bytes in a UTF-8 feed", RssItem("\xDDstanbul'da ya\xF0\xFD\xFE", "\x93" "S\xFDnav\x94 ba\xFEl\xFDyor"),
       RssItem("İstanbul'da yağış", "“Sınav” başlıyor"), TRead::Strict, RepairLegacyBytes},
      {"a UTF-8 feed labelled ISO-8859-9",
       Rss(Item("Güneş doğdu", "Çığ düştü", 2), "<?xml version=\"1.0\" encoding=\"ISO-8859-9\"?>"),
       Rss(Item("Güneş doğdu", "Çığ düştü", 2)), TRead::Strict, RepairUtf8Label},
      {"a UTF-8 feed labelled ISO-8859-9 with a pasted windows-1254 line",
       Rss(Item("Güneş doğdu", "Çığ düştü; \xDDzmir'de ya\xF0\xFD\xFE", 2), "<?xml version=\"1.0\" encoding=\"ISO-8859-9\"?>"),
       Rss(Item("Güneş doğdu", "Çığ düştü; İzmir'de yağış", 2)), TRead::Strict, RepairUtf8Label | RepairLegacyBytes},
      // "Ş’" is a valid UTF-8 pair by chance; the rest says windows-1254.
      {"windows-1254 text with a chance UTF-8 pair stays windows-1254",
       "<?xml version=\"1.0\" encoding=\"ISO-8859-9\"?>" + RssOpen +
           Item("G\xDCNE\xDE\x92\xDDN a\xF0\xFDr \xFE" "artlar\xFD", "\xD6zet", 2) + RssClose,
       Utf8Decl + RssOpen + Item("GÜNEŞ’İN ağır şartları", "Özet", 2) + RssClose, TRead::Strict, 0},
      {"a UTF-8 feed labelled windows-1254 in Atom",
       "<?xml version=\"1.0\" encoding=\"windows-1254\"?>" + Atom(Entry("<title>Şimşek</title>", 2)).substr(Utf8Decl.size()),
       Atom(Entry("<title>Şimşek</title>", 2)), TRead::Strict, RepairUtf8Label},
      // Junk around the document.
      {"a PHP warning before the declaration",
       "<br />\n<b>Warning</b>:  session_start(): Cannot send cookie in <b>/var/www/rss.php</b> on line <b>4</b><br />\n" +
           RssItem("İkinci", "x"),
       RssItem("İkinci", "x"), TRead::Recovered, RepairJunkBefore},
      // The reader drops the declaration itself, wherever white space put it.
      {"blank lines before the declaration", "\r\n\r\n" + Atom(Entry("<title>İkinci</title>", 2)),
       Atom(Entry("<title>İkinci</title>", 2)), TRead::Strict, 0},
      {"a declaration after a blank-line warning", "Notice: x\r\n" + Atom(Entry("<title>İkinci</title>", 2)),
       Atom(Entry("<title>İkinci</title>", 2)), TRead::Recovered, RepairJunkBefore},
      {"a second document after the root", RssItem("İkinci", "x") + "\n" + RssItem("Başka", "y"), RssItem("İkinci", "x"),
       TRead::Recovered, RepairJunkAfter},
      {"text and NULs after the root", Atom(Entry("<title>İkinci</title>", 2)) + "\n<!-- 0.02 s -->Generated" + nul + nul,
       Atom(Entry("<title>İkinci</title>", 2)), TRead::Recovered, RepairJunkAfter},
      // Prefixes without declarations: an extension's title must not stand
      // in for the item's.
      {"undeclared media: and dc: in RSS",
       Rss("<item><media:title>Yanlış</media:title><title>Doğru</title><dc:creator>Ali</dc:creator>"
           "<link>http://haber.example/2</link></item>"),
       "<?xml version=\"1.0\"?><rss version=\"2.0\" xmlns:media=\"http://search.yahoo.com/mrss/\" "
       "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><channel><title>Haber</title>" +
           Item("Birinci haber", "Özet bir", 1) +
           "<item><media:title>Yanlış</media:title><title>Doğru</title><dc:creator>Ali</dc:creator>"
           "<link>http://haber.example/2</link></item>" +
           Item("Üçüncü haber", "Özet üç", 3) + RssClose,
       TRead::Recovered, RepairNamespacePrefixes},
      {"an undeclared prefix in Atom", Atom(Entry("<media:thumbnail url=\"a.jpg\"/><title>Resimli</title>", 2)),
       Atom(Entry("<title>Resimli</title>", 2)), TRead::Recovered, RepairNamespacePrefixes},
      // Raw markup in the fields.
      {"raw HTML in a description", RssItem("Başlık", "Birinci<br>ikinci <img src=\"a.png\"> <p>son"),
       RssItem("Başlık", "Birinci&lt;br&gt;ikinci &lt;img src=\"a.png\"&gt; &lt;p&gt;son"), TRead::Recovered,
       RepairFieldMarkup},
      {"raw bold in a title and a stray <", RssItem("<b>Son dakika</b>: 1 < 2", "x"),
       RssItem("&lt;b&gt;Son dakika&lt;/b&gt;: 1 &lt; 2", "x"), TRead::Recovered, RepairFieldMarkup},
      {"raw HTML in an Atom title", Atom(Entry("<title>A <b>B</b></title><summary>x<br>y</summary>", 2)),
       Atom(Entry("<title type=\"html\">A &lt;b&gt;B&lt;/b&gt;</title><summary type=\"html\">x&lt;br&gt;y</summary>", 2)),
       TRead::Recovered, RepairFieldMarkup},
      {"raw HTML in content:encoded",
       Rss("<item><title>t</title><content:encoded><p>Uzun</p></content:encoded><link>http://haber.example/2</link></item>"),
       Rss("<item><title>t</title><link>http://haber.example/2</link></item>"), TRead::Recovered, RepairFieldMarkup},
      // Broken tags.
      {"an item never closed", Rss("<item><title>İkinci</title><link>http://haber.example/2</link>"),
       Rss("<item><title>İkinci</title><link>http://haber.example/2</link></item>"), TRead::Recovered, RepairTags},
      {"a title never closed", Rss("<item><title>İkinci<link>http://haber.example/2</link></item>"),
       Rss("<item><title>İkinci</title><link>http://haber.example/2</link></item>"), TRead::Recovered, RepairTags},
      {"end tags in another case", Rss("<item><Title>İkinci</title><link>http://haber.example/2</LINK></item>"),
       Rss("<item><Title>İkinci</Title><link>http://haber.example/2</link></item>"), TRead::Recovered, RepairTags},
      {"an Atom entry never closed", Atom("<entry><id>2</id><title>İkinci</title>"),
       Atom("<entry><id>2</id><title>İkinci</title></entry>"), TRead::Recovered, RepairTags},
      {"unquoted and repeated attributes",
       Atom("<entry><id>2</id><link href=http://haber.example/2 rel=alternate href=\"http://x/\"/><title>İkinci</title></entry>"),
       Atom(Entry("<title>İkinci</title>", 2)), TRead::Recovered, RepairAttributes},
      // Truncated downloads: every complete item, never half of one.
      {"cut inside the third item's title",
       Utf8Decl + RssOpen + Item("Birinci haber", "Özet bir", 1) + Item("İkinci", "x", 2) + "<item><title>Üçün",
       Utf8Decl + RssOpen + Item("Birinci haber", "Özet bir", 1) + Item("İkinci", "x", 2) + RssClose, TRead::Recovered,
       RepairTruncated},
      {"cut inside a tag", Utf8Decl + RssOpen + Item("Birinci haber", "Özet bir", 1) + "<item><title>İki</title><link>ht",
       Utf8Decl + RssOpen + Item("Birinci haber", "Özet bir", 1) + RssClose, TRead::Recovered, RepairTruncated},
      {"cut in an Atom entry", Utf8Decl + AtomOpen + Entry("<title>Birinci</title>", 1) + "<entry><id>2</id><title>İk",
       Utf8Decl + AtomOpen + Entry("<title>Birinci</title>", 1) + "</feed>", TRead::Recovered, RepairTruncated},
      {"cut after the last item", Utf8Decl + RssOpen + Item("Birinci haber", "Özet bir", 1) + "</chan",
       Utf8Decl + RssOpen + Item("Birinci haber", "Özet bir", 1) + RssClose, TRead::Recovered, RepairTruncated},
      // Inline XHTML is markup, in well-formed feeds as well.
      {"a script in XHTML content",
       Atom(Entry("<title>t</title><content type=\"xhtml\"><div xmlns=\"http://www.w3.org/1999/xhtml\"><p>Metin <b>kalın</b></p>"
                  "<script>location.href='http:/'+'/example.com/';</script></div></content>",
                  2)),
       Atom(Entry("<title>t</title><content type=\"html\">&lt;p&gt;Metin &lt;b&gt;kalın&lt;/b&gt;&lt;/p&gt;</content>", 2)),
       TRead::Strict, 0},
  };
}

}  // namespace

TEST_CASE("an ill-formed feed shows what its well-formed twin shows") {
  ComSession com;
  int n = 0;
  for (const auto& c : Cases()) {
    INFO(std::string(c.what));
    FeedFile ill(c.ill, n++), twin(c.twin, n++);
    TFeedReading illReading, twinReading;
    TFeedKind kind = TFeedKind::None;
    auto want = ParseFeed(twin.path, nullptr, &twinReading);
    REQUIRE(want);
    REQUIRE_FALSE(twinReading.Recovered);
    auto got = ParseFeed(ill.path, &kind, &illReading);
    CHECK(Narrow(Describe(got)) == Narrow(Describe(want)));
    CHECK(kind != TFeedKind::None);
    CHECK(illReading.Recovered == (c.read == TRead::Recovered));
    if (c.repair) CHECK((illReading.Repairs & c.repair) == c.repair);
    // The file stays the bytes as downloaded.
    CHECK(ill.Bytes() == c.ill);
  }
}

TEST_CASE("what is not a feed stays refused, repaired or not") {
  ComSession com;
  const char* notFeeds[] = {
      "<html><head><title>Hata</title></head><body><h1>502 Bad Gateway</h1><p>nginx<br></body></html>",
      "<!DOCTYPE html><html><body><p>Sayfa bulunamad\xC4\xB1 & ge\xC3\xA7ici</body></html>",
      "{\"items\":[{\"title\":\"JSON\"}]}",
      "",
      "\xEF\xBB\xBF   \r\n",
      "<rss><channel><item><title>yar\xC4\xB1m",  // the one item is cut
      "<rss><channel><title>kanal</title><item><title>&undefined;</title></item></channel></rss>",
  };
  for (const char* bytes : notFeeds) {
    INFO(std::string(bytes));
    FeedFile f(bytes);
    TFeedKind kind = TFeedKind::Rss;
    CHECK_FALSE(ParseFeed(f.path, &kind));
    CHECK(kind == TFeedKind::None);
  }
}

TEST_CASE("well-formed feeds read the same through the repair as through the parser") {
  ComSession com;
  const std::wstring source = L"Z:" KAVRELO_SOURCE_DIR_W;
  std::vector<std::wstring> files{source + L"\\tools\\demo\\sondakika.rss"};
  WIN32_FIND_DATAW found;
  const std::wstring fixtures = source + L"\\tests\\feed\\fixtures\\";
  HANDLE find = ::FindFirstFileW((fixtures + L"*").c_str(), &found);
  REQUIRE(find != INVALID_HANDLE_VALUE);
  do {
    std::wstring name = found.cFileName;
    if (name.size() > 5 && name.compare(name.size() - 5, 5, L".json") != 0 && name[0] != L'.') files.push_back(fixtures + name);
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
  int compared = 0;
  for (const auto& file : files) {
    INFO(Narrow(file));
    std::wstring text;
    REQUIRE(ReadFeedText(file, text));
    TFeedReading strictReading;
    auto strict = ParseFeedText(text, TFeedPath::StrictFirst, nullptr, &strictReading);
    if (!strict || strictReading.Recovered) continue;  // not well-formed: nothing to compare
    TFeedReading repairedReading;
    auto repaired = ParseFeedText(text, TFeedPath::RepairedOnly, nullptr, &repairedReading);
    CHECK(Narrow(Describe(repaired)) == Narrow(Describe(strict)));
    CHECK(repairedReading.Repairs == 0);
    ++compared;
  }
  CHECK(compared >= 15);
}
