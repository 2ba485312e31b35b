// Bytes that do not keep to their label: UTF-8 read sequence by sequence,
// with what is not UTF-8 read as windows-1254.
#include <doctest.h>

#include <string>
#include <string_view>

#include "feed/FeedBytes.h"

namespace {

struct TCase {
  const char* what;
  std::string_view bytes;
  std::u16string_view text;
  std::size_t legacy;
};

const TCase Cases[] = {
    {"UTF-8 Turkish letters", "\xC4\xB0stanbul ya\xC4\x9F\xC4\xB1\xC5\x9F", u"\u0130stanbul ya\u011F\u0131\u015F", 0},
    {"windows-1254 letters in UTF-8 text", "\xDDstanbul ya\xF0\xFD\xFE \xC3\xBC", u"\u0130stanbul ya\u011F\u0131\u015F \u00FC",
     4},
    {"Word's quotes and dash", "\x93" "a\x94 \x96 \x85", u"\u201Ca\u201D \u2013 \u2026", 4},
    {"a lead byte before ASCII", "\xC7" "ok", u"\u00C7ok", 1},
    {"a cut sequence at the end", "a\xE2\x82", u"a\u00E2\u201A", 2},
    {"overlong and surrogate forms are no UTF-8", "\xC0\xAF\xED\xA0\x80", u"\u00C0\u00AF\u00ED\u00A0\u20AC", 5},
    {"four-byte characters", "\xF0\x9F\x93\xB0", u"\U0001F4F0", 0},
    {"bytes the code page leaves unassigned go", "a\x81\x8D\x9E" "b", u"ab", 3},
};

}  // namespace

TEST_CASE("UTF-8 sequence by sequence, the rest windows-1254") {
  for (const auto& c : Cases) {
    INFO(std::string(c.what));
    std::size_t legacy = 99;
    CHECK(DecodeUtf8Or1254(c.bytes, &legacy) == c.text);
    CHECK(legacy == c.legacy);
    CHECK(Utf8EvidenceOf(c.bytes).Invalid == c.legacy);
  }
}

TEST_CASE("how much of the text reads as UTF-8") {
  CHECK(Utf8EvidenceOf("plain ASCII").Multibyte == 0);
  TUtf8Evidence turkish = Utf8EvidenceOf("G\xC3\x9CNE\xC5\x9E \xFE");
  CHECK(turkish.Multibyte == 2);
  CHECK(turkish.Invalid == 1);
}

TEST_CASE("windows-1254 is Latin-1 but for six letters and the 0x80 row") {
  CHECK(Windows1254Char(0xDD) == u'\u0130');
  CHECK(Windows1254Char(0xFD) == u'\u0131');
  CHECK(Windows1254Char(0xE7) == u'\u00E7');
  CHECK(Windows1254Char(0x80) == u'\u20AC');
  CHECK(Windows1254Char(0x8E) == 0);
}
