#include <doctest.h>

#include <stdexcept>

#include "tests/html/ReaderRecorder.h"

namespace {

struct Row {
  const char16_t* input;
  const char* events;
};

void CheckRows(const Row* begin, const Row* end) {
  for (const Row* r = begin; r != end; ++r) {
    CAPTURE(Utf8(r->input));
    CHECK(ReadEvents(r->input) == r->events);
  }
}

}  // namespace

TEST_CASE("elements, attributes, text and references arrive one token per event") {
  const Row rows[] = {
      {u"<p class=\"x\">a&amp;b</p>", "<p @class 'x' @/ > 'a' &amp; 'b' </p>"},
      {u"<P CLASS=x>", "<p @class 'x' @/ >"},
      {u"<img alt='x' src=\"y\">", "<img @alt 'x' @/ @src 'y' @/ >"},
      {u"<a b>", "<a @b @/ >"},
      {u"<a b c>", "<a @b @/ @c @/ >"},
      {u"<a b = \"c\" >", "<a @b 'c' @/ >"},
      {u"<a\r\n\thref=x\t>", "<a @href 'x' @/ >"},
      {u"<a x=>", "<a @x @/ >"},
      {u"<a x=\"\">", "<a @x @/ >"},
      {u"<a x='say \"hi\"'>", "<a @x 'say \"hi\"' @/ >"},
      {u"<a x=\"it's\">", "<a @x 'it's' @/ >"},
      {u"<br/>", "<br />"},
      {u"<br />", "<br />"},
      {u"<br / >", "<br />"},
      {u"<a:b c:d=e>", "<a:b @c:d 'e' @/ >"},
      {u"<:x>", "<x >"},
      {u"</p>", "</p>"},
      {u"</P foo=\"bar\">", "</p>"},
      {u"</a:B>", "</a:b>"},
      {u"<!-- a -->", "<!-- a -->"},
      {u"<!---->x", "<!----> 'x'"},
      {u"<!--a--b-->", "<!--a--b-->"},
      {u"<![CDATA[a<b]]>", "<![a<b]>"},
      {u"<![CDATA[]]>", "<![]>"},
      {u"&Eacute;&eacute;", "&Eacute; &eacute;"},
      {u"&x:y;&:z;", "&x:y; &z;"},
      {u"&;", "&;"},
      {u"x\r\ny", "'x\r\ny'"},
  };
  CheckRows(std::begin(rows), std::end(rows));
}

TEST_CASE("attribute values: quoted runs hold references, unquoted runs do not") {
  const Row rows[] = {
      {u"<a href=p&amp;q>", "<a @href 'p&amp;q' @/ >"},
      {u"<a href='p&amp;q'>", "<a @href 'p' &amp; 'q' @/ >"},
      // A reference may open an unquoted value; after it the run goes on.
      {u"<a x=&amp;b>", "<a @x &amp; 'b' @/ >"},
      {u"<a x=&b>", "<a @x &amp; 'b' @/ >"},
      {u"<a x=\"a&b\">", "<a @x 'a' &amp; 'b' @/ >"},
      {u"<a x=\"&#65;\">", "<a @x 'A' @/ >"},
      // An unquoted value ends at "/", which then ends the tag as empty.
      {u"<a href=x/y>t</a>", "<a @href 'x' @/ /> 't' </a>"},
      {u"<a x=y\"z>", "<a @x 'y' @/ @\"z @/ >"},
      {u"<a /b=c>d", "<a /> 'd'"},
      {u"<a =x>", "<a >"},
  };
  CheckRows(std::begin(rows), std::end(rows));
}

TEST_CASE("what cannot be read as markup degrades to lt, amp and text") {
  const Row rows[] = {
      {u"a < b", "'a ' &lt; ' b'"},
      {u"a<", "'a' &lt;"},
      {u"<", "&lt;"},
      {u"<a", "&lt; 'a'"},  // a start tag needs two characters after "<"
      {u"AT&T", "'AT' &amp; 'T'"},
      {u"&amp", "&amp; 'amp'"},
      {u"&", "&amp;"},
      {u"&a b;", "&amp; 'a b;'"},
      {u"&a<b>", "&amp; 'a' <b >"},
      {u"&#", "&amp; '#'"},
      {u"&#12a;", "&amp; '#12a;'"},
      {u"&#x", "&amp; '#x'"},
      {u"&#65", "&amp; '#65'"},
      {u"</ b>", "&lt; '/ b>'"},
      {u"</>", "&lt; '/>'"},
      {u"</", "&lt; '/'"},
      {u"</p", "&lt; '/p'"},
      {u"</p x", "&lt; '/p x'"},
      {u"<!--x", "&lt; '!--x'"},
      {u"<!-->", "&lt; '!-->'"},
      {u"<!--x->", "&lt; '!--x->'"},
      {u"<![CDATA[x", "&lt; '![CDATA[x'"},
      {u"<![CDATA[x]]", "&lt; '![CDATA[x]]'"},
      {u"<![cdata[x]]>", "&lt; '![cdata[x]]>'"},
      {u"<!foo>", "&lt; '!foo>'"},
      {u"<!", "&lt; '!'"},
      {u"<!-", "&lt; '!-'"},
      {u"< p>", "&lt; ' p>'"},
      {u"<>", "&lt; '>'"},
      {u"<=>", "<= >"},
  };
  CheckRows(std::begin(rows), std::end(rows));
}

TEST_CASE("numeric references become one 16-bit character of text") {
  struct NumRow {
    const char16_t* input;
    char16_t code;
  };
  const NumRow rows[] = {
      {u"&#252;", 252},   {u"&#xFC;", 252},  {u"&#XfC;", 252},   {u"&#;", 0},
      {u"&#x;", 0},       {u"&#65601;", 65}, {u"&#x1F600;", 0xF600},
      {u"&#000065;", 65}, {u"&#8230;", 0x2026},
  };
  for (const NumRow& r : rows) {
    CAPTURE(Utf8(r.input));
    THtmlReader reader;
    reader.SetHtmlStr(r.input);
    REQUIRE(reader.Read());
    CHECK(reader.NodeType() == HtmlToken::Text);
    CHECK(reader.NodeValue() == std::u16string(1, r.code));
    CHECK_FALSE(reader.Read());
  }
}

TEST_CASE("document type declarations") {
  const Row rows[] = {
      {u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">x",
       "<!DOCTYPE HTML \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\"> 'x'"},
      {u"<!doctype html public 'p' 's'>", "<!DOCTYPE html \"p\" \"\">"},
      {u"<!DocType a b \"c\">", "<!DOCTYPE a \"c\" \"\">"},
      // The quote may be any character, even ">": at the end of the input
      // there is no second one ...
      {u"<!doctype html>", "&lt; '!doctype html>'"},
      // ... but with markup after it the literal runs on to the next ">".
      {u"<!doctype html><html><body>", "<!DOCTYPE html \"<html\" \"\">"},
      {u"<!doctype html><html><body>x", "<!DOCTYPE html \"<html\" \"\"> 'x'"},
      {u"<!DOCTYPE>", "&lt; '!DOCTYPE>'"},
      {u"<!DOCTYPE", "&lt; '!DOCTYPE'"},
      {u"<!DOCTYPE a b \"c", "&lt; '!DOCTYPE a b \"c'"},
      {u"<!DOCTYPE a b \"c\" \"d>", "&lt; '!DOCTYPE a b \"c\" \"d>'"},
      {u"<!DOCTYPE a b \"c\"", "&lt; '!DOCTYPE a b \"c\"'"},
  };
  CheckRows(std::begin(rows), std::end(rows));

  THtmlReader reader;
  reader.SetHtmlStr(u"<!DOCTYPE x:y k \"p\" \"s\">");
  int fired = 0;
  reader.OnDocType = [&](THtmlReader& r) {
    ++fired;
    CHECK(r.NodeType() == HtmlToken::None);  // a declaration has no token kind
    CHECK(r.Prefix() == u"x");
    CHECK(r.LocalName() == u"y");
    CHECK(r.PublicID() == u"p");
    CHECK(r.SystemID() == u"s");
  };
  CHECK(reader.Read());
  CHECK(fired == 1);
}

TEST_CASE("script and style contents are tokenized like any other markup unless switched") {
  const Row rows[] = {
      {u"<script>if (a<b) x();</script>", "<script > 'if (a' <b) @x();< @/ />"},
      {u"<style>p{}</style>", "<style > 'p{}' </style>"},
  };
  CheckRows(std::begin(rows), std::end(rows));
}

TEST_CASE("raw text: one text token up to the element's own end tag") {
  const Row rows[] = {
      {u"<style a=1>a&amp;b<!--c--></style>d", "<style @a '1' @/ > 'a&amp;b<!--c-->' </style> 'd'"},
      {u"<noscript></noscript>x", "<noscript > </noscript> 'x'"},
      {u"<script/>x</script>", "<script /> 'x' </script>"},
      // The end tag in any case, its name ended by whitespace (FF too), "/"
      // or ">", and anything after the name up to ">".
      {u"<SCRIPT>x</ScRiPt foo=\"bar\">y", "<script > 'x' </script> 'y'"},
      {u"<script>x</script\f>y", "<script > 'x' </script> 'y'"},
      {u"<style>x</style/>y", "<style > 'x' </style> 'y'"},
      {u"<style>x</script></styles></ style>", "<style > 'x</script></styles></ style>'"},
      // Without its end tag the text runs to the end; without ">" the end
      // tag does.
      {u"<script>x</script", "<script > 'x</script'"},
      {u"<script>x</script y", "<script > 'x' </script>"},
  };
  for (const Row& r : rows) {
    CAPTURE(Utf8(r.input));
    CHECK(ReadEvents(r.input, true) == r.events);
  }
}

TEST_CASE("script data: inside <!-- -->, a <script> hides the next </script>") {
  const Row rows[] = {
      {u"<script><!-- a </script>b-->", "<script > '<!-- a ' </script> 'b-->'"},
      {u"<script><!-- <SCRIPT src=a>x</SCRIPT>y --></script>",
       "<script > '<!-- <SCRIPT src=a>x</SCRIPT>y -->' </script>"},
      {u"<script><!--<script></script></script>x", "<script > '<!--<script></script>' </script> 'x'"},
      {u"<script><!--<script>- -></script>--></script>",
       "<script > '<!--<script>- -></script>-->' </script>"},
      // "<!-->" is over at once; "<script" must end its name.
      {u"<script><!--><script></script>", "<script > '<!--><script>' </script>"},
      {u"<script><!--<scripts></script>", "<script > '<!--<scripts>' </script>"},
      {u"<style><!--<script></style>x", "<style > '<!--<script>' </style> 'x'"},
  };
  for (const Row& r : rows) {
    CAPTURE(Utf8(r.input));
    CHECK(ReadEvents(r.input, true) == r.events);
  }
}

TEST_CASE("raw text is asked for between tags only") {
  THtmlReader reader;
  reader.SetHtmlStr(u"<a x>b");
  REQUIRE(reader.Read());  // <a
  reader.ReadRawText(u"a", THtmlRawTextKind::RawText);
  CHECK(reader.State() == THtmlReaderState::StartTag);
}

TEST_CASE("names are lower-cased on ASCII letters only; text keeps every character") {
  const Row rows[] = {
      {u"<p title=\"İstanbul\">Şişli &Ouml;</p>",
       "<p @title 'İstanbul' @/ > 'Şişli ' &Ouml; </p>"},
      {u"<İMG ĞÜ=1>", "<İmg @ĞÜ '1' @/ >"},
      {u"<b>\U0001F600 ğ</b>", "<b > '\U0001F600 ğ' </b>"},
      {u"<a\u00A0b>", "<a\u00A0b >"},  // no-break space is not whitespace in a tag
  };
  CheckRows(std::begin(rows), std::end(rows));
}

TEST_CASE("an input that ends inside a start tag") {
  const Row rows[] = {
      {u"<ab", "<ab"},
      {u"<p ", "<p >"},  // no ">": the rest is swallowed and the tag finished
      {u"<p title=x", "<p @title 'x'"},
      {u"<p title", "<p @title"},
      {u"<p title=", "<p @title @/"},
      // A quoted value cut off right after its quote still gets its end ...
      {u"<a x=\"", "<a @x @/"},
      // ... one cut off after some text has already been read does not.
      {u"<a x=\"abc", "<a @x 'abc'"},
      {u"<a x=\"a&b", "<a @x 'a' &amp; 'b'"},
      {u"<p a>text", "<p @a @/ > 'text'"},
      {u"<p a <b>c", "<p @a @/ @<b @/ > 'c'"},
  };
  CheckRows(std::begin(rows), std::end(rows));
}

TEST_CASE("each Read fires at most one event and sets the token kind") {
  THtmlReader reader;
  std::string kinds;
  auto record = [&](THtmlReader& r) { kinds += std::to_string(r.NodeType()) + " "; };
  reader.OnElementStart = reader.OnAttributeStart = reader.OnAttributeEnd = record;
  reader.OnElementEnd = reader.OnTextNode = reader.OnEntityReference = record;
  reader.OnEndElement = reader.OnComment = reader.OnCDataSection = record;
  reader.SetHtmlStr(u"<a x='1'>t&lt;&#65;</a><!--c--><![CDATA[d]]>");
  CHECK(reader.Position() == 1);
  int reads = 0;
  while (reader.Read()) ++reads;
  CHECK(kinds == "1 0 3 2 1 3 5 3 255 8 4 ");
  CHECK(reads == 11);
  CHECK(reader.Position() > reader.HtmlStr().size());
  CHECK_FALSE(reader.Read());
}

TEST_CASE("reader states follow the start tag and its attributes") {
  THtmlReader reader;
  reader.SetHtmlStr(u"<a x='1' y=2 z>");
  std::vector<int> states;
  std::vector<char16_t> quotes;
  while (reader.Read()) {
    states.push_back(static_cast<int>(reader.State()));
    quotes.push_back(reader.QuoteChar());
  }
  // <a, @x, '1', @/, @y, '2', @/, @z, @/, >
  CHECK(states == std::vector<int>{1, 2, 4, 1, 2, 3, 1, 2, 1, 0});
  CHECK(quotes[2] == u'\'');
}

TEST_CASE("an empty input reads nothing; missing handlers are skipped") {
  THtmlReader empty;
  empty.SetHtmlStr(u"");
  CHECK_FALSE(empty.Read());

  THtmlReader silent;
  silent.SetHtmlStr(u"<p a='b'>x&amp;<!--c--></p>");
  int reads = 0;
  while (silent.Read()) ++reads;
  CHECK(reads == 9);
}

TEST_CASE("an exception from a handler passes through Read") {
  THtmlReader reader;
  reader.SetHtmlStr(u"a<b>");
  reader.OnElementStart = [](THtmlReader&) { throw std::runtime_error("stop"); };
  CHECK(reader.Read());
  CHECK_THROWS_AS(reader.Read(), std::runtime_error);
}

TEST_CASE("token texts are views: valid until the next read, gone with a new input") {
  THtmlReader reader;
  std::u16string seen;
  reader.OnElementStart = [&](THtmlReader& r) { seen = std::u16string(r.QualifiedName()); };
  reader.SetHtmlStr(u"<DiV>te&#x41;xt");
  REQUIRE(reader.Read());
  CHECK(seen == u"div");  // lower-cased into the reader's own copy
  REQUIRE(reader.Read());
  REQUIRE(reader.Read());
  CHECK(reader.NodeValue() == u"te");
  REQUIRE(reader.Read());
  CHECK(reader.NodeValue() == u"A");  // the reference's character, held by the reader
  REQUIRE(reader.Read());
  CHECK(reader.NodeValue() == u"xt");
  reader.SetHtmlStr(u"other");
  CHECK(reader.NodeValue().empty());
  CHECK(reader.QualifiedName().empty());
  CHECK(reader.NodeType() == HtmlToken::None);
}
