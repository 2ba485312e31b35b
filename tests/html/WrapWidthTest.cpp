// Wrapping for a width in pixels: undoing the column wrap, breaking at the
// measured room, words wider than the room, surrogate pairs.
#include <doctest.h>

#include <random>
#include <string>
#include <vector>

#include "html/HtmlToTextUtf8.h"
#include "html/WrapWidth.h"

namespace {

// A font where every character is 10 pixels wide and "W" is 20; lines are
// measured with 6 pixels of padding, as a drawing format adds.
int PieceWidth(std::u16string_view s) {
  int w = 0;
  for (char16_t c : s) w += (c >= 0xDC00 && c <= 0xDFFF) ? 0 : (c == u'W' ? 20 : 10);
  return w;
}
int LineWidth(std::u16string_view s) { return s.empty() ? 0 : PieceWidth(s) + 6; }

// CR LF shown as "~".
std::string Shown(const std::u16string& text) {
  std::string out = Utf16ToUtf8(text), shown;
  for (size_t i = 0; i < out.size(); ++i) {
    if (out.compare(i, 2, "\r\n") == 0) {
      shown += '~';
      ++i;
    } else {
      shown += out[i];
    }
  }
  return shown;
}
std::u16string Text(const std::string& shown) {
  std::string s;
  for (char c : shown) s += c == '~' ? std::string("\r\n") : std::string(1, c);
  return Utf8ToUtf16(s);
}

TLineFits FitsIn(int room) {
  return [room](std::u16string_view s) { return LineWidth(s) <= room; };
}

std::string Wrap(const std::string& text, int room) {
  return Shown(WrapToWidth(Text(text), PieceWidth, FitsIn(room), room));
}

}  // namespace

TEST_CASE("the column wrap's breaks are taken out, the text's own stay") {
  struct {
    const char* In;
    const char* Out;
  } cases[] = {
      {"Meclis bugün ~toplanıyor", "Meclis bugün toplanıyor"},
      {"tab\t~goes on", "tab\tgoes on"},
      {"İstanbul-~Ankara", "İstanbul-Ankara"},
      {"Bir cümle.~Yeni satır", "Bir cümle.~Yeni satır"},
      {"önce~~sonra", "önce~~sonra"},
      {"son ", "son "},
  };
  for (const auto& c : cases) CHECK(Shown(UnwrapText(Text(c.In))) == c.Out);
}

TEST_CASE("lines break at the last break that keeps them in the room") {
  struct {
    const char* In;
    int Room;
    const char* Out;
  } cases[] = {
      // 5 characters and the padding fit in 56 pixels, 6 do not.
      {"aaa bbb ccc", 56, "aaa~bbb~ccc"},
      {"aa bb cc dd", 96, "aa bb cc~dd"},
      // The guess from the pieces says "aaaa b" fits (50); the line's own
      // measure (56) does not: "b" goes down.
      {"aaaa b", 50, "aaaa~b"},
      // Breaks in the text stay; empty lines too.
      {"ab~~cd", 100, "ab~~cd"},
      // Hyphens and full stops break, and stay at the line's end.
      {"üst-alt.orta", 56, "üst-~alt.~orta"},
      // A wide letter counts twice.
      {"WWW aa", 66, "WWW~aa"},
      // A word wider than the room is cut between characters.
      {"abcdefghij", 46, "abcd~efgh~ij"},
      {"x abcdefghij", 46, "x~abcd~efgh~ij"},
      // Narrower than one character: one character a line.
      {"abc", 3, "a~b~c"},
  };
  for (const auto& c : cases) {
    INFO(c.In << " in " << c.Room);
    CHECK(Wrap(c.In, c.Room) == c.Out);
  }
}

TEST_CASE("a surrogate pair is never split") {
  // Three pairs (U+1F4F0) are 30 pixels: two lines at room 26.
  CHECK(Wrap("\xF0\x9F\x93\xB0\xF0\x9F\x93\xB0\xF0\x9F\x93\xB0", 26) ==
        "\xF0\x9F\x93\xB0\xF0\x9F\x93\xB0~\xF0\x9F\x93\xB0");
  CHECK(Wrap("\xF0\x9F\x93\xB0", 1) == "\xF0\x9F\x93\xB0");
}

TEST_CASE("random texts: every line fits, and taking the breaks out gives the text back") {
  std::mt19937 random(20261211);
  const std::u16string alphabet = u"aWğİ -.\t";
  for (int round = 0; round < 2000; ++round) {
    std::u16string text;
    const int length = static_cast<int>(random() % 80);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    const int room = 10 + static_cast<int>(random() % 200);
    const std::u16string wrapped = WrapToWidth(text, PieceWidth, FitsIn(room), room);
    std::u16string joined;
    size_t start = 0;
    for (;;) {
      size_t end = wrapped.find(u"\r\n", start);
      std::u16string_view line = std::u16string_view(wrapped).substr(start, end == std::u16string::npos ? end : end - start);
      INFO("round " << round);
      CHECK((LineWidth(line) <= room || line.size() <= 1));
      joined += line;
      if (end == std::u16string::npos) break;
      start = end + 2;
    }
    // Spaces and tabs at a break are dropped; nothing else is.
    std::u16string expected;
    for (char16_t c : text) expected += c;
    auto strip = [](std::u16string s) {
      std::u16string out;
      for (char16_t c : s)
        if (c != u' ' && c != u'\t') out += c;
      return out;
    };
    CHECK(strip(joined) == strip(expected));
  }
}
