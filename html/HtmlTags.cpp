#include "html/HtmlTags.h"

#include <algorithm>

namespace {

// In number order, which is also ascending name order.
const char* const TagNames[HtmlTagCount] = {
    "a", "abbr", "acronym", "address", "applet", "area", "b", "base",
    "basefont", "bdo", "big", "blockquote", "body", "br", "button",
    "caption", "center", "cite", "code", "col", "colgroup", "dd", "del",
    "dfn", "dir", "div", "dl", "dt", "em", "fieldset", "font", "form",
    "frame", "frameset", "h1", "h2", "h3", "h4", "h5", "h6", "head",
    "hr", "html", "i", "iframe", "img", "input", "ins", "isindex",
    "kbd", "label", "legend", "li", "link", "map", "menu", "meta",
    "nobr", "noframes", "noscript", "object", "ol", "optgroup", "option",
    "p", "param", "pre", "q", "s", "samp", "script", "select", "small",
    "span", "strike", "strong", "style", "sub", "sup", "table", "tbody",
    "td", "textarea", "tfoot", "th", "thead", "title", "tr", "tt", "u",
    "ul", "var",
};

std::u16string Widen(const char* ascii) {
  std::u16string s;
  while (*ascii) s.push_back(static_cast<char16_t>(*ascii++));
  return s;
}

}  // namespace

THtmlTagList::THtmlTagList() {
  tags_.reserve(128);
  for (std::int32_t i = 0; i < HtmlTagCount; ++i)
    tags_.push_back(THtmlTag{Widen(TagNames[i]), i + 1});
  static_assert(HtmlTagCount < SlotCount / 2, "the table stays at most half full");
  for (std::size_t i = 0; i < tags_.size(); ++i) {
    std::size_t slot = Hash(tags_[i].Name);
    while (slots_[slot] != 0) slot = (slot + 1) % SlotCount;
    slots_[slot] = static_cast<std::uint8_t>(i + 1);
    longest_ = std::max(longest_, tags_[i].Name.size());
  }
}

std::size_t THtmlTagList::Hash(std::u16string_view name) {
  std::uint32_t h = 2166136261u;  // FNV-1a
  for (char16_t c : name) h = (h ^ c) * 16777619u;
  return (h ^ (h >> 16)) % SlotCount;
}

const THtmlTag& THtmlTagList::GetTag(std::u16string_view name) const {
  if (name.empty() || name.size() > longest_) return unlisted_;
  for (std::size_t slot = Hash(name); slots_[slot] != 0; slot = (slot + 1) % SlotCount) {
    const THtmlTag& tag = tags_[slots_[slot] - 1u];
    if (tag.Name == name) return tag;
  }
  return unlisted_;
}

const THtmlTagList& HtmlTagList() {
  static const THtmlTagList list;
  return list;
}

const std::vector<std::u16string>& UrlSchemes() {
  static const std::vector<std::u16string> schemes = [] {
    std::vector<std::u16string> v;
    for (const char* s : {"file", "ftp", "gopher", "http", "https", "mailto", "news",
                          "nntp", "prospero", "telnet", "wais"})
      v.push_back(Widen(s));
    return v;
  }();
  return schemes;
}

bool IsUrlScheme(std::u16string_view scheme) {
  std::u16string lower(scheme);
  for (char16_t& c : lower)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  const auto& schemes = UrlSchemes();
  return std::binary_search(schemes.begin(), schemes.end(), lower);
}
