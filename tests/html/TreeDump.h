// Test helper: a document tree as one readable line, so a whole tree compares
// as a string:
//   html(body("a" p("b") &amp; <!--c--> <![d]> a[href="x" title="y"]("t")))
// Text is quoted (UTF-8), entity references are &name;, attributes follow
// their element in brackets, children in parentheses.
#pragma once

#include <string>

#include "html/Dom.h"
#include "html/HtmlToTextUtf8.h"

inline std::string DumpNode(const dom::TNode& node);

inline std::string DumpChildren(const dom::TNode& node) {
  std::string out;
  for (const dom::TNode* child : node.ChildNodes().Items()) {
    if (!out.empty()) out += ' ';
    out += DumpNode(*child);
  }
  return out;
}

// Recursive: for the small trees of tests only.
inline std::string DumpNode(const dom::TNode& node) {
  switch (node.NodeType()) {
    case dom::TextNode:
      return '"' + Utf16ToUtf8(node.NodeValue()) + '"';
    case dom::CDataSectionNode:
      return "<![" + Utf16ToUtf8(node.NodeValue()) + "]>";
    case dom::CommentNode:
      return "<!--" + Utf16ToUtf8(node.NodeValue()) + "-->";
    case dom::EntityReferenceNode:
      return '&' + Utf16ToUtf8(node.NodeName()) + ';';
    case dom::ElementNode: {
      const auto& element = static_cast<const dom::TElement&>(node);
      std::string out = Utf16ToUtf8(node.NodeName());
      if (element.Attributes().Count() > 0) {
        out += '[';
        for (int i = 0; i < element.Attributes().Count(); ++i) {
          const dom::TNode* attr = element.Attributes().Item(i);
          if (i > 0) out += ' ';
          out += Utf16ToUtf8(attr->NodeName()) + "=\"" + Utf16ToUtf8(attr->NodeValue()) + '"';
        }
        out += ']';
      }
      if (node.HasChildNodes()) out += '(' + DumpChildren(node) + ')';
      return out;
    }
    case dom::DocumentNode:
      return DumpChildren(node);
    default:
      return '?' + Utf16ToUtf8(node.NodeName());
  }
}
