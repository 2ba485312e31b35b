// The reader's states and the markup it recognises. Each state and each kind
// of markup has one function; the characters it reacts to are in its comment.
//
// Linear time: a failed attempt at "<" or "&" restores the position and the
// same characters are read again as text. That is harmless as long as the
// attempt looked at no more than what the text token will consume. Four
// attempts can look much further (an end tag, a comment, a CDATA section, a
// declaration); each of their searches goes through a TSearchMemo of its own.
// Successive attempts start at later "<"s, so each search site is asked from
// non-decreasing positions, and remembering the last answer is enough: a
// search never covers ground that an earlier search at the same site covered.
// The exceptions are the searches for ">", "-->" and "]]>", whose finding
// completes the markup (so nothing before it is asked again), and the skip
// after a quoted literal, which covers only the whitespace after its closing
// quote. Names and literals are copied only once the markup is complete.
// Raw text (state 5) is scanned once, up to the end tag that stops it, and
// delivered whole, so no character of it is scanned twice.
#include "html/HtmlReader.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "html/TextScan.h"

namespace {

constexpr std::size_t NotFound = SIZE_MAX;

// Characters above 255 never belong to any delimiter class.
bool IsWhitespace(char16_t c) { return c == 9 || c == 10 || c == 13 || c == 32; }
// Ends an element name, an end-tag name and a word of a declaration.
bool IsNameDelimiter(char16_t c) { return IsWhitespace(c) || c == u'/' || c == u'>'; }
bool IsAttributeNameDelimiter(char16_t c) {
  return IsWhitespace(c) || c == u'/' || c == u'=' || c == u'>';
}
bool IsUnquotedValueDelimiter(char16_t c) {
  return IsWhitespace(c) || c == u'"' || c == u'\'' || c == u'/' || c == u'>';
}
bool IsEntityNameStop(char16_t c) {
  return IsWhitespace(c) || c == u'&' || c == u';' || c == u'<';
}

char16_t AsciiUpper(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

void LowerAscii(std::u16string& s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
}

}  // namespace

THtmlReader::THtmlReader() = default;
THtmlReader::~THtmlReader() = default;

void THtmlReader::SetHtmlStr(std::u16string_view text) {
  own_.assign(text);
  SetHtmlView(own_);
}

void THtmlReader::SetHtmlView(std::u16string_view text) {
  ClearToken();  // its views showed the old input
  html_ = text;
  pos_ = 0;
  state_ = THtmlReaderState::Content;
  quoteChar_ = 0;
  referenceChar_ = 0;
  rawTextEndTag_.clear();
  rawTextKind_ = THtmlRawTextKind::RawText;
  searched_ = 0;
  gtMemo_ = commentMemo_ = cdataMemo_ = endTagNameMemo_ = TSearchMemo{};
  for (TSearchMemo& memo : docTypeMemo_) memo = TSearchMemo{};
  nextSame_.clear();
}

bool THtmlReader::Read() {
  ClearToken();
  if (AtEnd()) return false;
  switch (state_) {
    case THtmlReaderState::Content:
      ContentState();
      break;
    case THtmlReaderState::StartTag:
      StartTagState();
      break;
    case THtmlReaderState::AttributeName:
    case THtmlReaderState::UnquotedValue:
    case THtmlReaderState::QuotedValue:
      AttributeState();
      break;
    case THtmlReaderState::RawText:
      RawTextState();
      break;
  }
  return true;
}

void THtmlReader::ReadRawText(std::u16string_view endTagName, THtmlRawTextKind kind) {
  if (state_ != THtmlReaderState::Content) return;
  rawTextEndTag_.assign(endTagName);
  LowerAscii(rawTextEndTag_);
  rawTextKind_ = kind;
  state_ = THtmlReaderState::RawText;
}

// ---- States ---------------------------------------------------------------

std::size_t THtmlReader::ScanTo(char16_t a, char16_t b) const {
  if (AtEnd()) return html_.size();
  const char16_t* const base = html_.data();
  return static_cast<std::size_t>(textscan::FindEither(base + pos_, base + html_.size(), a, b) - base);
}

// State 0, between tags: "<" may open markup, "&" a reference; anything else
// is text up to the next "<" or "&".
void THtmlReader::ContentState() {
  const char16_t c = html_[pos_];
  if (c == u'<') {
    if (!ReadTag()) EmitFallbackEntity(u"lt");
  } else if (c == u'&') {
    if (!ReadCharReference()) EmitFallbackEntity(u"amp");
  } else {
    const std::size_t start = pos_;
    pos_ = ScanTo(u'<', u'&');
    nodeType_ = HtmlToken::Text;
    nodeValue_ = html_.substr(start, pos_ - start);
    Fire(OnTextNode);
  }
}

// State 1, inside a start tag after its name or an attribute: another
// attribute, or the end of the tag ("/"? then everything up to ">"). A start
// tag without ">" takes the rest of the input.
void THtmlReader::StartTagState() {
  if (ReadAttributeStart()) return;
  SkipWhitespace();
  if (!AtEnd() && html_[pos_] == u'/') {
    isEmptyElement_ = true;
    ++pos_;
  }
  const std::size_t gt = html_.find(u'>', pos_);
  pos_ = gt == std::u16string::npos ? html_.size() : gt + 1;
  nodeType_ = HtmlToken::Element;
  state_ = THtmlReaderState::Content;
  Fire(OnElementEnd);
}

// States 2 to 4, inside an attribute: value material, else the attribute
// ends (stepping over the closing quote of a quoted value).
void THtmlReader::AttributeState() {
  if (ReadAttributeValue()) return;
  if (state_ == THtmlReaderState::QuotedValue) ++pos_;
  nodeType_ = HtmlToken::Attribute;
  state_ = THtmlReaderState::StartTag;
  Fire(OnAttributeEnd);
}

// State 2 looks for "=" and an opening quote; then, in states 3 and 4, "&"
// opens a reference and anything else is a run of value text. A quoted run
// stops at the quote or "&"; an unquoted run stops at whitespace, a quote,
// "/" or ">", so an "&" inside it is plain text.
bool THtmlReader::ReadAttributeValue() {
  if (state_ == THtmlReaderState::AttributeName) {
    SkipWhitespace();
    if (AtEnd() || html_[pos_] != u'=') return false;
    ++pos_;
    SkipWhitespace();
    if (AtEnd()) return false;
    const char16_t c = html_[pos_];
    if (c == u'"' || c == u'\'') {
      quoteChar_ = c;
      ++pos_;
      state_ = THtmlReaderState::QuotedValue;
    } else {
      state_ = THtmlReaderState::UnquotedValue;
    }
  }
  if (AtEnd()) return false;
  if (html_[pos_] == u'&') {
    if (!ReadCharReference()) EmitFallbackEntity(u"amp");
    return true;
  }
  const std::size_t start = pos_;
  if (state_ == THtmlReaderState::QuotedValue) {
    pos_ = ScanTo(quoteChar_, u'&');
  } else {
    while (!AtEnd() && !IsUnquotedValueDelimiter(html_[pos_])) ++pos_;
  }
  if (pos_ == start) return false;
  nodeType_ = HtmlToken::Text;
  nodeValue_ = html_.substr(start, pos_ - start);
  Fire(OnTextNode);
  return true;
}

// State 5, the content of a raw-text element: all of it as one text token,
// then "</" name ... ">" as its end tag; an end tag without ">" ends the
// input. The next Read finds the end tag at once, so the scan covers the
// content only once.
void THtmlReader::RawTextState() {
  const std::size_t end = FindRawTextEnd(html_, pos_, rawTextEndTag_, rawTextKind_);
  searched_ += end - pos_;
#ifdef KAVRELO_CHECK_SEARCH_MEMO
  CheckSearch(true);
#endif
  if (end > pos_) {
    nodeType_ = HtmlToken::Text;
    nodeValue_ = html_.substr(pos_, end - pos_);
    pos_ = end;
    Fire(OnTextNode);
    return;
  }
  const std::size_t nameStart = pos_ + 2;
  const std::size_t nameEnd = nameStart + rawTextEndTag_.size();
  const std::size_t gt = FindLiteral(u">", nameEnd, gtMemo_);
  pos_ = gt == NotFound ? html_.size() : gt + 1;
  nodeType_ = HtmlToken::EndElement;
  SetName(html_.substr(nameStart, nameEnd - nameStart), true);
  state_ = THtmlReaderState::Content;
  Fire(OnEndElement);
}

// ---- Markup after "<" -----------------------------------------------------

// "<" followed by "/" (end tag), "!" (declaration, CDATA, comment) or
// anything else (start tag). Restores the position when nothing is read.
bool THtmlReader::ReadTag() {
  const std::size_t start = pos_;
  ++pos_;
  bool read = false;
  if (!AtEnd()) {
    const char16_t c = html_[pos_];
    if (c == u'/')
      read = ReadEndTag();
    else if (c == u'!')
      read = ReadSpecial();
    else
      read = ReadStartTag();
  }
  if (!read) pos_ = start;
  return read;
}

// "</" name ... ">": whatever stands between the name and ">" is ignored.
bool THtmlReader::ReadEndTag() {
  ++pos_;
  if (AtEnd()) return false;
  const std::size_t nameStart = pos_;
  const std::size_t nameEnd = FindIf(pos_, endTagNameMemo_, IsNameDelimiter);
  if (nameEnd == nameStart) return false;
  const std::size_t gt = FindLiteral(u">", nameEnd, gtMemo_);
  if (gt == NotFound) return false;
  pos_ = gt + 1;
  nodeType_ = HtmlToken::EndElement;
  SetName(html_.substr(nameStart, nameEnd - nameStart), true);
  Fire(OnEndElement);
  return true;
}

// "<!" then "DOCTYPE" (any case), "[CDATA[" or "--".
bool THtmlReader::ReadSpecial() {
  ++pos_;
  if (AtEnd()) return false;
  if (MatchNoCase(u"DOCTYPE")) return ReadDocType();
  if (Match(u"[CDATA[")) return ReadCData();
  if (Match(u"--")) return ReadComment();
  return false;
}

// "<!DOCTYPE" name keyword q...q ["..."] ... ">". The public literal may be
// quoted by any character at all, so "<!doctype html>" followed by more
// markup takes the ">" after "html" as its quote and runs on past the next
// ">". The keyword is read and discarded.
bool THtmlReader::ReadDocType() {
  auto notSpace = [](char16_t c) { return !IsWhitespace(c); };
  pos_ += 7;
  pos_ = FindIf(pos_, docTypeMemo_[0], notSpace);
  const std::size_t nameStart = pos_;
  pos_ = FindIf(pos_, docTypeMemo_[1], IsNameDelimiter);
  const std::size_t nameEnd = pos_;
  if (nameEnd == nameStart) return false;
  pos_ = FindIf(pos_, docTypeMemo_[2], notSpace);
  pos_ = FindIf(pos_, docTypeMemo_[3], IsNameDelimiter);  // the keyword
  pos_ = FindIf(pos_, docTypeMemo_[4], notSpace);
  std::size_t publicStart = 0, publicEnd = 0;
  if (!ReadQuotedLiteral(publicStart, publicEnd)) return false;
  pos_ = FindIf(pos_, docTypeMemo_[5], notSpace);
  std::size_t systemStart = 0, systemEnd = 0;
  if (!AtEnd() && html_[pos_] == u'"' && !ReadQuotedLiteral(systemStart, systemEnd))
    return false;
  const std::size_t gt = FindLiteral(u">", pos_, gtMemo_);
  if (gt == NotFound) return false;
  pos_ = gt + 1;
  const std::u16string_view text(html_);
  SetName(text.substr(nameStart, nameEnd - nameStart), false);
  publicId_ = text.substr(publicStart, publicEnd - publicStart);
  systemId_ = text.substr(systemStart, systemEnd - systemStart);
  Fire(OnDocType);
  return true;
}

// "<![CDATA[" ... "]]>"
bool THtmlReader::ReadCData() {
  pos_ += 7;
  const std::size_t close = FindLiteral(u"]]>", pos_, cdataMemo_);
  if (close == NotFound) return false;
  nodeType_ = HtmlToken::CDataSection;
  nodeValue_ = html_.substr(pos_, close - pos_);
  pos_ = close + 3;
  Fire(OnCDataSection);
  return true;
}

// "<!--" ... "-->"; the search starts after "<!--", so "<!-->" is not closed.
bool THtmlReader::ReadComment() {
  pos_ += 2;
  const std::size_t close = FindLiteral(u"-->", pos_, commentMemo_);
  if (close == NotFound) return false;
  nodeType_ = HtmlToken::Comment;
  nodeValue_ = html_.substr(pos_, close - pos_);
  pos_ = close + 3;
  Fire(OnComment);
  return true;
}

// "<" name: needs at least two characters after "<" (the name and something
// after it). Attributes and the end of the tag follow in state 1.
bool THtmlReader::ReadStartTag() {
  if (pos_ + 1 >= html_.size()) return false;
  const std::size_t nameStart = pos_;
  while (!AtEnd() && !IsNameDelimiter(html_[pos_])) ++pos_;
  if (pos_ == nameStart) return false;
  nodeType_ = HtmlToken::Element;
  SetName(html_.substr(nameStart, pos_ - nameStart), true);
  state_ = THtmlReaderState::StartTag;
  Fire(OnElementStart);
  return true;
}

// In state 1: whitespace, then a name up to whitespace, "/", "=" or ">".
bool THtmlReader::ReadAttributeStart() {
  SkipWhitespace();
  const std::size_t nameStart = pos_;
  while (!AtEnd() && !IsAttributeNameDelimiter(html_[pos_])) ++pos_;
  if (pos_ == nameStart) return false;
  SetName(html_.substr(nameStart, pos_ - nameStart), true);
  state_ = THtmlReaderState::AttributeName;
  quoteChar_ = 0;
  Fire(OnAttributeStart);
  return true;
}

// ---- References after "&" -------------------------------------------------

// "&#" digits ";" or "&" name ";". Restores the position on failure.
bool THtmlReader::ReadCharReference() {
  const std::size_t start = pos_;
  ++pos_;
  bool read = false;
  if (!AtEnd()) read = html_[pos_] == u'#' ? ReadNumericReference() : ReadNamedReference();
  if (!read) pos_ = start;
  return read;
}

// "#" ["x" | "X"] digits ";": the value is kept to 16 bits and arrives as one
// character of text; no digits at all give the character 0.
bool THtmlReader::ReadNumericReference() {
  ++pos_;
  if (AtEnd()) return false;
  unsigned base = 10;
  if (html_[pos_] == u'x' || html_[pos_] == u'X') {
    base = 16;
    ++pos_;
  }
  std::uint32_t value = 0;
  for (; !AtEnd(); ++pos_) {
    const char16_t c = html_[pos_];
    unsigned digit;
    if (c >= u'0' && c <= u'9')
      digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f')
      digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F')
      digit = c - u'A' + 10;
    else
      break;
    value = (value * base + digit) & 0xFFFF;
  }
  if (AtEnd() || html_[pos_] != u';') return false;
  ++pos_;
  nodeType_ = HtmlToken::Text;
  referenceChar_ = static_cast<char16_t>(value);
  nodeValue_ = std::u16string_view(&referenceChar_, 1);
  Fire(OnTextNode);
  return true;
}

// name ";", the name running up to whitespace, "&", ";" or "<". Its case is
// kept: "Eacute" and "eacute" are different characters.
bool THtmlReader::ReadNamedReference() {
  const std::size_t nameStart = pos_;
  while (!AtEnd() && !IsEntityNameStop(html_[pos_])) ++pos_;
  if (AtEnd() || html_[pos_] != u';') return false;
  nodeType_ = HtmlToken::EntityReference;
  SetName(html_.substr(nameStart, pos_ - nameStart), false);
  ++pos_;
  Fire(OnEntityReference);
  return true;
}

// A "<" or "&" that opens nothing readable is delivered as a reference to
// itself; the characters after it are then read again as ordinary input.
void THtmlReader::EmitFallbackEntity(const char16_t* name) {
  ClearToken();
  ++pos_;
  nodeType_ = HtmlToken::EntityReference;
  SetName(name, false);
  Fire(OnEntityReference);
}

// ---- Scanning helpers -----------------------------------------------------

void THtmlReader::SkipWhitespace() {
  while (!AtEnd() && IsWhitespace(html_[pos_])) ++pos_;
}

bool THtmlReader::Match(std::u16string_view literal) const {
  return html_.substr(pos_, literal.size()) == literal;
}

bool THtmlReader::MatchNoCase(std::u16string_view literal) const {
  if (html_.size() - pos_ < literal.size()) return false;
  for (std::size_t i = 0; i < literal.size(); ++i)
    if (AsciiUpper(html_[pos_ + i]) != AsciiUpper(literal[i])) return false;
  return true;
}

// The character at the position is the quote, whatever it is; the literal
// runs to its next occurrence. On success the position is past the closing
// quote and [start, end) is the text between.
bool THtmlReader::ReadQuotedLiteral(std::size_t& start, std::size_t& end) {
  if (AtEnd()) return false;
  if (nextSame_.empty()) {
    // Built once: the next occurrence of every character, so that a literal
    // quoted by a character that never comes again costs nothing the next
    // time. The last-seen table is kept per thread and only the entries this
    // input touched are reset, so a short input does not pay for 64K entries.
    thread_local std::vector<std::uint32_t> last(65536, UINT32_MAX);
    nextSame_.resize(html_.size());
    for (std::size_t i = html_.size(); i-- > 0;) {
      nextSame_[i] = last[html_[i]];
      last[html_[i]] = static_cast<std::uint32_t>(i);
    }
    for (char16_t c : html_) last[c] = UINT32_MAX;
  }
  const std::uint32_t close = nextSame_[pos_];
  if (close == UINT32_MAX) return false;
  start = pos_ + 1;
  end = close;
  pos_ = std::size_t{close} + 1;
  return true;
}

template <class Hit>
std::size_t THtmlReader::FindIf(std::size_t from, TSearchMemo& memo, Hit hit) {
  const std::size_t size = html_.size();
  if (from >= size) return size;
  std::size_t found;
  if (memo.valid && from >= memo.from && from <= memo.found) {
    found = memo.found;
  } else {
    // Below an earlier search only the part not covered yet is searched.
    const bool below = memo.valid && from < memo.from;
    const std::size_t limit = below ? memo.from : size;
    std::size_t i = from;
    while (i < limit && !hit(html_[i])) ++i;
    searched_ += i - from;
    found = i < limit ? i : (below ? memo.found : NotFound);
    memo = TSearchMemo{from, found, true};
  }
  if (found == NotFound) found = size;
#ifdef KAVRELO_CHECK_SEARCH_MEMO
  std::size_t plain = from;
  while (plain < size && !hit(html_[plain])) ++plain;
  CheckSearch(plain == found);
#endif
  return found;
}

std::size_t THtmlReader::FindLiteral(std::u16string_view literal, std::size_t from,
                                     TSearchMemo& memo) {
  const std::u16string_view text(html_);
  if (from >= text.size()) return NotFound;
  std::size_t found;
  if (memo.valid && from >= memo.from && from <= memo.found) {
    found = memo.found;
  } else {
    const bool below = memo.valid && from < memo.from;
    // Below an earlier search, a match may start before where it began and
    // end after it.
    const std::size_t span = below ? memo.from - from + literal.size() - 1 : text.size() - from;
    const std::size_t at = text.substr(from, span).find(literal);
    searched_ += at == std::u16string_view::npos ? std::min(span, text.size() - from) : at;
    found = at != std::u16string_view::npos ? from + at : below ? memo.found : NotFound;
    memo = TSearchMemo{from, found, true};
  }
#ifdef KAVRELO_CHECK_SEARCH_MEMO
  const std::size_t plain = text.find(literal, from);
  CheckSearch((plain == std::u16string_view::npos ? NotFound : plain) == found);
#endif
  return found;
}

#ifdef KAVRELO_CHECK_SEARCH_MEMO
// Test builds: a remembered answer must equal the plain search's, and all
// remembered searches together may cover each character only a bounded number
// of times (ten search sites, and raw text once).
void THtmlReader::CheckSearch(bool sameAnswer) const {
  if (!sameAnswer || searched_ > 12 * html_.size() + 64) std::abort();
}
#endif

// Splits a name at its first ":"; a leading ":" leaves the prefix empty, so
// the qualified name loses that colon.
void THtmlReader::SetName(std::u16string_view name, bool lowerCase) {
  const std::size_t colon = name.find(u':');
  prefixLength_ = colon == std::u16string_view::npos ? 0 : colon;
  name_ = colon == 0 ? name.substr(1) : name;
  // Most names are lower case already and stay views of the input.
  if (lowerCase && std::any_of(name_.begin(), name_.end(), [](char16_t c) { return c >= u'A' && c <= u'Z'; })) {
    loweredName_.assign(name_);
    LowerAscii(loweredName_);
    name_ = loweredName_;
  }
}

void THtmlReader::Fire(const THtmlReaderEvent& event) {
  if (event) event(*this);
}

void THtmlReader::ClearToken() {
  nodeType_ = HtmlToken::None;
  name_ = {};
  prefixLength_ = 0;
  nodeValue_ = {};
  publicId_ = {};
  systemId_ = {};
  isEmptyElement_ = false;
}
