#include <doctest.h>

#include "settings/WIniFiles.h"

namespace {

const std::u16string Name = u"C:\\data\\options.ini";

// The bytes of a file holding these lines, each ended by CR LF.
std::string FileOf(std::u16string_view text, bool mark = true) {
  std::string bytes = EncodeUtf16Le(text);
  return mark ? bytes : bytes.substr(2);
}

struct Fixture {
  TWMemoryFileAccess files;
  TWMemIniFile Load(std::u16string_view text) {
    files.Files[Name] = FileOf(text);
    return TWMemIniFile(Name, files);
  }
};

}  // namespace

TEST_CASE("an integer and a bool written into an empty store give the six-line file exactly") {
  TWMemoryFileAccess files;
  TWMemIniFile ini(Name, files);
  ini.WriteInteger(u"general", u"left", 10);
  ini.WriteBool(u"options", u"alwaystop", true);
  REQUIRE(ini.UpdateFile());
  // [general] left=10 (empty) [options] alwaystop=1 (empty), UTF-16 LE, CR LF.
  const std::string expected(
      "\xFF\xFE"
      "[\0g\0e\0n\0e\0r\0a\0l\0]\0\r\0\n\0"
      "l\0e\0f\0t\0=\0" "1\0" "0\0\r\0\n\0"
      "\r\0\n\0"
      "[\0o\0p\0t\0i\0o\0n\0s\0]\0\r\0\n\0"
      "a\0l\0w\0a\0y\0s\0t\0o\0p\0=\0" "1\0\r\0\n\0"
      "\r\0\n\0",
      2 + 2 * (11 + 9 + 2 + 11 + 13 + 2));
  CHECK(files.Files[Name] == expected);
}

TEST_CASE_FIXTURE(Fixture, "reading: trimming, letter case, comments, lines before any section") {
  TWMemIniFile ini = Load(
      u"left=1\r\n"                // before any section: ignored
      u"[ General ]\r\n"
      u"   left  =  25   \r\n"
      u"; top=7\r\n"
      u"top\r\n"                   // no "=": kept, but not a key
      u"\r\n");
  CHECK(ini.ReadInteger(u"general", u"LEFT", 0) == 25);
  CHECK(ini.ReadInteger(u"GENERAL", u"left", 0) == 25);
  CHECK(ini.ReadInteger(u"general", u"top", -1) == -1);
  CHECK(ini.ReadString(u"general", u"missing", u"dflt") == u"dflt");
  CHECK(ini.ReadString(u"nosection", u"left", u"dflt") == u"dflt");
  REQUIRE(ini.Sections().Count() == 1);
  CHECK(ini.Sections().Get(0) == u"General");
}

TEST_CASE_FIXTURE(Fixture, "values with TAB and line breaks are stored escaped and read back whole") {
  TWMemIniFile ini = Load(u"");
  const std::u16string value = u"one\ttwo\r\nthree\\four\n";
  ini.WriteString(u"s", u"k", value);
  REQUIRE(ini.UpdateFile());
  CHECK(files.Files[Name] == FileOf(u"[s]\r\nk=one\\ttwo\\r\\nthree\\\\four\\n\r\n\r\n"));
  TWMemIniFile again(Name, files);
  CHECK(again.ReadString(u"s", u"k", u"") == value);
}

TEST_CASE_FIXTURE(Fixture, "integers: 0x and 0X are hexadecimal, anything malformed gives the default") {
  TWMemIniFile ini = Load(u"[n]\r\n");
  struct Row {
    std::u16string text;
    std::int32_t value;
  };
  const Row rows[] = {
      {u"0x1F", 31},        {u"0X1F", 31},         {u"$1f", 31},          {u"-12", -12},
      {u"+7", 7},           {u"007", 7},           {u"2147483647", 2147483647},
      {u"-2147483648", INT32_MIN},                 {u"0xFFFFFFFF", -1},   {u"-$10", -16},
      {u"", -99},           {u"0x", -99},          {u"2147483648", -99},  {u"0x100000000", -99},
      {u"12a", -99},        {u"1.5", -99},         {u"1,000", -99},       {u"yes", -99},
      {u"-", -99},          {u"$", -99},           {u"-0x10", -99},       {u"\uFF11", -99},
  };
  for (const Row& r : rows) {
    CAPTURE(r.value);
    ini.WriteString(u"n", u"v", r.text);
    CHECK(ini.ReadInteger(u"n", u"v", -99) == r.value);
  }
  ini.WriteInteger(u"n", u"v", INT32_MIN);
  CHECK(ini.ReadString(u"n", u"v", u"") == u"-2147483648");
}

TEST_CASE_FIXTURE(Fixture, "booleans: any integer but 0 is true, words give the default") {
  TWMemIniFile ini = Load(u"[b]\r\n");
  struct Row {
    std::u16string text;
    bool whenTrue, whenFalse;  // result for default true, default false
  };
  const Row rows[] = {
      {u"1", true, true},   {u"2", true, true},     {u"-1", true, true},    {u"0", false, false},
      {u"0x0", false, false}, {u"yes", true, false}, {u"true", true, false}, {u"", true, false},
  };
  for (const Row& r : rows) {
    ini.WriteString(u"b", u"v", r.text);
    CHECK(ini.ReadBool(u"b", u"v", true) == r.whenTrue);
    CHECK(ini.ReadBool(u"b", u"v", false) == r.whenFalse);
  }
  ini.WriteBool(u"b", u"v", false);
  CHECK(ini.ReadString(u"b", u"v", u"") == u"0");
}

TEST_CASE_FIXTURE(Fixture, "duplicate sections and keys: the later one is read and written, both are kept") {
  TWMemIniFile ini = Load(
      u"[options]\r\ntop=1\r\n\r\n"
      u"[Options]\r\ntop=2\r\nTOP=3\r\n");
  CHECK(ini.ReadInteger(u"options", u"top", 0) == 3);
  ini.WriteInteger(u"options", u"top", 9);
  ini.WriteInteger(u"options", u"left", 4);
  CHECK(ini.ReadInteger(u"OPTIONS", u"Top", 0) == 9);
  REQUIRE(ini.UpdateFile());
  CHECK(files.Files[Name] == FileOf(
      u"[options]\r\ntop=1\r\n\r\n"
      u"[Options]\r\ntop=2\r\ntop=9\r\nleft=4\r\n\r\n"));
}

TEST_CASE_FIXTURE(Fixture, "an unknown escape drops the backslash and its letter") {
  TWMemIniFile ini = Load(u"[s]\r\na\\qb=1\r\n");
  CHECK(ini.ReadInteger(u"s", u"ab", 0) == 1);
}

TEST_CASE("odd trailing byte, no byte-order mark, empty and missing files") {
  TWMemoryFileAccess files;
  std::string odd = FileOf(u"[s]\r\nk=v\r\n") + "\x41";
  files.Files[u"odd"] = odd;
  files.Files[u"nomark"] = FileOf(u"[s]\r\nk=v", false);
  files.Files[u"empty"] = "";
  files.Files[u"markonly"] = "\xFF\xFE";

  TWMemIniFile oddIni(u"odd", files);
  CHECK(oddIni.ReadString(u"s", u"k", u"") == u"v");
  TWMemIniFile noMark(u"nomark", files);
  CHECK(noMark.ReadString(u"s", u"k", u"") == u"v");
  for (const char16_t* name : {u"empty", u"markonly", u"missing", u""}) {
    TWMemIniFile ini(name, files);
    CHECK(ini.Sections().Count() == 0);
    CHECK(ini.ReadInteger(u"s", u"k", 5) == 5);
  }
  CHECK(TWMemIniFile(u"empty", files).LoadResult() == TWLoadResult::Loaded);
  CHECK(TWMemIniFile(u"missing", files).LoadResult() == TWLoadResult::Missing);
  CHECK(TWMemIniFile(u"", files).LoadResult() == TWLoadResult::Missing);
}

TEST_CASE("a file that cannot be read gives an empty store, not an error") {
  TWMemoryFileAccess files;
  files.Files[Name] = FileOf(u"[general]\r\nleft=3\r\n");
  files.Unreadable[Name] = true;
  TWMemIniFile ini(Name, files);
  CHECK(ini.LoadResult() == TWLoadResult::Unreadable);
  CHECK(ini.ReadInteger(u"general", u"left", 77) == 77);
  // Too big to be ours counts the same.
  files.Unreadable[Name] = false;
  files.Files[Name] = FileOf(u"[general]\r\nleft=3\r\n") + std::string(TWMemIniFile::MaxFileBytes, ' ');
  CHECK(TWMemIniFile(Name, files).LoadResult() == TWLoadResult::Unreadable);
}

TEST_CASE("an 8-bit or UTF-8 file matches nothing and is only replaced by a whole save") {
  TWMemoryFileAccess files;
  const std::string utf8 = "[general]\r\nleft=10\r\n[options]\r\nstartup=0\r\n";
  files.Files[Name] = utf8;
  TWMemIniFile ini(Name, files);
  CHECK(ini.LoadResult() == TWLoadResult::Loaded);
  CHECK(ini.ReadInteger(u"general", u"left", -5) == -5);
  CHECK(ini.ReadBool(u"options", u"startup", true));
  CHECK(files.Files[Name] == utf8);  // loading wrote nothing
  ini.WriteInteger(u"general", u"left", 1);
  REQUIRE(ini.UpdateFile());
  CHECK(files.Files[Name] == FileOf(u"[general]\r\nleft=1\r\n\r\n"));
}

TEST_CASE("a save that fails reports it and leaves the old file") {
  TWMemoryFileAccess files;
  files.Files[Name] = FileOf(u"[general]\r\nleft=3\r\n\r\n");
  files.ReadOnly[Name] = true;
  TWMemIniFile ini(Name, files);
  ini.WriteInteger(u"general", u"left", 4);
  CHECK_FALSE(ini.UpdateFile());
  CHECK(files.Files[Name] == FileOf(u"[general]\r\nleft=3\r\n\r\n"));
  CHECK(ini.ReadInteger(u"general", u"left", 0) == 4);  // memory keeps the change
  CHECK_FALSE(TWMemIniFile(u"", files).UpdateFile());   // no name, nowhere to write
}

TEST_CASE("what a load keeps, a save and reload give back byte for byte") {
  // Lines chosen to hit every rule at once; the first save may normalise,
  // after that the bytes no longer change.
  const std::u16string messy =
      u"junk before\r\n[ a ]\r\n x = 1 \r\n;c\r\nplain\r\n\\q  y=2\r\nz=\\q\\t\r\n"
      u"[a]\r\nx=\\\\\r\n\\q;gone\r\n[\u015Eehir]\r\nk=\u00E7\rtail\\";
  TWMemoryFileAccess files;
  files.Files[u"f"] = FileOf(messy);
  TWMemIniFile first(u"f", files);
  std::string once = first.SaveToBytes();
  first.LoadValues(once);
  CHECK(first.SaveToBytes() == once);
  CHECK(once == FileOf(
      u"[a]\r\nx=1\r\nplain\r\ny=2\r\nz=\\t\r\n\r\n"
      u"[a]\r\nx=\\\\\r\n\r\n"
      u"[\u015Eehir]\r\nk=\u00E7\r\ntail\r\n\r\n"));
}

TEST_CASE("a section name that could break the file is written without line breaks") {
  TWMemoryFileAccess files;
  TWMemIniFile ini(u"f", files);
  ini.WriteString(u"bad\r\n[general", u"k", std::u16string(u"v\0w", 3));
  REQUIRE(ini.UpdateFile());
  CHECK(files.Files[u"f"] == FileOf(u"[bad[general]\r\nk=vw\r\n\r\n"));
}
