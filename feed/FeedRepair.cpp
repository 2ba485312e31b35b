#include "feed/FeedRepair.h"

#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "html/Entities.h"

namespace {

using TView = std::u16string_view;
constexpr std::size_t npos = TView::npos;

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }
bool IsAsciiAlpha(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsAsciiAlnum(char16_t c) { return IsAsciiAlpha(c) || IsAsciiDigit(c); }

// XML 1.0 (fifth edition) name characters within the basic plane; a name
// with a character past it is taken for no name at all.
bool IsNameStart(char16_t c) {
  if (c < 0x80) return IsAsciiAlpha(c) || c == u'_';
  return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
         (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || c == 0x200C || c == 0x200D ||
         (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
         (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD);
}
bool IsNameChar(char16_t c) {
  return IsNameStart(c) || IsAsciiDigit(c) || c == u'-' || c == u'.' || c == 0xB7 || (c >= 0x300 && c <= 0x36F) ||
         c == 0x203F || c == 0x2040;
}

bool IsNcName(TView s) {
  if (s.empty() || !IsNameStart(s[0])) return false;
  for (char16_t c : s)
    if (!IsNameChar(c)) return false;
  return true;
}

// A name XML namespaces allow: an NCName, or two joined by one colon.
bool IsQName(TView s) {
  std::size_t colon = s.find(u':');
  if (colon == npos) return IsNcName(s);
  return IsNcName(s.substr(0, colon)) && IsNcName(s.substr(colon + 1));
}

TView PrefixOf(TView name) {
  std::size_t colon = name.find(u':');
  return colon == npos ? TView() : name.substr(0, colon);
}
TView LocalOf(TView name) {
  std::size_t colon = name.find(u':');
  return colon == npos ? name : name.substr(colon + 1);
}

bool EqualsNoCase(TView a, TView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
    if (x != y) return false;
  }
  return true;
}

bool IsOneOf(TView s, std::initializer_list<TView> words) {
  for (TView w : words)
    if (s == w) return true;
  return false;
}

// The roots the reader knows; a document with another root (an HTML page)
// keeps its first element and is then no feed.
bool IsFeedRoot(TView local) { return IsOneOf(local, {u"rss", u"feed", u"RDF"}); }

bool IsItem(TView local) { return local == u"item" || local == u"entry"; }

// Elements that carry an item's texts as HTML or plain text. Their content
// is taken whole, raw tags and all, as the text of the field.
bool IsTextFieldName(TView local) {
  return IsOneOf(local, {u"title", u"description", u"summary", u"content", u"subtitle", u"tagline"});
}

// Where an unclosed field ends: at the start of the next field of an item,
// of the next item, or of any prefixed extension element (HTML has none).
bool EndsUnclosedField(TView name) {
  if (name.find(u':') != npos) return true;
  return IsOneOf(name, {u"item", u"entry", u"title", u"link", u"guid", u"pubDate", u"description", u"summary",
                        u"content", u"id", u"updated", u"published", u"author", u"category", u"enclosure",
                        u"comments", u"source", u"channel", u"feed"});
}

// Elements XHTML content may leave unclosed, as HTML writes them.
bool IsVoidElement(TView local) {
  return IsOneOf(local, {u"br", u"img", u"hr", u"input", u"meta", u"link", u"area", u"base", u"col", u"embed",
                         u"param", u"source", u"track", u"wbr"});
}

// The namespaces feeds use under their customary prefixes. A prefix used
// without a declaration stands for its usual namespace; one nobody knows
// gets a namespace of its own, so that it never stands in for the feed's
// own elements.
TView UsualNamespace(TView prefix) {
  static const std::pair<TView, TView> Known[] = {
      {u"atom", u"http://www.w3.org/2005/Atom"},
      {u"content", u"http://purl.org/rss/1.0/modules/content/"},
      {u"dc", u"http://purl.org/dc/elements/1.1/"},
      {u"dcterms", u"http://purl.org/dc/terms/"},
      {u"feedburner", u"http://rssnamespace.org/feedburner/ext/1.0"},
      {u"geo", u"http://www.w3.org/2003/01/geo/wgs84_pos#"},
      {u"georss", u"http://www.georss.org/georss"},
      {u"itunes", u"http://www.itunes.com/dtds/podcast-1.0.dtd"},
      {u"media", u"http://search.yahoo.com/mrss/"},
      {u"rdf", u"http://www.w3.org/1999/02/22-rdf-syntax-ns#"},
      {u"slash", u"http://purl.org/rss/1.0/modules/slash/"},
      {u"sy", u"http://purl.org/rss/1.0/modules/syndication/"},
      {u"wfw", u"http://wellformedweb.org/CommentAPI/"},
      {u"xhtml", u"http://www.w3.org/1999/xhtml"},
  };
  for (const auto& [p, uri] : Known)
    if (p == prefix) return uri;
  return {};
}

// The character of an HTML entity that may be written without its ";"
// (those of Latin-1 and the four of markup), or 0.
char16_t LegacyEntity(TView name) {
  if (name == u"apos") return 0;
  std::uint16_t code = EntityCode(name);
  return code != 32 && code <= 0xFF ? static_cast<char16_t>(code) : 0;
}

char16_t XmlEntity(TView name) {
  if (name == u"amp") return u'&';
  if (name == u"lt") return u'<';
  if (name == u"gt") return u'>';
  if (name == u"quot") return u'"';
  if (name == u"apos") return u'\'';
  return 0;
}

// Where the text goes: element content and attribute values are written
// escaped; a field's HTML is gathered as it reads and escaped as a whole.
enum class TSink { Content, Attribute, Html };

struct TAttribute {
  TView Name;
  std::u16string Value;  // escaped for a double-quoted value
};

struct TTag {
  TView Name;
  std::vector<TAttribute> Attributes;
  bool Empty = false;
};

struct TOpen {
  std::u16string Name;
  std::size_t OutStart;  // where its start tag begins in the output
  std::size_t Declared;  // prefix declarations it brought into scope
  bool Item;
  bool Xhtml;            // inside an XHTML text construct
};

class TRewriter {
 public:
  TRewriter(TView in, std::size_t maxDepth) : in_(in), maxDepth_(maxDepth) {}

  bool Run(std::u16string& out, std::uint32_t& repairs);

 private:
  bool StartsAt(std::size_t i, TView s) const { return in_.compare(i, s.size(), s) == 0; }
  std::size_t Find(TView s, std::size_t from) const { return in_.find(s, from); }
  std::size_t NameEnd(std::size_t i) const {
    if (i >= in_.size() || !IsNameStart(in_[i])) return i;
    while (i < in_.size() && (IsNameChar(in_[i]) || in_[i] == u':')) ++i;
    return i;
  }
  // Past the ">" of the tag that starts at i, quotes respected; npos when
  // the text ends first.
  std::size_t TagEnd(std::size_t i) const;

  std::size_t FindRoot() const;
  void CheckProlog(std::size_t end);
  void CheckEpilog();

  void CopyChar(std::u16string& to, std::size_t& i, TSink sink);
  void AppendCode(std::u16string& to, char32_t code, TSink sink);
  void Reference(std::u16string& to, std::size_t& i, std::size_t end, TSink sink);
  void NumericReference(std::u16string& to, std::size_t& i, std::size_t end, TSink sink);

  void Markup();
  void StartTag();
  bool ReadAttributes(std::size_t& i, TTag& tag);
  void AttributeValue(std::size_t from, std::size_t to, std::u16string& value);
  void OpenElement(TTag& tag);
  void EndTag();
  void TextField(TTag& tag, std::u16string& declarations, std::size_t declared);
  std::size_t FindOpen(TView name) const;

  std::size_t Declare(TView prefix, std::u16string& declarations, bool written);
  bool IsDeclared(TView prefix) const;
  void WriteStartTag(const TTag& tag, const std::u16string& declarations, bool empty);
  void CloseTop();
  void Undeclare(std::size_t count);
  void Finish();

  TView in_;
  std::size_t maxDepth_;
  std::size_t pos_ = 0;
  std::u16string out_;
  std::uint32_t repairs_ = 0;
  std::vector<TOpen> open_;
  std::vector<std::u16string> declaredStack_;
  std::unordered_map<std::u16string, unsigned> declared_;
  bool atom_ = false;
  TView rootPrefix_;
  bool done_ = false;
  bool failed_ = false;
};

std::size_t TRewriter::TagEnd(std::size_t i) const {
  char16_t quote = 0;
  for (; i < in_.size(); ++i) {
    char16_t c = in_[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u'>') {
      return i + 1;
    }
  }
  return npos;
}

// The first start tag of a feed root, or else the first start tag: a PHP
// warning or a stray tag before "<rss" is junk, not the document.
std::size_t TRewriter::FindRoot() const {
  std::size_t first = npos;
  for (std::size_t i = in_.find(u'<'); i != npos; i = in_.find(u'<', i + 1)) {
    std::size_t end = NameEnd(i + 1);
    if (end == i + 1) continue;
    if (end < in_.size() && !IsSpace(in_[end]) && in_[end] != u'/' && in_[end] != u'>') continue;
    TView name = in_.substr(i + 1, end - i - 1);
    if (!IsQName(name) || PrefixOf(name) == u"xmlns") continue;
    if (IsFeedRoot(LocalOf(name))) return i;
    if (first == npos) first = i;
  }
  return first;
}

// What comes before the root: white space, comments, processing
// instructions and a DOCTYPE belong there; anything else is junk.
void TRewriter::CheckProlog(std::size_t end) {
  std::size_t i = 0;
  if (i < end && in_[i] == 0xFEFF) ++i;
  while (i < end) {
    if (IsSpace(in_[i])) {
      ++i;
    } else if (StartsAt(i, u"<!--")) {
      i = Find(u"-->", i + 4);
      i = i == npos ? end : i + 3;
    } else if (StartsAt(i, u"<?") && !(StartsAt(i, u"<?xml") && i + 5 < end && (IsSpace(in_[i + 5]) || in_[i + 5] == u'?'))) {
      i = Find(u"?>", i + 2);
      i = i == npos ? end : i + 2;
    } else if (StartsAt(i, u"<!DOCTYPE")) {
      std::size_t close = in_.find(u'>', i);
      std::size_t subset = in_.find(u'[', i);
      if (subset != npos && subset < close) close = in_.find(u'>', in_.find(u']', subset));
      i = close == npos ? end : close + 1;
    } else {
      repairs_ |= RepairJunkBefore;  // text, a tag, a declaration not at the start
      return;
    }
  }
}

void TRewriter::CheckEpilog() {
  for (std::size_t i = pos_; i < in_.size();) {
    if (IsSpace(in_[i])) {
      ++i;
    } else if (StartsAt(i, u"<!--")) {
      i = Find(u"-->", i + 4);
      if (i == npos) break;
      i += 3;
    } else {
      repairs_ |= RepairJunkAfter;
      return;
    }
  }
}

void TRewriter::AppendCode(std::u16string& to, char32_t code, TSink sink) {
  if (code < 0x10000) {
    char16_t c = static_cast<char16_t>(code);
    if (sink == TSink::Html) {
      to += c;
      return;
    }
    switch (c) {
      case u'&': to += u"&amp;"; return;
      case u'<': to += u"&lt;"; return;
      case u'>': to += u"&gt;"; return;
      case u'"': to += sink == TSink::Attribute ? u"&quot;" : u"\""; return;
      default: to += c; return;
    }
  }
  code -= 0x10000;
  to += static_cast<char16_t>(0xD800 + (code >> 10));
  to += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
}

// One character of the text as it stands. Characters XML forbids go:
// controls and NULs are dropped, a lone surrogate is U+FFFD.
void TRewriter::CopyChar(std::u16string& to, std::size_t& i, TSink sink) {
  char16_t c = in_[i++];
  if (c < 0x20 && !IsSpace(c)) {
    repairs_ |= RepairControlCharacters;
    return;
  }
  if (c == 0xFFFE || c == 0xFFFF) {
    repairs_ |= RepairControlCharacters;
    return;
  }
  if (c >= 0xD800 && c <= 0xDFFF) {
    if (c <= 0xDBFF && i < in_.size() && in_[i] >= 0xDC00 && in_[i] <= 0xDFFF) {
      to += c;
      to += in_[i++];
    } else {
      to += u'\xFFFD';
    }
    return;
  }
  AppendCode(to, c, sink);
}

// After "&": a reference as HTML reads it. The five of XML need no repair;
// HTML's named references (with or without ";" where HTML allows that) are
// their characters; "&" that starts none is a literal "&". A name with ";"
// that no table knows is dropped: its declaration, if any, was in a DTD,
// which is never read.
void TRewriter::Reference(std::u16string& to, std::size_t& i, std::size_t end, TSink sink) {
  std::size_t p = i + 1;
  if (p < end && in_[p] == u'#') {
    NumericReference(to, i, end, sink);
    return;
  }
  std::size_t nameEnd = p;
  while (nameEnd < end && nameEnd - p < 32 && IsAsciiAlnum(in_[nameEnd])) ++nameEnd;
  TView name = in_.substr(p, nameEnd - p);
  if (!name.empty() && nameEnd < end && in_[nameEnd] == u';') {
    i = nameEnd + 1;
    if (char16_t c = XmlEntity(name)) {
      AppendCode(to, c, sink);
    } else if (std::uint16_t code = EntityCode(name); code != 32) {
      repairs_ |= RepairHtmlEntities;
      AppendCode(to, code, sink);
    } else {
      repairs_ |= RepairUnknownEntities;
    }
    return;
  }
  // Without ";": the longest name HTML allows so, unless, in an attribute,
  // a letter, digit or "=" follows it (a query string's "&copy=1").
  for (std::size_t length = name.size() < 8 ? name.size() : 8; length >= 2; --length) {
    char16_t c = LegacyEntity(name.substr(0, length));
    if (!c) continue;
    std::size_t after = p + length;
    if (sink == TSink::Attribute && after < end && (IsAsciiAlnum(in_[after]) || in_[after] == u'=')) break;
    repairs_ |= RepairHtmlEntities;
    AppendCode(to, c, sink);
    i = after;
    return;
  }
  repairs_ |= RepairBareAmpersands;
  AppendCode(to, u'&', sink);
  ++i;
}

// "&#" digits [";"] or "&#x" hex digits [";"], read as HTML reads them:
// no ";" is forgiven, NUL, surrogates and values past Unicode are U+FFFD.
// Controls XML forbids are dropped.
void TRewriter::NumericReference(std::u16string& to, std::size_t& i, std::size_t end, TSink sink) {
  std::size_t p = i + 2;
  bool hex = p < end && (in_[p] == u'x' || in_[p] == u'X');
  if (hex) ++p;
  std::size_t digits = p;
  char32_t value = 0;
  for (; p < end; ++p) {
    char16_t c = in_[p];
    unsigned digit;
    if (IsAsciiDigit(c))
      digit = c - u'0';
    else if (hex && c >= u'a' && c <= u'f')
      digit = c - u'a' + 10;
    else if (hex && c >= u'A' && c <= u'F')
      digit = c - u'A' + 10;
    else
      break;
    value = value * (hex ? 16 : 10) + digit;
    if (value > 0x10FFFF) value = 0x110000;  // stays out of range
  }
  if (p == digits) {  // "&#" and no number: literal text
    repairs_ |= RepairBareAmpersands;
    AppendCode(to, u'&', sink);
    ++i;
    return;
  }
  if (p < end && in_[p] == u';')
    ++p;
  else
    repairs_ |= RepairNumericReferences;
  i = p;
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF) || value == 0xFFFE || value == 0xFFFF) {
    repairs_ |= RepairNumericReferences;
    value = 0xFFFD;
  } else if (value < 0x20 && !IsSpace(static_cast<char16_t>(value))) {
    repairs_ |= RepairControlCharacters;
    return;
  }
  // White space written as a reference keeps its value where a parser would
  // otherwise normalize it.
  if (sink == TSink::Attribute && IsSpace(static_cast<char16_t>(value))) {
    to += value == u'\t' ? u"&#9;" : value == u'\n' ? u"&#10;" : value == u'\r' ? u"&#13;" : u" ";
  } else if (sink == TSink::Content && value == u'\r') {
    to += u"&#13;";
  } else {
    AppendCode(to, value, sink);
  }
}

// At "<" inside the root.
void TRewriter::Markup() {
  if (StartsAt(pos_, u"<!--")) {
    std::size_t end = Find(u"-->", pos_ + 4);
    pos_ = end == npos ? in_.size() : end + 3;
  } else if (StartsAt(pos_, u"<![CDATA[")) {
    std::size_t end = Find(u"]]>", pos_ + 9);
    std::size_t stop = end == npos ? in_.size() : end;
    for (std::size_t i = pos_ + 9; i < stop;) CopyChar(out_, i, TSink::Content);
    pos_ = end == npos ? in_.size() : end + 3;
  } else if (StartsAt(pos_, u"<!") || StartsAt(pos_, u"<?")) {
    // A DOCTYPE or a second declaration inside the document; instructions
    // are dropped too.
    if (!StartsAt(pos_, u"<?") || StartsAt(pos_, u"<?xml ")) repairs_ |= RepairTags;
    std::size_t end = StartsAt(pos_, u"<?") ? Find(u"?>", pos_ + 2) : in_.find(u'>', pos_);
    pos_ = end == npos ? in_.size() : end + (StartsAt(pos_, u"<?") ? 2 : 1);
  } else if (StartsAt(pos_, u"</")) {
    EndTag();
  } else {
    StartTag();
  }
}

void TRewriter::StartTag() {
  std::size_t nameEnd = NameEnd(pos_ + 1);
  TView name = in_.substr(pos_ + 1, nameEnd - pos_ - 1);
  bool delimited = nameEnd >= in_.size() || IsSpace(in_[nameEnd]) || in_[nameEnd] == u'/' || in_[nameEnd] == u'>';
  if (name.empty() || !delimited || !IsQName(name) || PrefixOf(name) == u"xmlns") {
    // A "<" that starts no tag is a character of the text.
    repairs_ |= RepairTags;
    out_ += u"&lt;";
    ++pos_;
    return;
  }
  TTag tag;
  tag.Name = name;
  std::size_t i = nameEnd;
  if (!ReadAttributes(i, tag)) {
    pos_ = in_.size();  // the text ends inside the tag
    return;
  }
  pos_ = i;
  OpenElement(tag);
}

// Attributes as HTML reads them: quoted, unquoted or without a value, the
// first of a name winning. False when the text ends inside the tag.
bool TRewriter::ReadAttributes(std::size_t& i, TTag& tag) {
  std::unordered_set<TView> names;
  bool spaced = true;
  for (;;) {
    bool space = false;
    while (i < in_.size() && IsSpace(in_[i])) {
      ++i;
      space = true;
    }
    spaced = spaced || space;
    if (i >= in_.size()) return false;
    char16_t c = in_[i];
    if (c == u'>') {
      ++i;
      return true;
    }
    if (c == u'/') {
      if (i + 1 < in_.size() && in_[i + 1] == u'>') {
        tag.Empty = true;
        i += 2;
        return true;
      }
      repairs_ |= RepairAttributes;
      ++i;
      continue;
    }
    if (c == u'<') {  // the tag never ended; the next one starts here
      repairs_ |= RepairTags;
      return true;
    }
    std::size_t nameStart = i;
    while (i < in_.size() && !IsSpace(in_[i]) && in_[i] != u'=' && in_[i] != u'>' && in_[i] != u'/' &&
           in_[i] != u'<')
      ++i;
    if (i == nameStart) {  // "=" with no name
      repairs_ |= RepairAttributes;
      ++i;
      continue;
    }
    TView name = in_.substr(nameStart, i - nameStart);
    if (!spaced) repairs_ |= RepairAttributes;
    std::size_t j = i;
    while (j < in_.size() && IsSpace(in_[j])) ++j;
    TAttribute attribute{name, {}};
    if (j < in_.size() && in_[j] == u'=') {
      ++j;
      while (j < in_.size() && IsSpace(in_[j])) ++j;
      if (j >= in_.size()) return false;
      if (in_[j] == u'"' || in_[j] == u'\'') {
        std::size_t close = in_.find(in_[j], j + 1);
        if (close == npos) return false;
        AttributeValue(j + 1, close, attribute.Value);
        i = close + 1;
      } else {
        repairs_ |= RepairAttributes;
        std::size_t end = j;
        while (end < in_.size() && !IsSpace(in_[end]) && in_[end] != u'>') ++end;
        AttributeValue(j, end, attribute.Value);
        i = end;
      }
    } else {
      repairs_ |= RepairAttributes;  // a name alone has the empty value
    }
    spaced = false;
    if (!IsQName(name) || !names.insert(name).second) {
      repairs_ |= RepairAttributes;
      continue;
    }
    tag.Attributes.push_back(std::move(attribute));
  }
}

void TRewriter::AttributeValue(std::size_t from, std::size_t to, std::u16string& value) {
  for (std::size_t i = from; i < to;) {
    if (in_[i] == u'&')
      Reference(value, i, to, TSink::Attribute);
    else if (in_[i] == u'<') {
      value += u"&lt;";
      ++i;
    } else
      CopyChar(value, i, TSink::Attribute);
  }
}

bool TRewriter::IsDeclared(TView prefix) const {
  if (prefix.empty() || prefix == u"xml" || prefix == u"xmlns") return true;
  auto it = declared_.find(std::u16string(prefix));
  return it != declared_.end() && it->second > 0;
}

// Brings prefix into scope; unless the tag already writes its declaration,
// writes one with the prefix's usual namespace. Returns 1 (one more to take
// out of scope with the element).
std::size_t TRewriter::Declare(TView prefix, std::u16string& declarations, bool written) {
  std::u16string key(prefix);
  if (!written) {
    repairs_ |= RepairNamespacePrefixes;
    TView uri = UsualNamespace(prefix);
    declarations += u" xmlns:";
    declarations += prefix;
    declarations += u"=\"";
    if (uri.empty()) {
      declarations += u"urn:undeclared-prefix:";
      declarations += prefix;
    } else {
      declarations += uri;
    }
    declarations += u'"';
  }
  ++declared_[key];
  declaredStack_.push_back(std::move(key));
  return 1;
}

void TRewriter::Undeclare(std::size_t count) {
  for (; count > 0; --count) {
    --declared_[declaredStack_.back()];
    declaredStack_.pop_back();
  }
}

void TRewriter::WriteStartTag(const TTag& tag, const std::u16string& declarations, bool empty) {
  out_ += u'<';
  out_ += tag.Name;
  for (const auto& a : tag.Attributes) {
    out_ += u' ';
    out_ += a.Name;
    out_ += u"=\"";
    out_ += a.Value;
    out_ += u'"';
  }
  out_ += declarations;
  out_ += empty ? u"/>" : u">";
}

void TRewriter::OpenElement(TTag& tag) {
  TView local = LocalOf(tag.Name);
  if (open_.empty()) {
    atom_ = local == u"feed";
    rootPrefix_ = PrefixOf(tag.Name);
  } else if (IsItem(local)) {
    // A new item while one is open closes that one first, as a new <li>
    // closes the open one in HTML.
    for (std::size_t k = open_.size(); k-- > 1;) {
      if (open_[k].Name == tag.Name) {
        repairs_ |= RepairTags;
        while (open_.size() > k) CloseTop();
        break;
      }
    }
  }
  if (open_.size() >= maxDepth_) {
    failed_ = true;
    return;
  }
  std::size_t outStart = out_.size();
  std::u16string declarations;
  std::size_t declared = 0;
  for (const auto& a : tag.Attributes)
    if (PrefixOf(a.Name) == u"xmlns") declared += Declare(LocalOf(a.Name), declarations, true);
  if (!IsDeclared(PrefixOf(tag.Name))) declared += Declare(PrefixOf(tag.Name), declarations, false);
  for (const auto& a : tag.Attributes)
    if (!IsDeclared(PrefixOf(a.Name))) declared += Declare(PrefixOf(a.Name), declarations, false);

  bool parentXhtml = !open_.empty() && open_.back().Xhtml;
  bool xhtml = parentXhtml;
  for (const auto& a : tag.Attributes)
    if (a.Name == u"type") xhtml = xhtml || a.Value == u"xhtml" || a.Value == u"application/xhtml+xml";
  // The feed's own fields, and RSS's content:encoded; an extension's title
  // (media:title) is not read and keeps its tree.
  TView prefix = PrefixOf(tag.Name);
  bool field = prefix.empty() || prefix == rootPrefix_ ? IsTextFieldName(local)
                                                       : prefix == u"content" && local == u"encoded";
  if (field && !tag.Empty && !xhtml && !open_.empty()) {
    TextField(tag, declarations, declared);
    return;
  }
  if (tag.Empty || (parentXhtml && IsVoidElement(local))) {
    if (!tag.Empty) repairs_ |= RepairTags;
    WriteStartTag(tag, declarations, true);
    Undeclare(declared);
    if (open_.empty()) done_ = true;
    return;
  }
  WriteStartTag(tag, declarations, false);
  open_.push_back(TOpen{std::u16string(tag.Name), outStart, declared, !open_.empty() && IsItem(local), xhtml});
}

// A title, description, summary or content: everything up to its end tag is
// the field's text, raw tags included (they are the field's HTML). Without
// an end tag the field ends where the next field, item or extension element
// starts, or where an open element ends.
void TRewriter::TextField(TTag& tag, std::u16string& declarations, std::size_t declared) {
  std::u16string html;
  bool markup = false, closed = false;
  std::size_t i = pos_;
  while (i < in_.size()) {
    char16_t c = in_[i];
    if (c == u'&') {
      Reference(html, i, in_.size(), TSink::Html);
      continue;
    }
    if (c != u'<') {
      CopyChar(html, i, TSink::Html);
      continue;
    }
    if (StartsAt(i, u"<![CDATA[")) {
      std::size_t end = Find(u"]]>", i + 9);
      std::size_t stop = end == npos ? in_.size() : end;
      for (i += 9; i < stop;) CopyChar(html, i, TSink::Html);
      i = end == npos ? in_.size() : end + 3;
      continue;
    }
    if (StartsAt(i, u"<!--")) {
      std::size_t end = Find(u"-->", i + 4);
      i = end == npos ? in_.size() : end + 3;
      continue;
    }
    bool endTag = i + 1 < in_.size() && in_[i + 1] == u'/';
    std::size_t nameStart = i + (endTag ? 2 : 1);
    std::size_t nameEnd = NameEnd(nameStart);
    TView name = in_.substr(nameStart, nameEnd - nameStart);
    if (name.empty()) {  // a stray "<": the HTML reads it as text
      markup = true;
      html += u'<';
      ++i;
      continue;
    }
    if (endTag && EqualsNoCase(name, tag.Name)) {
      std::size_t gt = in_.find(u'>', nameEnd);
      if (gt == npos) {
        i = in_.size();
        break;
      }
      if (name != tag.Name) repairs_ |= RepairTags;
      i = gt + 1;
      closed = true;
      break;
    }
    if (endTag ? FindOpen(name) != npos : EndsUnclosedField(name)) {
      repairs_ |= RepairTags;
      closed = true;
      break;
    }
    std::size_t end = TagEnd(i);
    if (end == npos) {
      i = in_.size();
      break;
    }
    markup = true;
    while (i < end) CopyChar(html, i, TSink::Html);
  }
  pos_ = i;
  if (markup) {
    repairs_ |= RepairFieldMarkup;
    // In Atom, markup in a text construct makes it HTML.
    if (atom_) {
      bool typed = false;
      for (auto& a : tag.Attributes) {
        if (a.Name != u"type") continue;
        typed = true;
        if (a.Value.empty() || a.Value == u"text" || a.Value == u"text/plain") a.Value = u"html";
      }
      if (!typed) tag.Attributes.push_back(TAttribute{u"type", u"html"});
    }
  }
  std::size_t outStart = out_.size();
  WriteStartTag(tag, declarations, false);
  for (char16_t c : html) {
    if (c == u'&')
      out_ += u"&amp;";
    else if (c == u'<')
      out_ += u"&lt;";
    else if (c == u'>')
      out_ += u"&gt;";
    else
      out_ += c;
  }
  open_.push_back(TOpen{std::u16string(tag.Name), outStart, declared, false, false});
  if (closed) CloseTop();
}

std::size_t TRewriter::FindOpen(TView name) const {
  for (std::size_t k = open_.size(); k-- > 0;)
    if (open_[k].Name == name) return k;
  for (std::size_t k = open_.size(); k-- > 0;)
    if (EqualsNoCase(open_[k].Name, name)) return k;
  return npos;
}

void TRewriter::EndTag() {
  std::size_t nameEnd = NameEnd(pos_ + 2);
  TView name = in_.substr(pos_ + 2, nameEnd - pos_ - 2);
  std::size_t gt = in_.find(u'>', nameEnd);
  if (gt == npos) {
    pos_ = in_.size();
    return;
  }
  for (std::size_t i = nameEnd; i < gt; ++i)
    if (!IsSpace(in_[i])) repairs_ |= RepairTags;
  pos_ = gt + 1;
  std::size_t k = name.empty() ? npos : FindOpen(name);
  if (k == npos) {
    repairs_ |= RepairTags;  // ends nothing that is open
    return;
  }
  if (k + 1 != open_.size() || open_[k].Name != name) repairs_ |= RepairTags;
  while (open_.size() > k) CloseTop();
  if (open_.empty()) done_ = true;
}

void TRewriter::CloseTop() {
  out_ += u"</";
  out_ += open_.back().Name;
  out_ += u'>';
  Undeclare(open_.back().Declared);
  open_.pop_back();
}

// The text ended inside the document: the item it ended in is dropped whole
// (half an item is never shown), the rest is closed.
void TRewriter::Finish() {
  repairs_ |= RepairTruncated;
  for (std::size_t k = 1; k < open_.size(); ++k) {
    if (!open_[k].Item) continue;
    out_.resize(open_[k].OutStart);
    while (open_.size() > k) {
      Undeclare(open_.back().Declared);
      open_.pop_back();
    }
    break;
  }
  while (!open_.empty()) CloseTop();
}

bool TRewriter::Run(std::u16string& out, std::uint32_t& repairs) {
  std::size_t root = FindRoot();
  if (root == npos) return false;
  CheckProlog(root);
  out_.reserve(in_.size() + in_.size() / 8);
  pos_ = root;
  StartTag();
  while (!done_ && !failed_ && pos_ < in_.size()) {
    char16_t c = in_[pos_];
    if (c == u'<')
      Markup();
    else if (c == u'&')
      Reference(out_, pos_, in_.size(), TSink::Content);
    else
      CopyChar(out_, pos_, TSink::Content);
  }
  if (failed_) return false;
  if (done_)
    CheckEpilog();
  else
    Finish();
  out = std::move(out_);
  repairs = repairs_;
  return !out.empty();
}

}  // namespace

const char* FeedRepairName(std::uint32_t kind) {
  switch (kind) {
    case RepairLegacyBytes: return "legacy-bytes";
    case RepairUtf8Label: return "utf8-under-single-byte-label";
    case RepairJunkBefore: return "junk-before-root";
    case RepairJunkAfter: return "junk-after-root";
    case RepairHtmlEntities: return "html-entities";
    case RepairBareAmpersands: return "bare-ampersands";
    case RepairUnknownEntities: return "unknown-entities";
    case RepairNumericReferences: return "numeric-references";
    case RepairControlCharacters: return "control-characters";
    case RepairNamespacePrefixes: return "undeclared-prefixes";
    case RepairFieldMarkup: return "markup-in-fields";
    case RepairTags: return "tags";
    case RepairAttributes: return "attributes";
    case RepairTruncated: return "truncated";
    default: return "";
  }
}

TFeedRepair::TFeedRepair(std::u16string_view text, std::size_t maxDepth) {
  TRewriter rewriter(text, maxDepth);
  if (!rewriter.Run(text_, repairs_)) {
    text_.clear();
    repairs_ = 0;
  }
}
