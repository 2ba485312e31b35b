#include <doctest.h>

#include "settings/WHashedStringList.h"
#include "settings/WStringHash.h"
#include "settings/WideCase.h"

TEST_CASE("hash rotates left by 2 and XORs each code unit; bucket is hash mod 256") {
  struct Row {
    std::u16string key;
    std::uint32_t hash;
    unsigned bucket;
  };
  const Row rows[] = {
      {u"", 0x0, 0},
      {u"A", 0x41, 65},
      {u"LEFT", 0x161C, 28},
      {u"GENERAL", 0x53F28, 40},
      {u"OPTIONS", 0x5F3DB, 219},
      {u"ALWAYSTOP", 0x563DEC, 236},
      {u"STARTUP", 0x431C4, 196},
      {u"\u015E\u00DC", 0x5A4, 164},               // ŞÜ
      {u"abcdefghijklmnopq", 0x5B24F1BF, 191},   // long enough to wrap around
  };
  for (const Row& r : rows) {
    CAPTURE(r.hash);
    CHECK(TWStringHash::HashOf(r.key) == r.hash);
    CHECK(TWStringHash::BucketOf(r.key) == r.bucket);
  }
}

TEST_CASE("hash table: exact keys, a later pair hides an earlier one, a miss is -1") {
  TWStringHash hash;
  hash.Add(u"top", 1);
  hash.Add(u"left", 2);
  hash.Add(u"top", 7);
  // Same bucket as "A" (65), different key.
  hash.Add(std::u16string(1, char16_t(65 + 256)), 9);
  CHECK(hash.ValueOf(u"top") == 7);
  CHECK(hash.ValueOf(u"left") == 2);
  CHECK(hash.ValueOf(u"TOP") == -1);
  CHECK(hash.ValueOf(u"A") == -1);
  CHECK(hash.ValueOf(std::u16string(1, char16_t(65 + 256))) == 9);
  hash.Clear();
  CHECK(hash.ValueOf(u"top") == -1);
}

TEST_CASE("hashed list: highest index wins, letter case ignored") {
  TWHashedStringList list;
  list.Add(u"options");
  list.Add(u"top=1");
  list.Add(u"Options");
  list.Add(u"TOP=2");
  list.Add(u"plain");
  CHECK(list.IndexOf(u"OPTIONS") == 2);
  CHECK(list.IndexOfName(u"top") == 3);
  CHECK(list.IndexOfName(u"plain") == -1);
  CHECK(list.IndexOf(u"missing") == -1);
  list.Delete(2);
  CHECK(list.IndexOf(u"options") == 0);
  CHECK(list.IndexOfName(u"Top") == 2);
}

TEST_CASE("a burst of look-ups builds each table once; a change makes both stale") {
  TWHashedStringList list;
  for (int i = 0; i < 50; ++i) list.Add(u"key" + std::u16string(1, char16_t(u'A' + i)) + u"=v");
  for (int i = 0; i < 100; ++i) {
    list.IndexOfName(u"keyB");
    list.IndexOf(u"keyB=v");
  }
  CHECK(list.NameHashBuilds() == 1);
  CHECK(list.ValueHashBuilds() == 1);

  list.Put(0, u"other=1");
  for (int i = 0; i < 100; ++i) CHECK(list.IndexOfName(u"OTHER") == 0);
  CHECK(list.NameHashBuilds() == 2);
  CHECK(list.ValueHashBuilds() == 1);  // not looked at since: not rebuilt
  CHECK(list.IndexOf(u"other=1") == 0);
  CHECK(list.ValueHashBuilds() == 2);
}

TEST_CASE("upper case folds one code unit to one, as Windows does") {
  struct Row {
    char16_t in, out;
  };
  const Row rows[] = {
      {u'a', u'A'},        {u'z', u'Z'},        {u'1', u'1'},        {u'[', u'['},
      {0x00E7, 0x00C7},    {0x00F6, 0x00D6},    {0x00F7, 0x00F7},    {0x00FF, 0x0178},
      {0x011F, 0x011E},    {0x015F, 0x015E},    {0x0131, 0x0131},    {0x0130, 0x0130},
      {0x013A, 0x0139},    {0x017E, 0x017D},    {0x03C2, 0x03C2},    {0x03B1, 0x0391},
      {0x0430, 0x0410},    {0x0451, 0x0401},    {0x4E00, 0x4E00},    {0xD800, 0xD800},
      {0x00B5, 0x00B5},    {0x017F, 0x017F},    {0x0180, 0x0243},    {0xFF41, 0xFF21},
      {0xFF5A, 0xFF3A},    {0xFF5B, 0xFF5B},    {0x10D0, 0x1C90},    {0xFFFF, 0xFFFF},
  };
  for (const Row& r : rows) {
    CAPTURE(int(r.in));
    CHECK(WideUpperChar(r.in) == r.out);
  }
  CHECK(WideUpperCase(u"i\u0131\u015Fe") == u"I\u0131\u015EE");  // dotless i keeps its form
}
