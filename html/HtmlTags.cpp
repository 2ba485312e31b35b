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
}

const THtmlTag& THtmlTagList::GetTag(std::u16string_view name) const {
  // Ordinal comparison of UTF-16 units, the order the names are stored in.
  auto it = std::lower_bound(tags_.begin(), tags_.end(), name,
                             [](const THtmlTag& tag, std::u16string_view n) {
                               return std::u16string_view(tag.Name) < n;
                             });
  if (it != tags_.end() && it->Name == name) return *it;
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
