#include "html/TextFormatter.h"

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
  collapsed_.clear();
  for (std::size_t i = 0; i < text.size();) {
    if (IsWhitespace(text[i])) {
      collapsed_.push_back(u' ');
      while (i < text.size() && IsWhitespace(text[i])) ++i;
    } else {
      collapsed_.push_back(text[i++]);
    }
  }
  AppendText(collapsed_);
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
