#include <doctest.h>

#include "html/HtmlTags.h"

using namespace std::literals;

namespace {
std::u16string Wide(const char* s) { return std::u16string(s, s + std::char_traits<char>::length(s)); }
}  // namespace

TEST_CASE("tag look-up by exact lower-case name") {
  struct Row {
    std::u16string_view name;
    std::int32_t number;
  };
  const Row rows[] = {
      {u"a", 1},      {u"var", 92},   {u"p", 65},      {u"li", 53},   {u"pre", 67},
      {u"h1", 35},    {u"h2", 36},    {u"h3", 37},     {u"h4", 38},   {u"h5", 39},
      {u"h6", 40},    {u"body", 13},  {u"html", 43},   {u"tr", 88},   {u"ul", 91},
      {u"xyz", 0},    {u"", 0},       {u"P", 0},       {u"Li", 0},    {u"h7", 0},
      {u"a ", 0},     {u"aa", 0},     {u"zzz", 0},     {u"\u0130", 0}, {u"ul\0"sv, 0},
  };
  const THtmlTagList& list = HtmlTagList();
  for (const Row& r : rows) {
    CAPTURE(r.name.size());
    const THtmlTag& tag = list.GetTag(r.name);
    CHECK(tag.Number == r.number);
    if (r.number == 0) CHECK(tag.Name.empty());
  }
}

TEST_CASE("the 92 tags are numbered 1 to 92 in ascending name order and all found") {
  const THtmlTagList& list = HtmlTagList();
  REQUIRE(list.Tags().size() == 92);
  CHECK(list.Tags().capacity() >= 128);
  for (std::size_t i = 0; i < list.Tags().size(); ++i) {
    const THtmlTag& tag = list.Tags()[i];
    CAPTURE(i);
    CHECK(tag.Number == static_cast<std::int32_t>(i + 1));
    if (i > 0) CHECK(list.Tags()[i - 1].Name < tag.Name);
    CHECK(&list.GetTag(tag.Name) == &tag);
  }
  CHECK(list.Unlisted().Number == 0);
  CHECK(&HtmlTagList() == &list);  // one shared table
  CHECK(list.GetTag(u"ul").Number == TagUl);
  CHECK(list.GetTag(u"option").Number == TagOption);
}

TEST_CASE("property sets of the tag table") {
  const THtmlTagList& list = HtmlTagList();
  auto numbers = [&](std::initializer_list<const char*> names) {
    THtmlTagSet set;
    for (const char* n : names) {
      const std::int32_t number = list.GetTag(Wide(n)).Number;
      CHECK_MESSAGE(number != 0, n);
      set.Include(number);
    }
    return set;
  };
  CHECK(VoidTags == numbers({"area", "base", "basefont", "br", "col", "frame", "hr", "img",
                             "input", "isindex", "link", "meta", "param"}));
  CHECK(RawTextTags == numbers({"noscript", "script", "style"}));
  CHECK(BlockContainerTags ==
        numbers({"address", "blockquote", "center", "div", "dl", "fieldset", "h1", "h2", "h3",
                 "h4", "h5", "h6", "hr", "li", "noscript", "ol", "pre", "td", "th", "ul"}));

  struct GroupRow {
    THtmlPlacementGroup group;
    std::initializer_list<const char*> members;
    std::initializer_list<const char*> parents;
  };
  const GroupRow groups[] = {
      {THtmlPlacementGroup::Block,
       {"address", "blockquote", "center", "div", "dl", "fieldset", "h1", "h2", "h3", "h4",
        "h5", "h6", "hr", "nobr", "noscript", "ol", "p", "pre", "table", "ul"},
       {"address", "blockquote", "center", "div", "dl", "fieldset", "h1", "h2", "h3", "h4",
        "h5", "h6", "hr", "li", "noscript", "ol", "pre", "td", "th", "ul"}},
      {THtmlPlacementGroup::ListItem, {"li"}, {"dir", "menu", "ol", "ul"}},
      {THtmlPlacementGroup::Definition, {"dd", "dt"}, {"dl"}},
      {THtmlPlacementGroup::Cell, {"td", "th"}, {"tr"}},
      {THtmlPlacementGroup::Row, {"tr"}, {"table", "tbody", "tfoot", "thead"}},
      {THtmlPlacementGroup::Column, {"col"}, {"colgroup"}},
      {THtmlPlacementGroup::TablePart, {"colgroup", "tbody", "tfoot", "thead"}, {"table"}},
      {THtmlPlacementGroup::Option, {"option"}, {"optgroup", "select"}},
  };
  THtmlTagSet grouped;
  for (const GroupRow& g : groups) {
    CAPTURE(static_cast<int>(g.group));
    const THtmlTagSet members = numbers(g.members);
    for (std::int32_t n = 1; n <= HtmlTagCount; ++n) {
      if (members.Contains(n)) {
        CHECK(PlacementGroup(n) == g.group);
        grouped.Include(n);
      }
    }
    CHECK(PlacementParents(g.group) == numbers(g.parents));
  }
  for (std::int32_t n = -1; n < 130; ++n)
    if (!grouped.Contains(n)) CHECK(PlacementGroup(n) == THtmlPlacementGroup::None);
  CHECK(PlacementParents(THtmlPlacementGroup::None) == THtmlTagSet{});
}

TEST_CASE("tag sets hold numbers 0 to 127 only") {
  THtmlTagSet set{0, 63, 64, 127, 128, -1};
  CHECK(set.Contains(0));
  CHECK(set.Contains(63));
  CHECK(set.Contains(64));
  CHECK(set.Contains(127));
  CHECK_FALSE(set.Contains(128));
  CHECK_FALSE(set.Contains(-1));
  CHECK_FALSE(set.Contains(1));
}

TEST_CASE("URL schemes") {
  CHECK(IsUrlScheme(u"http"));
  CHECK(IsUrlScheme(u"HTTPS"));
  CHECK(IsUrlScheme(u"mailto"));
  CHECK_FALSE(IsUrlScheme(u"javascript"));
  CHECK_FALSE(IsUrlScheme(u""));
  CHECK_FALSE(IsUrlScheme(u"http:"));
}
