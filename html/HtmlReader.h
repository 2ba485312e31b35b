// A forgiving HTML tokenizer. It turns one UTF-16 string into a flat stream of
// tokens and announces each through one event; it never builds a tree and never
// fails on bad markup: whatever cannot be read as markup comes out as text or
// as the entity reference "lt" or "amp".
//
// The reader is pulled: call Read() until it returns false; each call fires at
// most one event. The only listener in the program is the tree builder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "html/HtmlRawText.h"

class THtmlReader;

// One event handler. An empty handler is skipped silently. Exceptions thrown by
// a handler pass through Read() to its caller.
using THtmlReaderEvent = std::function<void(THtmlReader& reader)>;

// Token kinds held in NodeType(): the node-type numbers of the document model,
// plus 255 for an end tag.
namespace HtmlToken {
inline constexpr std::int32_t None = 0;  // nothing yet, or a document type declaration
inline constexpr std::int32_t Element = 1;  // start tag name read, or start tag finished
inline constexpr std::int32_t Attribute = 2;  // attribute finished
inline constexpr std::int32_t Text = 3;  // text, or a decoded numeric reference
inline constexpr std::int32_t CDataSection = 4;
inline constexpr std::int32_t EntityReference = 5;
inline constexpr std::int32_t Comment = 8;
inline constexpr std::int32_t EndElement = 255;
}  // namespace HtmlToken

// Where the reader stands between two tokens.
enum class THtmlReaderState : std::uint8_t {
  Content = 0,         // between tags
  StartTag = 1,        // inside a start tag, after its name or an attribute
  AttributeName = 2,   // attribute name read, value not begun
  UnquotedValue = 3,   // inside an unquoted attribute value
  QuotedValue = 4,     // inside a quoted attribute value
  RawText = 5,         // inside a raw-text element (see ReadRawText)
};

class THtmlReader {
 public:
  THtmlReader();
  ~THtmlReader();
  THtmlReader(const THtmlReader&) = delete;
  THtmlReader& operator=(const THtmlReader&) = delete;

  // Stores a copy of the input and starts reading it from its first
  // character in the content state, whatever was read before: one reader
  // serves any number of inputs and keeps its buffers' memory between them.
  void SetHtmlStr(std::u16string_view text);
  // The same without the copy: text must stay unchanged, where it is, until
  // the reader is given another input or destroyed.
  void SetHtmlView(std::u16string_view text);
  // Reads the next token, fires its event (if any) and returns true; returns
  // false only when the input was already exhausted on entry.
  bool Read();
  // For the handler of OnElementEnd, whose start tag opened a raw-text
  // element (see HtmlRawText.h): its content up to the end tag "</"
  // endTagName (any case) arrives as one text token, with no references or
  // markup in it, and the end tag as an end tag. Without that end tag the
  // text runs to the end of the input; an end tag without ">" takes the rest
  // of it. Between tags only; anywhere else it does nothing.
  void ReadRawText(std::u16string_view endTagName, THtmlRawTextKind kind);

  // Properties of the token just read (cleared at the start of every Read).
  // The texts are views of the input (or of the reader), valid until the
  // next Read or SetHtmlStr.
  std::int32_t NodeType() const { return nodeType_; }
  // Part of the name before its first ":" (empty when there is none).
  std::u16string_view Prefix() const { return name_.substr(0, prefixLength_); }
  // Part of the name after its first ":", or the whole name.
  std::u16string_view LocalName() const {
    return name_.substr(prefixLength_ == 0 ? 0 : prefixLength_ + 1);
  }
  // Prefix ":" LocalName, or LocalName alone when Prefix is empty. Element,
  // attribute and end-tag names are lower-cased (ASCII A-Z); entity and
  // document type names keep their case.
  std::u16string_view QualifiedName() const { return name_; }
  // Text of a text, comment or CDATA token.
  std::u16string_view NodeValue() const { return nodeValue_; }
  // The two quoted literals of a document type declaration.
  std::u16string_view PublicID() const { return publicId_; }
  std::u16string_view SystemID() const { return systemId_; }
  // The start tag just finished ended with "/" before ">".
  bool IsEmptyElement() const { return isEmptyElement_; }

  std::u16string_view HtmlStr() const { return html_; }
  // 1-based index of the next character to examine; the input is exhausted
  // when it exceeds the length of HtmlStr.
  std::size_t Position() const { return pos_ + 1; }
  THtmlReaderState State() const { return state_; }
  // The quote that opened the attribute value being read; 0 when none.
  char16_t QuoteChar() const { return quoteChar_; }

  // Events, each fired with the reader; the comment names what is valid when
  // it fires.
  THtmlReaderEvent OnAttributeEnd;     // nothing
  THtmlReaderEvent OnAttributeStart;   // QualifiedName of the attribute
  THtmlReaderEvent OnCDataSection;     // NodeValue
  THtmlReaderEvent OnComment;          // NodeValue
  THtmlReaderEvent OnDocType;          // QualifiedName, PublicID, SystemID
  THtmlReaderEvent OnElementEnd;       // IsEmptyElement
  THtmlReaderEvent OnElementStart;     // QualifiedName of the element
  THtmlReaderEvent OnEndElement;       // QualifiedName of the end tag
  THtmlReaderEvent OnEntityReference;  // QualifiedName of the entity
  THtmlReaderEvent OnTextNode;         // NodeValue (inside attribute values too)

 private:
  // Remembers where a failed search ended so that the next search for the
  // same thing does not cover the same ground again. Without it, input such
  // as a megabyte of "<!--" would be rescanned to its end at every "<".
  struct TSearchMemo {
    std::size_t from = 0;           // searched from here ...
    std::size_t found = SIZE_MAX;   // ... and the first hit is here (SIZE_MAX: none)
    bool valid = false;
  };

  // One function per state, named after it.
  void ContentState();     // 0
  void StartTagState();    // 1
  void AttributeState();   // 2, 3, 4
  void RawTextState();     // 5
  bool ReadAttributeValue();
  // Markup that may fail; each restores the position when it fails.
  bool ReadTag();
  bool ReadEndTag();
  bool ReadSpecial();
  bool ReadDocType();
  bool ReadCData();
  bool ReadComment();
  bool ReadStartTag();
  bool ReadAttributeStart();
  bool ReadCharReference();
  bool ReadNumericReference();
  bool ReadNamedReference();
  void EmitFallbackEntity(const char16_t* name);

  // Scanning helpers; none reads past the end.
  bool AtEnd() const { return pos_ >= html_.size(); }
  // The position of the first a or b at or after pos_, else the end.
  std::size_t ScanTo(char16_t a, char16_t b) const;
  void SkipWhitespace();
  bool Match(std::u16string_view literal) const;
  bool MatchNoCase(std::u16string_view literal) const;  // ASCII letters
  bool ReadQuotedLiteral(std::size_t& start, std::size_t& end);
  // First index at or after from whose character is a hit (the input's length
  // when none is).
  template <class Hit>
  std::size_t FindIf(std::size_t from, TSearchMemo& memo, Hit hit);
  // First index at or after from where literal starts, or SIZE_MAX.
  std::size_t FindLiteral(std::u16string_view literal, std::size_t from, TSearchMemo& memo);
#ifdef KAVRELO_CHECK_SEARCH_MEMO
  void CheckSearch(bool sameAnswer) const;
#endif
  void SetName(std::u16string_view name, bool lowerCase);
  void Fire(const THtmlReaderEvent& event);
  void ClearToken();

  std::u16string_view html_;  // the input: own_, or the caller's (SetHtmlView)
  std::u16string own_;
  std::size_t pos_ = 0;  // 0-based; Position() reports it 1-based
  std::int32_t nodeType_ = HtmlToken::None;
  std::u16string_view name_;        // the qualified name
  std::size_t prefixLength_ = 0;    // of its prefix; 0 when it has none
  std::u16string_view nodeValue_;
  std::u16string_view publicId_;
  std::u16string_view systemId_;
  // What the views show when the input itself cannot: a name that had to be
  // lower-cased, the character of a numeric reference.
  std::u16string loweredName_;
  char16_t referenceChar_ = 0;
  bool isEmptyElement_ = false;
  THtmlReaderState state_ = THtmlReaderState::Content;
  char16_t quoteChar_ = 0;
  std::u16string rawTextEndTag_;  // lower case
  THtmlRawTextKind rawTextKind_ = THtmlRawTextKind::RawText;

  TSearchMemo gtMemo_;          // ">" closing end tags and declarations
  TSearchMemo commentMemo_;     // "-->"
  TSearchMemo cdataMemo_;       // "]]>"
  TSearchMemo endTagNameMemo_;  // whitespace, "/" or ">" after an end-tag name
  // The six skips and word ends of a declaration before its public literal
  // and the skip after it, one each.
  TSearchMemo docTypeMemo_[6];
  // For a declaration's quoted literal, which may be quoted by any character:
  // nextSame_[i] is the index of the next character equal to html_[i], built
  // on first use.
  std::vector<std::uint32_t> nextSame_;
  // Characters covered by the remembered searches and by the scans of raw
  // text, for the test builds' check that they stay linear.
  std::size_t searched_ = 0;
};
