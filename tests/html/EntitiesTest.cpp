#include <doctest.h>

#include <cstring>
#include <set>
#include <string>

#include "html/Entities.h"

using namespace std::literals;

TEST_CASE("entity codes of telling names, case-sensitive") {
  struct Row {
    std::string_view name;
    std::uint16_t code;
  };
  const Row rows[] = {
      {"amp", 38},     {"nbsp", 160},   {"euro", 8364},  {"apos", 39},    {"quot", 34},
      {"lt", 60},      {"gt", 62},      {"copy", 169},   {"reg", 174},    {"laquo", 171},
      {"raquo", 187},  {"deg", 176},    {"shy", 173},    {"Ccedil", 199}, {"ccedil", 231},
      {"Ouml", 214},   {"ouml", 246},   {"Uuml", 220},   {"uuml", 252},   {"ndash", 8211},
      {"mdash", 8212}, {"lsquo", 8216}, {"rsquo", 8217}, {"ldquo", 8220}, {"rdquo", 8221},
      {"bull", 8226},  {"hellip", 8230}, {"trade", 8482}, {"fnof", 402},  {"diams", 9830},
      {"Eacute", 201}, {"eacute", 233}, {"AElig", 198},  {"zwnj", 8204},  {"thetasym", 977},
      {"yuml", 255},   {"Yuml", 376},   {"sigmaf", 962}, {"Prime", 8243}, {"prime", 8242},
      // not in the table: a space
      {"AMP", 32},     {"", 32},        {"x", 32},       {"#169", 32},    {"Amp", 32},
      {"amp;", 32},    {"ampx", 32},    {"am", 32},      {"amp\0"sv, 32}, {"zzzz", 32},
      {"AAAA", 32},    {"thetasymx", 32}, {"\xC3\xA9", 32},
  };
  for (const Row& r : rows) {
    CAPTURE(std::string(r.name));
    CHECK(EntityCode(r.name) == r.code);
  }
}

TEST_CASE("the stored table: 253 distinct entities in HTML 4.01 order") {
  CHECK(std::strcmp(EntityTable[0].Name, "nbsp") == 0);
  CHECK(std::strcmp(EntityTable[95].Name, "yuml") == 0);
  CHECK(std::strcmp(EntityTable[96].Name, "fnof") == 0);
  CHECK(std::strcmp(EntityTable[219].Name, "diams") == 0);
  CHECK(std::strcmp(EntityTable[220].Name, "quot") == 0);
  CHECK(std::strcmp(EntityTable[222].Name, "apos") == 0);
  CHECK(std::strcmp(EntityTable[252].Name, "euro") == 0);
  // Latin-1 runs through 160 to 255 without a gap.
  for (std::uint16_t i = 0; i < 96; ++i) CHECK(EntityTable[i].Code == 160 + i);

  std::set<std::string> names;
  for (const TEntity& e : EntityTable) {
    CAPTURE(e.Name);
    CHECK(names.insert(e.Name).second);
    CHECK(e.Code <= 9830);
    // Every entry is found by name, with its own code.
    CHECK(EntityCode(std::string_view(e.Name)) == e.Code);
  }
  CHECK(names.size() == 253);
}

TEST_CASE("the look-up list is sorted in ordinal byte order, capitals first") {
  const TEntList& list = EntityList();
  REQUIRE(list.Count() == 253);
  CHECK(std::strcmp(list[0].Name, "AElig") == 0);
  CHECK(std::strcmp(list[58].Name, "Zeta") == 0);
  CHECK(std::strcmp(list[59].Name, "aacute") == 0);
  CHECK(std::strcmp(list[252].Name, "zwnj") == 0);
  for (std::size_t i = 1; i < list.Count(); ++i) CHECK(std::strcmp(list[i - 1].Name, list[i].Name) < 0);
}

TEST_CASE("wide names: found only when they are exactly an ASCII entity name") {
  struct Row {
    std::u16string_view name;
    std::uint16_t code;
  };
  const Row rows[] = {
      {u"amp", 38},        {u"thetasym", 977}, {u"Ouml", 214},
      {u"", 32},           {u"AMP", 32},       {u"thetasymx", 32},
      // Full-width letters would fold to "amp" in a best-fit code page
      // conversion; they are not the entity.
      {u"\uFF41\uFF4D\uFF50", 32},
      {u"\u0101mp", 32},   {u"am\u0170", 32},  {u"amp\0"sv, 32},
      {u"ap\u006Fs", 39},
  };
  for (const Row& r : rows) {
    CAPTURE(r.name.size());
    CHECK(EntityCode(r.name) == r.code);
  }
}
