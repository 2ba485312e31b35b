// Whether text has the shape the feed repair promises: one root element,
// names and attributes as XML writes them, every prefix declared, no
// character XML forbids, and only the references the repair writes. Shared
// by the repair's tests and its fuzz target.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// "" when it holds, else what is wrong.
inline std::string WellFormedError(std::u16string_view s) {
  auto nameChar = [](char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
           c == u'-' || c == u'.' || c == u':' || c >= 0xB7;
  };
  auto nameAt = [&](std::size_t& i) {
    std::size_t start = i;
    while (i < s.size() && nameChar(s[i])) ++i;
    return s.substr(start, i - start);
  };
  auto prefixOf = [](std::u16string_view name) {
    std::size_t colon = name.find(u':');
    return colon == std::u16string_view::npos ? std::u16string_view() : name.substr(0, colon);
  };
  auto charError = [&](std::size_t& i, bool attribute) -> std::string {
    char16_t c = s[i];
    if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') return "a control character";
    if (c == 0xFFFE || c == 0xFFFF) return "U+FFFE or U+FFFF";
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= s.size() || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF) return "a lone surrogate";
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return "a lone surrogate";
    }
    if (c == u'<') return "a raw <";
    if (attribute && c == u'"') return "a raw quote in a value";
    if (c == u'&') {
      for (std::u16string_view ref : {u"&amp;", u"&lt;", u"&gt;", u"&quot;", u"&#9;", u"&#10;", u"&#13;"})
        if (s.compare(i, ref.size(), ref) == 0) {
          i += ref.size() - 1;
          return "";
        }
      return "a reference the repair does not write";
    }
    return "";
  };
  std::vector<std::u16string_view> open;
  std::vector<std::vector<std::u16string_view>> scopes;
  auto declared = [&](std::u16string_view prefix) {
    if (prefix.empty() || prefix == u"xml" || prefix == u"xmlns") return true;
    for (const auto& scope : scopes)
      for (auto p : scope)
        if (p == prefix) return true;
    return false;
  };
  int roots = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != u'<') {
      if (open.empty() && s[i] != u' ' && s[i] != u'\n' && s[i] != u'\r' && s[i] != u'\t')
        return "text outside the root";
      std::string e = charError(i, false);
      if (!e.empty()) return e;
      continue;
    }
    if (i + 1 < s.size() && s[i + 1] == u'/') {
      i += 2;
      std::u16string_view name = nameAt(i);
      if (open.empty() || name != open.back()) return "an end tag that ends nothing open";
      if (i >= s.size() || s[i] != u'>') return "an end tag without >";
      open.pop_back();
      scopes.pop_back();
      continue;
    }
    ++i;
    std::u16string_view name = nameAt(i);
    if (name.empty() || name.front() == u':' || name.back() == u':') return "a start tag without a name";
    if (open.empty() && roots++ > 0) return "a second root";
    std::vector<std::u16string_view> scope, attributes;
    std::vector<std::u16string_view> used{prefixOf(name)};
    for (;;) {
      if (i >= s.size()) return "the text ends in a tag";
      if (s[i] == u'>' || (s[i] == u'/' && i + 1 < s.size() && s[i + 1] == u'>')) break;
      if (s[i] != u' ') return "attributes not separated by a space";
      ++i;
      std::u16string_view attribute = nameAt(i);
      if (attribute.empty()) return "an attribute without a name";
      for (auto a : attributes)
        if (a == attribute) return "a repeated attribute";
      attributes.push_back(attribute);
      if (prefixOf(attribute) == u"xmlns") scope.push_back(attribute.substr(6));
      used.push_back(prefixOf(attribute));
      if (s.compare(i, 2, u"=\"") != 0) return "an attribute value that is not quoted";
      for (i += 2; i < s.size() && s[i] != u'"'; ++i) {
        std::string e = charError(i, true);
        if (!e.empty()) return e;
      }
      if (i >= s.size()) return "the text ends in a value";
      ++i;
    }
    scopes.push_back(scope);
    for (auto prefix : used)
      if (!declared(prefix)) return "an undeclared prefix";
    if (s[i] == u'/') {
      ++i;
      scopes.pop_back();
    } else {
      open.push_back(name);
    }
  }
  if (!open.empty()) return "elements left open";
  if (roots != 1) return "no root";
  return "";
}
