// Inputs built to make a naive reader rescan the rest of the input at every
// "<" or "&". Each runs a megabyte through the reader; a quadratic regression
// shows up as a CTest time-out (and under the sanitizers long before), so
// there is no timing assertion here. Each test also checks that nothing was
// lost: text and the "<"/"&" of fallback references add up to the input.
#include <doctest.h>

#include "html/HtmlReader.h"

namespace {

constexpr std::size_t Megabyte = 1 << 20;

std::u16string Repeat(std::u16string_view unit, std::size_t length) {
  std::u16string s;
  s.reserve(length + unit.size());
  while (s.size() < length) s += unit;
  return s;
}

struct TTally {
  std::size_t tokens = 0;
  std::size_t markup = 0;  // tokens other than text and fallback references
  std::u16string rebuilt;  // text plus the character each fallback stands for
};

TTally ReadAll(const std::u16string& input) {
  THtmlReader reader;
  TTally tally;
  tally.rebuilt.reserve(input.size());
  reader.OnTextNode = [&](THtmlReader& r) { tally.rebuilt += r.NodeValue(); };
  reader.OnEntityReference = [&](THtmlReader& r) {
    if (r.QualifiedName() == u"lt")
      tally.rebuilt += u'<';
    else if (r.QualifiedName() == u"amp")
      tally.rebuilt += u'&';
    else
      ++tally.markup;
  };
  auto markup = [&](THtmlReader&) { ++tally.markup; };
  reader.OnElementStart = reader.OnEndElement = reader.OnComment = markup;
  reader.OnCDataSection = reader.OnDocType = markup;
  reader.SetHtmlStr(input);
  while (reader.Read()) ++tally.tokens;
  return tally;
}

}  // namespace

TEST_CASE("unterminated literals and end tags read in linear time") {
  const char16_t* const units[] = {
      u"<!--",                // comment never closed
      u"<![CDATA[",           // CDATA section never closed
      u"<!DOCTYPE",           // declaration without words
      u"<!DOCTYPE a b c",     // quoted by "c", never a ">"
      u"<!DOCTYPE a b \"",    // public literal never closed
      u"<!DOCTYPE a b 'c' \"", // system literal never closed
      u"</a",                 // end tag without ">"
      u"</a ",
      u"</aaaaaaaaaaaaaaaa/",
      u"&#1",                 // numeric reference without ";"
      u"&amp",                // named reference without ";"
      u"&",
  };
  for (const char16_t* unit : units) {
    CAPTURE(std::u16string_view(unit).size());
    const std::u16string input = Repeat(unit, Megabyte);
    const TTally tally = ReadAll(input);
    CHECK(tally.markup == 0);
    CHECK(tally.rebuilt == input);
  }
}

TEST_CASE("one long word or whitespace run after many declarations reads in linear time") {
  // Every "<!DOCTYPEa" reads its name up to the same far whitespace run and
  // then skips that run: both searches must be answered from memory.
  std::u16string input = Repeat(u"<!DOCTYPEa", Megabyte / 2);
  input += std::u16string(Megabyte / 2, u' ');
  input += u"x";
  const TTally tally = ReadAll(input);
  CHECK(tally.markup == 0);
  CHECK(tally.rebuilt == input);

  // All declarations share the same name, keyword and quote, and the skip
  // after the literal crosses the same long run every time.
  std::u16string shared = Repeat(u"<!DOCTYPEa", Megabyte / 2);
  shared += u" k qq";
  shared += std::u16string(Megabyte / 2, u'\n');
  CHECK(ReadAll(shared).rebuilt == shared);

  std::u16string endTags = Repeat(u"</a", Megabyte / 2);
  endTags += std::u16string(Megabyte / 2, u'\t');
  CHECK(ReadAll(endTags).rebuilt == endTags);
}

TEST_CASE("a declaration quoted by a character that never comes again") {
  // Each declaration is quoted by a character that does not come again for a
  // long way (20480 declarations), so each literal search would cover most
  // of the rest of the input.
  std::u16string input;
  for (unsigned i = 0; input.size() < Megabyte; ++i) {
    input += u"<!DOCTYPE a b ";
    input += static_cast<char16_t>(0x4E00 + i % 0x5000);
  }
  const TTally tally = ReadAll(input);
  CHECK(tally.markup == 0);
  CHECK(tally.rebuilt == input);
}

TEST_CASE("well-formed markup of a megabyte still reads completely") {
  const std::u16string input =
      Repeat(u"<p class=\"a\">x &amp; y<!--c--><![CDATA[d]]></p><!DOCTYPE h k \"p\">", Megabyte);
  const TTally tally = ReadAll(input);
  CHECK(tally.markup > 0);
  CHECK(tally.tokens > 100000);
}

TEST_CASE("a start tag without an end reads its attributes to the end of the input") {
  const std::u16string input = u"<p " + Repeat(u"a=b ", Megabyte);
  const TTally tally = ReadAll(input);
  CHECK(tally.markup == 1);
}
