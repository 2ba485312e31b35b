#include <doctest.h>

#include "settings/IniSyntax.h"

TEST_CASE("trimming drops U+0000 to U+0020 at both ends only") {
  CHECK(TrimIni(u"  a b\t") == u"a b");
  CHECK(TrimIni(u"\x01\x1F\x20x\x21") == u"x\x21");
  CHECK(TrimIni(u" \t\r\n") == u"");
  CHECK(TrimIni(u"\u00A0x\u00A0") == u"\u00A0x\u00A0");  // no-break space stays
}

TEST_CASE("escaping and unescaping") {
  struct Row {
    std::u16string plain, escaped;
  };
  const Row roundTrips[] = {
      {u"a=b", u"a=b"},
      {u"a\\b", u"a\\\\b"},
      {u"line1\r\nline2", u"line1\\r\\nline2"},
      {u"x=\ttab", u"x=\\ttab"},
      {u"\\n", u"\\\\n"},  // a backslash and an n, not a line break
  };
  for (const Row& r : roundTrips) {
    CAPTURE(r.escaped.size());
    CHECK(EscapeIniLine(r.plain) == r.escaped);
    CHECK(UnescapeIniLine(r.escaped) == r.plain);
  }
  const Row reads[] = {
      {u"ab=1", u"a\\qb=1"},  // unknown escape: both characters go
      {u"a", u"a\\"},         // lone backslash at the end
      {u"ab", u"a\\Nb"},      // escapes are lower case
      {u"\\", u"\\\\\\"},
  };
  for (const Row& r : reads) {
    CAPTURE(r.escaped.size());
    CHECK(UnescapeIniLine(r.escaped) == r.plain);
  }
  CHECK(EscapeIniLine(std::u16string(u"a\0b", 3)) == u"ab");
}

TEST_CASE("what one line means") {
  struct Row {
    std::u16string line;
    TIniLine::Kind kind;
    std::u16string text;
  };
  const Row rows[] = {
      {u"", TIniLine::Ignored, u""},
      {u" \t ", TIniLine::Ignored, u""},
      {u"; comment=1", TIniLine::Ignored, u""},
      {u"  ;indented comment", TIniLine::Ignored, u""},
      {u"[general]", TIniLine::Section, u"general"},
      {u"  [  two words ]  ", TIniLine::Section, u"two words"},
      {u"[]", TIniLine::Section, u""},
      {u"[a]b]", TIniLine::Section, u"a]b"},
      {u"[", TIniLine::Stored, u"["},
      {u"[open", TIniLine::Stored, u"[open"},
      {u"  left =  25  ", TIniLine::Stored, u"left=25"},
      {u"a=b=c", TIniLine::Stored, u"a=b=c"},
      {u"=value", TIniLine::Stored, u"=value"},
      {u"key=", TIniLine::Stored, u"key="},
      {u"plain words", TIniLine::Stored, u"plain words"},
      {u"v=a\\tb\\nc", TIniLine::Stored, u"v=a\tb\nc"},
      {u"v=\\t", TIniLine::Stored, u"v=\t"},
      {u"a\\qb=1", TIniLine::Stored, u"ab=1"},
      {u"a\\=b", TIniLine::Stored, u"ab"},
      // A dropped escape must not leave what the file cannot hold: the line
      // is kept as it will read back after the next save.
      {u"x=\\q  b", TIniLine::Stored, u"x=b"},
      {u"\\q  a=1", TIniLine::Stored, u"a=1"},
      {u"\\q;not a comment", TIniLine::Ignored, u""},
      {u"\\q[not a section]", TIniLine::Ignored, u""},
      {u"\\q", TIniLine::Ignored, u""},
  };
  for (const Row& r : rows) {
    CAPTURE(r.text.size());
    TIniLine line = ParseIniLine(r.line);
    CHECK(line.kind == r.kind);
    CHECK(line.text == r.text);
  }
}
