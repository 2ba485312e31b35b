// The repair of feeds that are not well-formed XML: what each kind of slip
// becomes, that the result is always well-formed, and that repairing it
// again changes nothing.
#include <doctest.h>

#include <string>
#include <string_view>

#include "feed/FeedRepair.h"
#include "tests/feed/WellFormed.h"

using namespace std::literals;

namespace {

constexpr std::size_t Depth = 256;

std::string Narrow(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      char buf[12];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out;
}

std::string Names(std::uint32_t repairs) {
  std::string out;
  for (int k = 0; k < FeedRepairKinds; ++k)
    if (repairs & (1u << k)) out += std::string(out.empty() ? "" : ",") + FeedRepairName(1u << k);
  return out;
}

struct TCase {
  const char* what;
  std::u16string_view in;
  std::u16string_view out;
  std::uint32_t repairs;
};

const TCase Cases[] = {
    {"well-formed text stays", u"<rss><channel><item><title>A &amp; B</title></item></channel></rss>",
     u"<rss><channel><item><title>A &amp; B</title></item></channel></rss>", 0},
    {"CDATA becomes text", u"<rss><item><description><![CDATA[<p>x & y</p>]]></description></item></rss>",
     u"<rss><item><description>&lt;p&gt;x &amp; y&lt;/p&gt;</description></item></rss>", 0},
    {"comments and instructions go", u"<?xml-stylesheet href=\"a\"?><!-- c --><rss><!-- d --><item/></rss>",
     u"<rss><item/></rss>", 0},
    // Entities and ampersands.
    {"bare ampersands", u"<rss><item><title>AT&T & co &</title><link>/a?x=1&y=2</link></item></rss>",
     u"<rss><item><title>AT&amp;T &amp; co &amp;</title><link>/a?x=1&amp;y=2</link></item></rss>",
     RepairBareAmpersands},
    {"HTML entities", u"<rss><item><title>caf&eacute;&nbsp;&Ccedil;&ouml;&euro;</title></item></rss>",
     u"<rss><item><title>caf\u00E9\u00A0\u00C7\u00F6\u20AC</title></item></rss>", RepairHtmlEntities},
    {"legacy entities without ;", u"<rss><item><title>&eacutex &copy 2024 &amp &lt;</title></item></rss>",
     u"<rss><item><title>\u00E9x \u00A9 2024 &amp; &lt;</title></item></rss>", RepairHtmlEntities},
    {"not every entity may lose its ;", u"<rss><item><title>&euro 5 &hellip</title></item></rss>",
     u"<rss><item><title>&amp;euro 5 &amp;hellip</title></item></rss>", RepairBareAmpersands},
    {"unknown entities go", u"<rss><item><title>a&lol9;b&x;</title></item></rss>",
     u"<rss><item><title>ab</title></item></rss>", RepairUnknownEntities},
    {"numeric references as HTML reads them", u"<rss><item><title>&#305;&#x131 &#0;&#xD800;&#1114112;</title></item></rss>",
     u"<rss><item><title>\u0131\u0131 \uFFFD\uFFFD\uFFFD</title></item></rss>", RepairNumericReferences},
    {"&# without digits is text", u"<rss><item><title>No &#; &#x</title></item></rss>",
     u"<rss><item><title>No &amp;#; &amp;#x</title></item></rss>", RepairBareAmpersands},
    {"in attributes a query keeps &copy=", u"<feed><entry><link href=\"/a?b=1&copy=2&nbsp\"/></entry></feed>",
     u"<feed><entry><link href=\"/a?b=1&amp;copy=2\u00A0\"/></entry></feed>",
     RepairHtmlEntities | RepairBareAmpersands},
    // Characters XML forbids.
    {"controls and NULs go", u"<rss><item><title>a\x01" u"b\0c\x1F" u"d</title>\0</item></rss>"sv,
     u"<rss><item><title>abcd</title></item></rss>", RepairControlCharacters},
    {"control references go", u"<rss><item><title>a&#1;b&#x1b;c</title></item></rss>",
     u"<rss><item><title>abc</title></item></rss>", RepairControlCharacters},
    // Junk around the document.
    {"a PHP warning before the document",
     u"<br />\n<b>Warning</b>:  include(x.php): failed in <b>/var/www/rss.php</b> on line <b>3</b><br />\n"
     u"<?xml version=\"1.0\"?><rss><item/></rss>",
     u"<rss><item/></rss>", RepairJunkBefore},
    {"a warning whose words look like a tag", u"Notice:<Warning: x<br><rss><item/></rss>", u"<rss><item/></rss>",
     RepairJunkBefore},
    {"blank lines and a second declaration", u"\n\n  <?xml version=\"1.0\" encoding=\"utf-8\"?>\n<feed><entry/></feed>",
     u"<feed><entry/></feed>", RepairJunkBefore},
    {"a second document after the root", u"<rss><item/></rss>\n<rss><item/></rss>\0\0"sv, u"<rss><item/></rss>",
     RepairJunkAfter},
    {"white space and comments after the root are no junk", u"<rss/>\n<!-- x -->\n", u"<rss/>", 0},
    // Namespaces.
    {"usual prefixes get their namespaces", u"<rss><item><dc:creator>x</dc:creator><media:title>y</media:title></item></rss>",
     u"<rss><item><dc:creator xmlns:dc=\"http://purl.org/dc/elements/1.1/\">x</dc:creator>"
     u"<media:title xmlns:media=\"http://search.yahoo.com/mrss/\">y</media:title></item></rss>",
     RepairNamespacePrefixes},
    {"an unknown prefix stays apart", u"<rss><item><foo:title a:b=\"1\">x</foo:title></item></rss>",
     u"<rss><item><foo:title a:b=\"1\" xmlns:foo=\"urn:undeclared-prefix:foo\" xmlns:a=\"urn:undeclared-prefix:a\">"
     u"x</foo:title></item></rss>",
     RepairNamespacePrefixes},
    {"declared prefixes stay", u"<rss xmlns:dc=\"u:dc\"><item><dc:creator>x</dc:creator></item></rss>",
     u"<rss xmlns:dc=\"u:dc\"><item><dc:creator>x</dc:creator></item></rss>", 0},
    // Markup inside fields.
    {"raw HTML in a description",
     u"<rss><item><description>a<br>b<img src=x.png alt='k'> <p>c</description></item></rss>",
     u"<rss><item><description>a&lt;br&gt;b&lt;img src=x.png alt='k'&gt; &lt;p&gt;c</description></item></rss>",
     RepairFieldMarkup},
    {"a stray < in a title", u"<rss><item><title>1 < 2 <3</title></item></rss>",
     u"<rss><item><title>1 &lt; 2 &lt;3</title></item></rss>", RepairFieldMarkup},
    {"markup makes an Atom text HTML", u"<feed><entry><title>A <b>B</b></title><summary type=\"text\">x<br/>y</summary></entry></feed>",
     u"<feed><entry><title type=\"html\">A &lt;b&gt;B&lt;/b&gt;</title>"
     u"<summary type=\"html\">x&lt;br/&gt;y</summary></entry></feed>",
     RepairFieldMarkup},
    {"XHTML content keeps its tree, void elements closed",
     u"<feed><entry><content type=\"xhtml\"><div><p>a<br>b</p></div></content></entry></feed>",
     u"<feed><entry><content type=\"xhtml\"><div><p>a<br/>b</p></div></content></entry></feed>", RepairTags},
    // Broken tags.
    {"an unclosed item closes at the next", u"<rss><channel><item><title>A</title><item><title>B</title></item></channel></rss>",
     u"<rss><channel><item><title>A</title></item><item><title>B</title></item></channel></rss>", RepairTags},
    {"an unclosed title ends at the next field", u"<rss><item><title>A<link>u</link><description>d</item></rss>",
     u"<rss><item><title>A</title><link>u</link><description>d</description></item></rss>", RepairTags},
    {"an end tag of another case", u"<rss><item><title>A</TITLE><Link>u</link></item></rss>",
     u"<rss><item><title>A</title><Link>u</Link></item></rss>", RepairTags},
    {"an end tag that ends nothing", u"<rss><item></b><link>u</link></item></channel></rss>",
     u"<rss><item><link>u</link></item></rss>", RepairTags},
    {"attributes unquoted, repeated, without value",
     u"<feed><entry><link href=http://a/b rel href=\"c\"/><id x='1'y=\"2\">i</id></entry></feed>",
     u"<feed><entry><link href=\"http://a/b\" rel=\"\"/><id x=\"1\" y=\"2\">i</id></entry></feed>", RepairAttributes},
    // Truncation.
    {"cut inside an item's text", u"<rss><channel><item><title>A</title></item><item><title>B yar",
     u"<rss><channel><item><title>A</title></item></channel></rss>", RepairTruncated},
    {"cut inside a tag", u"<rss><channel><item><title>A</title></item><item><title>B</title><li",
     u"<rss><channel><item><title>A</title></item></channel></rss>", RepairTruncated},
    {"cut inside a CDATA section", u"<feed><entry><id>1</id></entry><entry><summary><![CDATA[abc",
     u"<feed><entry><id>1</id></entry></feed>", RepairTruncated},
    {"cut after the last item", u"<rss><channel><item><title>A</title></item>\n",
     u"<rss><channel><item><title>A</title></item>\n</channel></rss>", RepairTruncated},
    // What is not a feed: the repair keeps no element or the page's own.
    {"JSON", u"{\"items\":[{\"title\":\"a\"}]}", u"", 0},
    {"nothing", u"", u"", 0},
    {"an HTML page keeps its own root", u"<html><body><p>Hata 500</body></html>",
     u"<html><body><p>Hata 500</p></body></html>", RepairTags},
};

}  // namespace

TEST_CASE("each slip is repaired as a careful reader would read it") {
  for (const auto& c : Cases) {
    INFO(std::string(c.what));
    TFeedRepair repair(c.in, Depth);
    CHECK(Narrow(repair.Text()) == Narrow(c.out));
    CHECK(Names(repair.Repairs()) == Names(c.repairs));
  }
}

TEST_CASE("a repaired text is well-formed, and repairing it again changes nothing") {
  for (const auto& c : Cases) {
    INFO(std::string(c.what));
    TFeedRepair repair(c.in, Depth);
    if (repair.Text().empty()) continue;
    CHECK(WellFormedError(repair.Text()) == "");
    TFeedRepair again(repair.Text(), Depth);
    CHECK(Narrow(again.Text()) == Narrow(repair.Text()));
    CHECK(again.Repairs() == 0);
  }
}

TEST_CASE("nesting past the limit refuses the text; up to it, it is kept") {
  auto nested = [](int depth, bool closed) {
    std::u16string s;
    for (int i = 0; i < depth; ++i) s += u"<a>";
    if (closed)
      for (int i = 0; i < depth; ++i) s += u"</a>";
    return s;
  };
  CHECK(TFeedRepair(nested(256, true), Depth).Text().size() == 256 * 7);
  CHECK(TFeedRepair(nested(257, true), Depth).Text().empty());
  // Unclosed, so the repair would close them: the limit holds as well.
  CHECK(TFeedRepair(nested(100000, false), Depth).Text().empty());
}

TEST_CASE("every repair kind has a name") {
  for (int k = 0; k < FeedRepairKinds; ++k) CHECK(std::string(FeedRepairName(1u << k)) != "");
  CHECK(std::string(FeedRepairName(1u << FeedRepairKinds)) == "");
}
