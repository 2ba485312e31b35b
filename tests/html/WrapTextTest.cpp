// WrapText: where lines break, on UTF-16 text with Turkish letters and
// surrogate pairs.
#include <doctest.h>

#include <string>

#include "html/HtmlToTextUtf8.h"
#include "html/WrapText.h"

namespace {

// CR LF written as "|" in the expectations below would clash with bars, so
// they are written as "~".
std::string Wrap(const std::string& text, int width) {
  std::string out = Utf16ToUtf8(WrapText(Utf8ToUtf16(text), WrapBreakStr, WrapBreakChars, width));
  std::string shown;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out.compare(i, 2, "\r\n") == 0) {
      shown += '~';
      ++i;
    } else {
      shown += out[i];
    }
  }
  return shown;
}

}  // namespace

TEST_CASE("lines break after the last break character within the width") {
  struct Row {
    const char* text;
    int width;
    const char* wrapped;  // "~" stands for CR LF
  };
  const Row rows[] = {
      {"aa bb cc dd ee ff", 5, "aa ~bb ~cc ~dd ~ee ff"},
      {"aa bb cc dd ee ff", 80, "aa bb cc dd ee ff"},
      {"", 5, ""},
      // A word longer than the width is never split.
      {"kelime", 2, "kelime"},
      {"uzunkelime kısa", 4, "uzunkelime ~kısa"},
      // Hyphen, full stop and TAB break as well; each stays on its line.
      {"a-b.c d", 0, "a-~b.~c ~d"},
      {"bir\tiki üç", 4, "bir\t~iki ~üç"},
      // Further break characters begin the next line.
      {"aaaa  bbbb", 4, "aaaa ~ bbbb"},
      // No break string once only break characters remain.
      {"aaaa bbbb ", 4, "aaaa ~bbbb "},
      {"aaaa    ", 2, "aaaa    "},
      // A CR LF already in the text ends its line by itself ...
      {"aa\r\nbb cc", 80, "aa~bb cc"},
      // ... and a space after it makes a blank line, as the classic routine does.
      {"aa bb\r\n cc", 3, "aa ~bb~~ cc"},
      // Text between bars is never broken.
      {"|aa bb cc| dd ee", 3, "|aa bb cc| ~dd ~ee"},
      {"x |a b c d", 2, "x ~|a b c d"},
  };
  for (const Row& r : rows) {
    const std::string text = r.text;
    CAPTURE(text);
    CAPTURE(r.width);
    CHECK(Wrap(r.text, r.width) == r.wrapped);
  }
  CHECK(Wrap(std::string(60, 'a'), 50) == std::string(60, 'a'));
}

TEST_CASE("Turkish letters count one column each") {
  CHECK(Wrap("Ağaçlar çiçek açtı, şımarık öğrenciler İğdır-Iğdır yolunda.", 12) ==
        "Ağaçlar ~çiçek açtı, ~şımarık ~öğrenciler ~İğdır-Iğdır ~yolunda.");
  // Exactly 50 letters fit a line of 50; the title width of the news list.
  const std::string fifty = "ğüşıöçĞÜŞİ" "ğüşıöçĞÜŞİ" "ğüşıöçĞÜŞİ" "ğüşıöçĞÜŞİ" "ğüşıöçĞÜŞİ";
  CHECK(Wrap(fifty + " x", 50) == fifty + " ~x");
  CHECK(Wrap("ab " + fifty, 50) == "ab ~" + fifty);
}

TEST_CASE("a surrogate pair is one column and never split") {
  // U+1F600 is D83D DE00 in UTF-16.
  CHECK(Wrap("😀 😀 😀 😀", 4) == "😀 😀 ~😀 😀");
  // Counted as code units, the first line would end after the first space.
  CHECK(Wrap("😀😀 ab cd", 6) == "😀😀 ab ~cd");
  CHECK(Wrap("😀😀😀 ab", 5) == "😀😀😀 ~ab");

  // Even a break set that names the low surrogate cannot break inside a pair.
  const std::u16string pair = u"a\U0001F600b";
  const std::u16string lowAsBreak(1, static_cast<char16_t>(0xDE00));
  CHECK(WrapText(pair, u"\r\n", lowAsBreak, 1) == pair);
  // A lone surrogate is an ordinary character.
  const std::u16string lone = {u'a', static_cast<char16_t>(0xDE00), u'b'};
  CHECK(WrapText(lone, u"#", lowAsBreak, 1) == std::u16string{u'a', static_cast<char16_t>(0xDE00), u'#', u'b'});
}

TEST_CASE("odd break strings and widths") {
  CHECK(WrapText(u"aa bb cc", u"", WrapBreakChars, 2) == u"aa bb cc");
  CHECK(WrapText(u"aa bb cc", u"<br>", WrapBreakChars, 2) == u"aa <br>bb <br>cc");
  CHECK(WrapText(u"aa<br>bb cc", u"<br>", WrapBreakChars, 80) == u"aa<br>bb cc");
  CHECK(WrapText(u"aa bb", u"\r\n", u"", 1) == u"aa bb");
  CHECK(WrapText(u"aa bb", u"\r\n", WrapBreakChars, -5) == u"aa \r\nbb");
}
