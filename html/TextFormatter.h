// The plain-text rendering of a document tree: the words without the markup.
// No element makes a line break; list items get "* "; whitespace collapses
// to one space except inside "pre"; named and numeric references become
// characters ("&nbsp;" a plain space); comments, CDATA sections and
// attributes are not shown, and neither is anything inside "script",
// "style", "noscript" or "template" (each renders as if it were empty).
#pragma once

#include "html/BaseFormatter.h"

class TTextFormatter : public TBaseFormatter {
 public:
  TTextFormatter();

 protected:
  // Drops leading spaces (code 32 only) when the output is empty or already
  // ends in whitespace.
  void AppendText(std::u16string_view text) override;
  void ProcessEntityReference(const dom::TEntityReference& node) override;
  void ProcessTextNode(const dom::TTextNode& node) override;
  // "li" writes its marker, "pre" keeps whitespace until the end of the next
  // element that ends, so inside "pre" the text after a nested element
  // collapses again.
  void EnterElement(const dom::TElement& element) override;
  void LeaveElement(const dom::TElement& element) override;
  // False for "script", "style", "noscript" and "template": code, a style
  // sheet, what a browser shows only with scripting off, and content no
  // browser shows until a script copies it.
  bool RendersContent(const dom::TElement& element) const override;
};
