// The HTML tag table: element name to tag number, and the sets of tag numbers
// on which the tree builder and the text formatter decide.
//
// Numbers are the positions of the 92 known names in alphabetical order,
// 1 to 92; every other name is the unlisted tag, number 0. The numbers are
// stable, so sets of them fit in 128 bits.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

enum THtmlTagNumber : std::int32_t {
  TagUnlisted = 0,
  TagA, TagAbbr, TagAcronym, TagAddress, TagApplet, TagArea, TagB, TagBase,
  TagBasefont, TagBdo, TagBig, TagBlockquote, TagBody, TagBr, TagButton,
  TagCaption, TagCenter, TagCite, TagCode, TagCol, TagColgroup, TagDd, TagDel,
  TagDfn, TagDir, TagDiv, TagDl, TagDt, TagEm, TagFieldset, TagFont, TagForm,
  TagFrame, TagFrameset, TagH1, TagH2, TagH3, TagH4, TagH5, TagH6, TagHead,
  TagHr, TagHtml, TagI, TagIframe, TagImg, TagInput, TagIns, TagIsindex,
  TagKbd, TagLabel, TagLegend, TagLi, TagLink, TagMap, TagMenu, TagMeta,
  TagNobr, TagNoframes, TagNoscript, TagObject, TagOl, TagOptgroup, TagOption,
  TagP, TagParam, TagPre, TagQ, TagS, TagSamp, TagScript, TagSelect, TagSmall,
  TagSpan, TagStrike, TagStrong, TagStyle, TagSub, TagSup, TagTable, TagTbody,
  TagTd, TagTextarea, TagTfoot, TagTh, TagThead, TagTitle, TagTr, TagTt, TagU,
  TagUl, TagVar,
};

constexpr std::int32_t HtmlTagCount = 92;

// A set of tag numbers (0 to 127).
class THtmlTagSet {
 public:
  constexpr THtmlTagSet() = default;
  constexpr THtmlTagSet(std::initializer_list<std::int32_t> numbers) {
    for (std::int32_t n : numbers) Include(n);
  }
  constexpr void Include(std::int32_t n) {
    if (n >= 0 && n < 128) bits_[n / 64] |= std::uint64_t{1} << (n % 64);
  }
  constexpr bool Contains(std::int32_t n) const {
    return n >= 0 && n < 128 && (bits_[n / 64] >> (n % 64) & 1) != 0;
  }
  constexpr void Exclude(std::int32_t n) {
    if (n >= 0 && n < 128) bits_[n / 64] &= ~(std::uint64_t{1} << (n % 64));
  }
  constexpr THtmlTagSet operator&(const THtmlTagSet& o) const {
    THtmlTagSet both;
    both.bits_[0] = bits_[0] & o.bits_[0];
    both.bits_[1] = bits_[1] & o.bits_[1];
    return both;
  }
  // Calls visit(n) for every number in the set, in ascending order.
  template <class Visit>
  void ForEach(Visit visit) const {
    for (int word = 0; word < 2; ++word) {
      for (std::uint64_t bits = bits_[word]; bits != 0; bits &= bits - 1) {
        int bit = 0;
        while (!(bits >> bit & 1)) ++bit;
        visit(static_cast<std::int32_t>(word * 64 + bit));
      }
    }
  }
  constexpr bool operator==(const THtmlTagSet& o) const {
    return bits_[0] == o.bits_[0] && bits_[1] == o.bits_[1];
  }

 private:
  std::uint64_t bits_[2] = {0, 0};
};

struct THtmlTag {
  std::u16string Name;  // lower case; empty for the unlisted tag
  std::int32_t Number = TagUnlisted;
};

class THtmlTagList {
 public:
  // Builds the 92 known tags in ascending order of name plus the unlisted tag.
  THtmlTagList();
  THtmlTagList(const THtmlTagList&) = delete;
  THtmlTagList& operator=(const THtmlTagList&) = delete;

  // The tag whose name equals name exactly (case-sensitive: names arrive
  // lower-cased from the reader); the unlisted tag for any other name,
  // including the empty one. Never fails.
  const THtmlTag& GetTag(std::u16string_view name) const;

  // The known tags in ascending order of name (and number).
  const std::vector<THtmlTag>& Tags() const { return tags_; }
  const THtmlTag& Unlisted() const { return unlisted_; }

 private:
  static std::size_t Hash(std::u16string_view name);

  std::vector<THtmlTag> tags_;
  THtmlTag unlisted_;
  // Open addressing over the names, probed linearly: 1 + index into tags_,
  // 0 for an empty slot. Every start and end tag is looked up, so this
  // replaces a binary search of string compares with one hash and,
  // mostly, one compare.
  static constexpr std::size_t SlotCount = 256;
  std::uint8_t slots_[SlotCount] = {};
  std::size_t longest_ = 0;
};

// The one tag list of the program, built on first use and shared read-only by
// every conversion.
const THtmlTagList& HtmlTagList();

// Where a start tag first looks for its parent (tree builder): it walks up
// from the current node to the nearest element whose tag is in the group's
// set of searched ancestors.
enum class THtmlPlacementGroup : std::uint8_t {
  None,
  Block,       // nearest block container
  ListItem,    // "dir", "menu", "ol", "ul"
  Definition,  // "dl"
  Cell,        // "tr"
  Row,         // "table", "tbody", "tfoot", "thead"
  Column,      // "colgroup"
  TablePart,   // "table"
  Option,      // "optgroup", "select"
};

// Elements that never have content: closed as soon as their start tag ends.
inline constexpr THtmlTagSet VoidTags{
    TagArea, TagBase, TagBasefont, TagBr, TagCol, TagFrame, TagHr,
    TagImg, TagInput, TagIsindex, TagLink, TagMeta, TagParam};

// Elements whose content is raw text, not markup: up to their end tag,
// everything in them is text (see HtmlRawText.h), and none of it is shown.
inline constexpr THtmlTagSet RawTextTags{TagNoscript, TagScript, TagStyle};

// Where the block group's search for a parent stops.
inline constexpr THtmlTagSet BlockContainerTags{
    TagAddress, TagBlockquote, TagCenter, TagDiv, TagDl, TagFieldset,
    TagH1, TagH2, TagH3, TagH4, TagH5, TagH6, TagHr, TagLi, TagNoscript,
    TagOl, TagPre, TagTd, TagTh, TagUl};

// The placement group of a tag number (None for numbers without one,
// including 0 and numbers out of range).
constexpr THtmlPlacementGroup PlacementGroup(std::int32_t number) {
  switch (number) {
    case TagAddress: case TagBlockquote: case TagCenter: case TagDiv:
    case TagDl: case TagFieldset: case TagH1: case TagH2: case TagH3:
    case TagH4: case TagH5: case TagH6: case TagHr: case TagNobr:
    case TagNoscript: case TagOl: case TagP: case TagPre: case TagTable:
    case TagUl:
      return THtmlPlacementGroup::Block;
    case TagLi: return THtmlPlacementGroup::ListItem;
    case TagDd: case TagDt: return THtmlPlacementGroup::Definition;
    case TagTd: case TagTh: return THtmlPlacementGroup::Cell;
    case TagTr: return THtmlPlacementGroup::Row;
    case TagCol: return THtmlPlacementGroup::Column;
    case TagColgroup: case TagTbody: case TagTfoot: case TagThead:
      return THtmlPlacementGroup::TablePart;
    case TagOption: return THtmlPlacementGroup::Option;
    default: return THtmlPlacementGroup::None;
  }
}

// The searched ancestors of a group; empty for None.
constexpr THtmlTagSet PlacementParents(THtmlPlacementGroup group) {
  switch (group) {
    case THtmlPlacementGroup::Block: return BlockContainerTags;
    case THtmlPlacementGroup::ListItem: return {TagDir, TagMenu, TagOl, TagUl};
    case THtmlPlacementGroup::Definition: return {TagDl};
    case THtmlPlacementGroup::Cell: return {TagTr};
    case THtmlPlacementGroup::Row: return {TagTable, TagTbody, TagTfoot, TagThead};
    case THtmlPlacementGroup::Column: return {TagColgroup};
    case THtmlPlacementGroup::TablePart: return {TagTable};
    case THtmlPlacementGroup::Option: return {TagOptgroup, TagSelect};
    default: return {};
  }
}

// URL schemes that a link target may begin with ("http", "mailto", ...),
// lower case and sorted. IsUrlScheme compares ASCII case-insensitively.
const std::vector<std::u16string>& UrlSchemes();
bool IsUrlScheme(std::u16string_view scheme);
