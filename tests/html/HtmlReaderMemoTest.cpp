// Built together with the reader compiled with KAVRELO_CHECK_SEARCH_MEMO, so
// that every remembered search is checked against a plain search (the reader
// aborts on a difference). Random inputs made of the pieces that open and
// close the markup whose searches are remembered exercise every path.
#include <doctest.h>

#include <random>

#include "tests/html/ReaderRecorder.h"

TEST_CASE("remembered searches answer exactly as plain searches") {
  const char16_t* const pieces[] = {
      u"<",  u"</", u"<!", u"<!--", u"-->", u"--", u"<![CDATA[", u"]]>", u"]", u">",
      u"<!DOCTYPE", u"<!doctype ", u"\"", u"'", u" ", u"\t", u"/", u"a", u"b=", u"&",
      u"&#", u";", u"x", u"\u015F",
  };
  std::mt19937 random(20261208);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> length(0, 60);
  std::size_t tokens = 0;
  for (int round = 0; round < 20000; ++round) {
    std::u16string input;
    for (int n = length(random); n > 0; --n) input += pieces[pick(random)];
    THtmlReader reader;
    TReaderRecorder rec;
    rec.Attach(reader);
    reader.SetHtmlStr(input);
    rec.Run(reader);
    tokens += rec.reads;
    REQUIRE(rec.maxPerRead <= 1);
  }
  CHECK(tokens > 100000);
}

namespace {
// `unit` over and over, to at least `length` characters.
std::u16string repeat(std::u16string_view unit, std::size_t length) {
  std::u16string s;
  while (s.size() < length) s += unit;
  return s;
}
}  // namespace

TEST_CASE("remembered searches cover each character a bounded number of times") {
  // The checked reader aborts when its searches together cover more than a
  // fixed multiple of the input; these inputs would make unremembered
  // searches cover it thousands of times.
  constexpr std::size_t Length = 16384;
  const std::u16string inputs[] = {
      repeat(u"<!--", Length),
      repeat(u"<![CDATA[", Length),
      repeat(u"<!DOCTYPE", Length),
      repeat(u"<!DOCTYPE a b c", Length),
      repeat(u"<!DOCTYPE a b 'c' \"", Length),
      repeat(u"</a", Length),
      repeat(u"</a ", Length),
      repeat(u"<!DOCTYPEa", Length) + std::u16string(Length, u' ') + u"x",
      repeat(u"<!DOCTYPEa", Length) + u" k qq" + std::u16string(Length, u'\n'),
      repeat(u"</a", Length) + std::u16string(Length, u'\t'),
      repeat(u"<!-- </a <![CDATA[ <!DOCTYPE x y z", Length),
  };
  for (const std::u16string& input : inputs) {
    CAPTURE(Utf8(input.substr(0, 20)));
    THtmlReader reader;
    reader.SetHtmlStr(input);
    std::size_t reads = 0;
    while (reader.Read()) ++reads;
    CHECK(reads > 0);
  }
}

TEST_CASE("raw text is scanned once") {
  // The checked reader aborts when its scans and searches cover the input
  // too often.
  constexpr std::size_t Length = 16384;
  const std::u16string inputs[] = {
      u"<script>" + repeat(u"</scrip", Length),
      u"<script>" + repeat(u"<!--<script></script", Length),
      u"<style>" + repeat(u"</styl", Length),
      repeat(u"<script>x</script ", Length),
      repeat(u"<style></style", Length) + u">",
  };
  for (const std::u16string& input : inputs) {
    CAPTURE(Utf8(input.substr(0, 20)));
    THtmlReader reader;
    TReaderRecorder rec;
    rec.Attach(reader);
    ReadRawTextAsTheBuilderDoes(reader);
    reader.SetHtmlStr(input);
    rec.Run(reader);
    CHECK(rec.reads > 0);
  }
}
