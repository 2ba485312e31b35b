// HtmlToText and the formatters: golden files for whole fragments, tables for
// the single rules.
#include <doctest.h>

#include <optional>
#include <string>
#include <vector>

#include "GoldenCases.h"
#include "html/BaseFormatter.h"
#include "html/HtmlParser.h"
#include "html/HtmlToText.h"
#include "html/HtmlToTextUtf8.h"
#include "html/StringBuilder.h"
#include "html/TextFormatter.h"

namespace {

std::string Text(const std::string& html) { return Utf16ToUtf8(HtmlToText(Utf8ToUtf16(html))); }

}  // namespace

TEST_CASE("golden files: every cases/*.html converts to its .txt") {
  REQUIRE(GoldenCaseCount >= 10);
  for (std::size_t i = 0; i < GoldenCaseCount; ++i) {
    const TGoldenCase& c = GoldenCases[i];
    CAPTURE(c.name);
    CHECK(Text(c.html) == c.expected);
  }
}

TEST_CASE("text without markup renders without the parser, exactly as through it") {
  const std::u16string rows[][2] = {
      {u"", u""},
      {u" ", u""},
      {u"\t\r\n", u""},
      {u"  İstanbul'da   yağış  ", u"İstanbul'da yağış "},
      {u"\tsatır\r\nsatır\n\n", u"satır satır "},
      {u"a\u00A0 b", u"a\u00A0 b"},  // NO-BREAK SPACE is not whitespace here
      {u"a\u3000b\fc", u"a\u3000b\fc"},
      {std::u16string(u"a\0b", 3), std::u16string(u"a\0b", 3)},
      {u"\U0001F600 > 3; \"tırnak\"", u"\U0001F600 > 3; \"tırnak\""},
  };
  for (const auto& row : rows) {
    CAPTURE(Utf16ToUtf8(row[0]));
    CHECK(HtmlToText(row[0]) == row[1]);
    CHECK(HtmlToTextParsed(row[0]) == row[1]);
  }
}

TEST_CASE("the UTF-8 entry gives the text of decoding, converting and encoding in turn") {
  std::vector<std::string> inputs;
  for (std::size_t i = 0; i < GoldenCaseCount; ++i) inputs.push_back(GoldenCases[i].html);
  // Ill-formed bytes next to markup, a cut-off sequence at the very end,
  // plain text (no parser), and a fragment longer than the last one, so the
  // kept input buffer is both reused and grown.
  inputs.push_back("<b>\xC5\x9F\xFF</b> &amp; \xE2\x82");
  inputs.push_back("  d\xC3\xBCz   metin\t");
  inputs.push_back(std::string(5000, 'x') + "<p>" + std::string(3000, 'y') + "</p>&lt;");
  inputs.push_back("<i>k</i>");
  inputs.push_back("");
  for (int session = 0; session < 2; ++session) {
    std::optional<THtmlToTextSession> conversions;
    if (session) conversions.emplace();
    std::string text = "left over";
    for (const std::string& html : inputs) {
      CAPTURE(html.substr(0, 40));
      const std::string expected = Utf16ToUtf8(HtmlToText(Utf8ToUtf16(html)));
      HtmlToTextUtf8(html, text);
      CHECK(text == expected);
      CHECK(HtmlToTextUtf8(html) == expected);
    }
  }
}

TEST_CASE("rendering rules one by one") {
  struct Row {
    const char* html;
    const char* text;
  };
  const Row rows[] = {
      // No element makes a break; text between elements collapses to a space.
      {"a<br>b", "ab"},
      {"a <br> b", "a b"},
      {"<p>a</p>\n<p>b</p>", "a b"},
      {"<div>a</div><div>b</div>", "ab"},
      // References become characters.
      {"a&nbsp;b", "a b"},
      {"a&#160;b", "a\u00A0b"},
      {"&amp;", "&"},
      {"x&bilinmeyen;y", "x y"},
      {"&bilinmeyen;y", "y"},
      {"x &bilinmeyen;y", "x y"},
      {"&nbsp;x", "x"},
      {"&#32;&#32;x", "x"},
      {"&#9;x", "x"},  // a TAB collapses like any whitespace
      {"\tx", "x"},
      {"<pre>\tx</pre>", "\tx"},  // only a leading space is dropped, not a TAB
      {"a<pre> x</pre>", "a x"},
      {"a <pre> x</pre>", "a x"},
      {"&lt;b&gt;", "<b>"},
      // Markup that is not text.
      {"<img src='x' alt='resim'>", ""},
      {"<a href='x'>haber</a>", "haber"},
      {"<!-- not -->x", "x"},
      {"<![CDATA[y]]>x", "x"},
      {"<script>if (a < b) x();</script>", ""},
      {"<style>p{color:red}</style>", ""},
      {"<noscript>JavaScript kapalı</noscript>", ""},
      {"<template>şablon</template>", ""},
      {"", ""},
      {"   ", ""},
      // Whitespace.
      {"  Merhaba \t dünya  ", "Merhaba dünya "},
      {"<pre>a  b</pre>", "a  b"},
      {"<pre>a  <b>x</b>  y  z</pre>", "a  x y z"},
      {"<pre>\r\n  a</pre>", "\r\n  a"},
      {"<ul><li>bir</li><li>iki</li></ul>", "* bir* iki"},
      {"<li> a</li>", "* a"},
      {"x</body>y", "xy"},
  };
  for (const Row& r : rows) {
    const std::string html = r.html;
    CAPTURE(html);
    CHECK(Text(r.html) == r.text);
  }
}

TEST_CASE("script, style, noscript and template leave what an empty one leaves") {
  // The element with content, then the same element empty.
  const char* const rows[][2] = {
      {"a <script>x()</script> b", "a <script></script> b"},
      {"a<style>x</style>b", "a<style></style>b"},
      {"a\n<noscript>\n<p>x</p>\n</noscript>\nb", "a\n<noscript></noscript>\nb"},
      {"a <template> <p>x</p> <li>x</li> </template> b", "a <template></template> b"},
      {"<pre>a  <template><pre> x </pre></template>  b</pre>", "<pre>a  <template></template>  b</pre>"},
      {"<ul><li><script>x</script>bir<li><style>x</style></ul>", "<ul><li><script></script>bir<li><style></style></ul>"},
  };
  for (const auto& row : rows) {
    CAPTURE(row[0]);
    CHECK(Text(row[0]) == Text(row[1]));
    CHECK(Text(row[0]).find('x') == std::string::npos);
  }
}

TEST_CASE("PlainText renders the children of elements only") {
  THtmlParser parser;
  auto doc = parser.ParseString(u"<html><body><p>a <b>b</b></p>c</body></html>");
  dom::TElement* html = doc->DocumentElement();
  REQUIRE(html != nullptr);
  CHECK(html->PlainText() == u"a bc");
  dom::TNode* p = html->ChildNodes().Item(0)->ChildNodes().Item(0);
  CHECK(p->PlainText() == u"a b");
  CHECK(p->ChildNodes().Item(0)->PlainText().empty());  // a text node
  CHECK(doc->PlainText().empty());                      // the document
}

namespace {

// The base rendering, with every kind of node shown.
class TMarkupFormatter : public TBaseFormatter {
 public:
  using TBaseFormatter::ProcessAttributes;
};

}  // namespace

TEST_CASE("the base formatter shows comments and keeps references as written") {
  THtmlParser parser;
  auto doc = parser.ParseString(u"<html><body>a &amp; b<!--c--><![CDATA[d]]></body></html>");
  TMarkupFormatter formatter;
  formatter.SetDocument(doc.get());
  CHECK(formatter.FormatDocument() == u"a &amp; b<!--c-->");
  formatter.SetDecodeEntities(true);
  CHECK(formatter.FormatDocument() == u"a & b<!--c-->");
  formatter.SetNodeKinds(TBaseFormatter::KindText);
  CHECK(formatter.FormatDocument() == u"a  b");
  formatter.SetDocument(nullptr);
  CHECK(formatter.FormatDocument().empty());
}

TEST_CASE("the string builder grows by doubling and keeps every character") {
  TStringBuilder builder(4);
  CHECK(builder.Capacity() == 4);
  builder.Append(u"abc");
  CHECK_FALSE(builder.LastIsWhitespace());
  builder.Append(u"de\t");
  CHECK(builder.Capacity() == 8);
  CHECK(builder.LastIsWhitespace());
  builder.Append(std::u16string(20, u'x'));
  CHECK(builder.Capacity() == 32);
  CHECK(builder.Length() == 26);
  CHECK(builder.ToString() == u"abcde\t" + std::u16string(20, u'x'));
  TStringBuilder zero(0);
  zero.Append(u"ğüşiöç");
  CHECK(zero.ToString() == u"ğüşiöç");
}
