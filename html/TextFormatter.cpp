#include "html/TextFormatter.h"

#include <algorithm>

#include "html/TextScan.h"

using namespace dom;

namespace {

bool IsWhitespace(char16_t c) { return c == u'\t' || c == u'\n' || c == u'\r' || c == u' '; }

}  // namespace

TTextFormatter::TTextFormatter() {
  SetNodeKinds(1 | KindText | KindEntityReference);
  SetDecodeEntities(true);
}

void TTextFormatter::AppendText(std::u16string_view text) {
  if (Builder().Length() == 0 || Builder().LastIsWhitespace()) {
    std::size_t first = text.find_first_not_of(u' ');
    text = first == std::u16string_view::npos ? std::u16string_view() : text.substr(first);
  }
  if (!text.empty()) Builder().Append(text);
}

void TTextFormatter::ProcessEntityReference(const TEntityReference& node) {
  if (node.LocalName() == u"nbsp" && node.Prefix().empty())
    AppendText(u" ");
  else
    TBaseFormatter::ProcessEntityReference(node);
}

void TTextFormatter::ProcessTextNode(const TTextNode& node) {
  const std::u16string_view text = node.Data();
  if (preserveWhitespace_) {
    AppendText(text);
    return;
  }
  // Every run of whitespace becomes one space, dropped where the output is
  // empty or already ends in whitespace. The collapsed text is never longer
  // than the text, so it is written straight into the output.
  TStringBuilder& out = Builder();
  const bool spaceAllowed = out.Length() != 0 && !out.LastIsWhitespace();
  char16_t* const begin = out.Reserve(text.size());
  char16_t* d = begin;
  bool pendingSpace = false;
  const char16_t* p = text.data();
  const char16_t* const end = p + text.size();
  while (p < end) {
    // Whitespace is all at or below U+0020; a run of anything else, single
    // spaces between words included, is copied as it stands.
    if (*p <= u' ' && IsWhitespace(*p)) {
      pendingSpace = true;
      ++p;
      continue;
    }
    if (pendingSpace && (d != begin || spaceAllowed)) *d++ = u' ';
    pendingSpace = false;
    if (*p <= u' ') {
      *d++ = *p++;  // a control character: text like any other
      continue;
    }
    p = textscan::CopyUntilCollapsible(p, end, d);
  }
  if (pendingSpace && (d != begin || spaceAllowed)) *d++ = u' ';
  out.Commit(static_cast<std::size_t>(d - begin));
}

void TTextFormatter::EnterElement(const TElement& element) {
  // The same answer as looking the name up in the tag table, whose look-up is
  // exact, without a search per element.
  if (!element.Prefix().empty()) return;
  if (element.LocalName() == u"li")
    AppendText(u"* ");
  else if (element.LocalName() == u"pre")
    preserveWhitespace_ = true;
}

void TTextFormatter::LeaveElement(const TElement&) { preserveWhitespace_ = false; }

bool TTextFormatter::RendersContent(const TElement& element) const {
  if (!element.Prefix().empty()) return true;
  const std::u16string_view name = element.LocalName();
  return name != u"script" && name != u"style" && name != u"noscript" && name != u"template";
}

std::u16string TNode::PlainText() const {
  if (NodeType() != ElementNode) return {};
  TTextFormatter formatter;
  return formatter.FormatElement(static_cast<const TElement&>(*this));
}
