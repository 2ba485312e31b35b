// The tree builder: turns an HTML string into a document with a few repair
// rules that make ordinary sloppy HTML a sensible tree (paragraphs and list
// items close their predecessors, table parts find their table, void elements
// close themselves, stray end tags are ignored). It never reports an error:
// whatever the rules cannot place ends the build quietly with the tree built
// so far.
#pragma once

#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>

#include "html/Dom.h"
#include "html/HtmlParserOpenElements.h"
#include "html/HtmlReader.h"
#include "html/HtmlTags.h"

class THtmlParser {
 public:
  THtmlParser();
  ~THtmlParser();
  THtmlParser(const THtmlParser&) = delete;
  THtmlParser& operator=(const THtmlParser&) = delete;

  // The document built from html; never fails short of running out of memory.
  std::unique_ptr<dom::TDocument> ParseString(std::u16string html) { return Parse(html); }
  // The same, with the document's arena fed from upstream (see
  // DomImplementation::CreateDocument). A parser parses any number of
  // inputs, one at a time, and keeps its reader's buffers between them.
  // html is read in place, not copied: it must not change during the call.
  std::unique_ptr<dom::TDocument> Parse(std::u16string_view html, std::pmr::memory_resource* upstream = nullptr);

 private:
  // One handler per reader event.
  void OnAttributeEnd(THtmlReader& reader);
  void OnAttributeStart(THtmlReader& reader);
  void OnCDataSection(THtmlReader& reader);
  void OnComment(THtmlReader& reader);
  void OnDocType(THtmlReader& reader);
  void OnElementEnd(THtmlReader& reader);
  void OnElementStart(THtmlReader& reader);
  void OnEndElement(THtmlReader& reader);
  void OnEntityReference(THtmlReader& reader);
  void OnTextNode(THtmlReader& reader);

  void InstallHandlers();
  // Makes the parent for a start tag of group the current node.
  void MoveToParentFor(THtmlPlacementGroup group);
  // The body element, created (with the document element) when missing.
  dom::TElement* Body();
  // Makes element's parent (an element or the document) the current node.
  void CloseTo(std::size_t chainIndex);

  std::unique_ptr<THtmlReader> reader_;
  dom::TDocument* document_ = nullptr;
  // The node that receives the next token: the document, an element, or
  // (inside a start tag) an attribute.
  dom::TNode* currentNode_ = nullptr;
  // The tag of the element whose start tag is being read.
  const THtmlTag* currentTag_ = nullptr;
  // The elements from the document element down to the current node (to its
  // owner element while an attribute is current).
  THtmlParserOpenElements open_;
  // Once found, the body stays the document element's first "body" child:
  // the builder only ever appends.
  dom::TElement* body_ = nullptr;
};
