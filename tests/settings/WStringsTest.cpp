#include <doctest.h>

#include <string>
#include <vector>

#include "settings/WStrings.h"

namespace {

std::vector<std::u16string> Lines(std::u16string_view text) {
  TWStringList list;
  list.SetText(text);
  std::vector<std::u16string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
  return lines;
}

using L = std::vector<std::u16string>;

}  // namespace

TEST_CASE("text splits at CR, LF and CR LF; U+0000 ends it; a last open line counts") {
  struct Row {
    std::u16string text;
    L lines;
  };
  const Row rows[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\n", {u"a"}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\rb\nc", {u"a", u"b", u"c"}},
      {u"a\n\rb", {u"a", u"", u"b"}},  // LF CR is two line ends
      {u"\r\n\r\n", {u"", u""}},
      {u"a\r\r\nb", {u"a", u"", u"b"}},
      {std::u16string(u"a\r\nb\0c\r\nd", 9), {u"a", u"b"}},
      {std::u16string(u"\0a", 2), {}},
  };
  for (const Row& r : rows) {
    CAPTURE(r.lines.size());
    CHECK(Lines(r.text) == r.lines);
  }
}

TEST_CASE("UTF-16 LE bytes: mark optional, odd last byte ignored, mark written") {
  CHECK(DecodeUtf16Le(std::string("\xFF\xFE" "a\0b\0", 6)) == u"ab");
  CHECK(DecodeUtf16Le(std::string("a\0b\0", 4)) == u"ab");
  CHECK(DecodeUtf16Le(std::string("a\0b\0c", 5)) == u"ab");
  CHECK(DecodeUtf16Le(std::string("\xFF\xFE" "a", 3)) == u"");
  CHECK(DecodeUtf16Le(std::string("\xFE\xFF" "a\0", 4)) == u"\uFFFEa");  // big-endian mark is text
  CHECK(DecodeUtf16Le("") == u"");
  CHECK(DecodeUtf16Le(std::string("\x5E\x01\xFF\xFF", 4)) == u"\u015E\uFFFF");

  TWStringList list;
  list.Add(u"\u015Eu");
  list.Add(u"");
  CHECK(list.SaveToBytes() == std::string("\xFF\xFE\x5E\x01u\0\r\0\n\0\r\0\n\0", 14));
}

TEST_CASE("a list owns the objects stored with its strings") {
  struct Probe : TWObject {
    explicit Probe(int& alive) : alive_(alive) { ++alive_; }
    ~Probe() override { --alive_; }
    int& alive_;
  };
  int alive = 0;
  {
    TWStringList list;
    list.Add(u"one", std::make_unique<Probe>(alive));
    list.Add(u"two", std::make_unique<Probe>(alive));
    list.Add(u"three");
    CHECK(alive == 2);
    CHECK(list.GetObject(2) == nullptr);
    list.Delete(0);
    CHECK(alive == 1);
    CHECK(list.Get(0) == u"two");
  }
  CHECK(alive == 0);
}

TEST_CASE("linear look-ups ignore letter case unless told otherwise") {
  TWStringList list;
  list.Add(u"Alpha=1");
  list.Add(u"\u00E7e\u011Fi=2");  // çeği
  list.Add(u"plain");
  CHECK(list.IndexOfName(u"ALPHA") == 0);
  CHECK(list.IndexOfName(u"\u00C7E\u011EI") == 1);
  CHECK(list.IndexOf(u"PLAIN") == 2);
  CHECK(list.IndexOfName(u"plain") == -1);  // no "=": not a name
  CHECK(list.Name(0) == u"Alpha");
  CHECK(list.Name(2) == u"");
  list.SetCaseSensitive(true);
  CHECK(list.IndexOf(u"PLAIN") == -1);
}
