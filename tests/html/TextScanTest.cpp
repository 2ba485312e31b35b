// The block-at-a-time inner loops: the text scans of the reader and the
// formatter, and the UTF-8 edges. Each must give what a unit-at-a-time loop
// gives wherever in a block the interesting unit falls, so the cases are
// slid across block boundaries and checked against plain references.
#include <doctest.h>

#include <random>
#include <string>

#include "html/HtmlToText.h"
#include "html/HtmlToTextUtf8.h"
#include "html/TextScan.h"

namespace {

std::size_t NaiveFindEither(const std::u16string& s, std::size_t from, char16_t a, char16_t b) {
  std::size_t i = from;
  while (i < s.size() && s[i] != a && s[i] != b) ++i;
  return i;
}

// What collapsing copies verbatim from from on (s[from] above U+0020).
std::size_t NaiveCollapsibleEnd(const std::u16string& s, std::size_t from) {
  std::size_t i = from;
  while (i < s.size()) {
    if (s[i] > u' ') {
      ++i;
    } else if (s[i] == u' ' && i > from && s[i - 1] > u' ' && i + 1 < s.size() && s[i + 1] > u' ') {
      ++i;
    } else {
      break;
    }
  }
  return i;
}

// Random text from units that matter to the scans: ordinary letters, the
// four whitespace units, a control, the stop characters, and units whose
// low byte looks like one of them.
std::u16string RandomText(std::mt19937& random, std::size_t length) {
  static const char16_t units[] = {u'a', u'z', u'ş', u' ', u' ', u' ', u'\t', u'\n', u'\r', u'\x01', u'\0',
                                   u'<', u'&', u'"', u'\u0120', u'\u013C', u'\u0226', u'\u00A0', u'\uFFFF'};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof(units) / sizeof(units[0]) - 1);
  std::u16string s;
  for (std::size_t i = 0; i < length; ++i) s.push_back(units[pick(random)]);
  return s;
}

}  // namespace

TEST_CASE("FindEither stops at the first of its two units at every place in and across blocks") {
  for (std::size_t length = 0; length <= 40; ++length) {
    for (std::size_t at = 0; at <= length; ++at) {
      std::u16string s(length, u'x');
      if (at < length) s[at] = u'&';
      if (at + 3 < length) s[at + 3] = u'<';  // a later stop must not win
      const char16_t* end = s.data() + s.size();
      CAPTURE(length);
      CAPTURE(at);
      CHECK(textscan::FindEither(s.data(), end, u'<', u'&') - s.data() == static_cast<std::ptrdiff_t>(at));
    }
  }
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    const std::u16string s = RandomText(random, round % 50);
    for (std::size_t from = 0; from <= s.size(); from += 3) {
      CAPTURE(round);
      const char16_t* found = textscan::FindEither(s.data() + from, s.data() + s.size(), u'"', u'&');
      CHECK(static_cast<std::size_t>(found - s.data()) == NaiveFindEither(s, from, u'"', u'&'));
    }
  }
}

TEST_CASE("CopyUntilCollapsible copies words and single spaces, and nothing past its stop") {
  std::mt19937 random(11);
  for (int round = 0; round < 20000; ++round) {
    std::u16string s = RandomText(random, 1 + round % 45);
    if (s[0] <= u' ') s[0] = u'k';
    // Mostly words with single spaces, the common case the blocks take whole.
    if (round % 2) {
      for (std::size_t i = 1; i < s.size(); ++i) s[i] = (i % 5 == 0) ? u' ' : u'a' + static_cast<char16_t>(i % 26);
      if (round % 4 == 1) s[s.size() / 2] = u"\t\n \x01"[round % 4];
    }
    std::u16string out(s.size() + 8, u'#');
    char16_t* d = out.data();
    const char16_t* stop = textscan::CopyUntilCollapsible(s.data(), s.data() + s.size(), d);
    const std::size_t expected = NaiveCollapsibleEnd(s, 0);
    CAPTURE(round);
    REQUIRE(static_cast<std::size_t>(stop - s.data()) == expected);
    CHECK(d - out.data() == static_cast<std::ptrdiff_t>(expected));
    CHECK(out.compare(0, expected, s, 0, expected) == 0);
    // Blocks may be stored ahead of the stop, never beyond the input's length.
    CHECK(out.find_first_not_of(u'#', s.size()) == std::u16string::npos);
  }
}

TEST_CASE("collapsing whitespace gives the same text with and without the parser") {
  // HtmlToText renders markup-free text on its own; the formatter collapses
  // through the block scan. Both must agree on every mix of runs.
  std::mt19937 random(5);
  static const char16_t units[] = {u'a', u'ı', u' ', u' ', u'\t', u'\n', u'\r', u'\x02', u'\u00A0', u'b'};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof(units) / sizeof(units[0]) - 1);
  for (int round = 0; round < 5000; ++round) {
    std::u16string s;
    for (int i = round % 70; i > 0; --i) s.push_back(units[pick(random)]);
    CAPTURE(Utf16ToUtf8(s));
    CHECK(HtmlToText(s) == HtmlToTextParsed(s));
  }
}

TEST_CASE("UTF-8 decodes the same wherever a sequence falls in a block") {
  // Each case as decoded on its own; behind any number of ASCII bytes the
  // result is the same units behind as many ASCII units.
  const struct {
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"\xC5\x9F", u"ş"},
      {"\xE2\x82\xAC", u"€"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\x80", u"\uFFFD"},                  // stray continuation byte
      {"\xC0\xAF", u"\uFFFD\uFFFD"},        // overlong lead, then a stray byte
      {"\xE0\x80\xAF", u"\uFFFD"},          // overlong three-byte form
      {"\xED\xA0\x80", u"\uFFFD"},          // a surrogate's code point
      {"\xF4\x90\x80\x80", u"\uFFFD"},      // above U+10FFFF
      {"\xC5", u"\uFFFD"},                  // cut off at the end
      {"\xE2\x82z", u"\uFFFDz"},            // cut off by an ASCII byte
      {"\xC5\x9F\xC5", u"ş\uFFFD"},
  };
  for (const auto& c : cases) {
    for (std::size_t before = 0; before <= 34; ++before) {
      for (std::size_t after : {0, 1, 17}) {
        const std::string ascii(before, 'q'), tail(after, 'r');
        std::u16string expected = std::u16string(before, u'q') + c.utf16 + std::u16string(after, u'r');
        CAPTURE(c.utf8);
        CAPTURE(before);
        CAPTURE(after);
        CHECK(Utf8ToUtf16(ascii + c.utf8 + tail) == expected);
      }
    }
  }
}

TEST_CASE("UTF-16 encodes the same wherever a unit falls in a block, and round-trips") {
  const struct {
    std::u16string utf16;
    std::string utf8;
  } cases[] = {
      {u"ş", "\xC5\x9F"},
      {u"€", "\xE2\x82\xAC"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {std::u16string(1, u'\xD800'), "\xEF\xBF\xBD"},  // lone high surrogate
      {std::u16string(1, u'\xDC00'), "\xEF\xBF\xBD"},  // lone low surrogate
      {u"\u0080", "\xC2\x80"},                         // first unit past ASCII
      {u"\u00FF\u0100", "\xC3\xBF\xC4\x80"},           // saturates a byte pack
  };
  for (const auto& c : cases) {
    for (std::size_t before = 0; before <= 18; ++before) {
      for (std::size_t after : {0, 1, 9}) {
        const std::u16string text = std::u16string(before, u'q') + c.utf16 + std::u16string(after, u'r');
        CAPTURE(c.utf8);
        CAPTURE(before);
        CHECK(Utf16ToUtf8(text) == std::string(before, 'q') + c.utf8 + std::string(after, 'r'));
      }
    }
  }
  // Random well-formed text goes there and back unchanged, through buffers
  // reused from call to call.
  std::mt19937 random(3);
  std::uniform_int_distribution<int> kind(0, 9);
  std::u16string wide, back;
  std::string narrow;
  for (int round = 0; round < 2000; ++round) {
    std::u16string text;
    for (int i = round % 60; i > 0; --i) {
      const int k = kind(random);
      if (k < 6) text.push_back(static_cast<char16_t>(u'a' + k));
      else if (k < 8) text.push_back(u'ğ');
      else if (k < 9) text.push_back(u'\u20AC');
      else text.append(u"\U0001F4F0");
    }
    Utf16ToUtf8(text, narrow);
    Utf8ToUtf16(narrow, back);
    CHECK(back == text);
  }
}
