#include "html/HtmlParser.h"

#include <utility>

using dom::TElement;
using dom::TNode;

THtmlParser::THtmlParser() : reader_(std::make_unique<THtmlReader>()) { InstallHandlers(); }

THtmlParser::~THtmlParser() = default;

void THtmlParser::InstallHandlers() {
  reader_->OnAttributeEnd = [this](THtmlReader& r) { OnAttributeEnd(r); };
  reader_->OnAttributeStart = [this](THtmlReader& r) { OnAttributeStart(r); };
  reader_->OnCDataSection = [this](THtmlReader& r) { OnCDataSection(r); };
  reader_->OnComment = [this](THtmlReader& r) { OnComment(r); };
  reader_->OnDocType = [this](THtmlReader& r) { OnDocType(r); };
  reader_->OnElementEnd = [this](THtmlReader& r) { OnElementEnd(r); };
  reader_->OnElementStart = [this](THtmlReader& r) { OnElementStart(r); };
  reader_->OnEndElement = [this](THtmlReader& r) { OnEndElement(r); };
  reader_->OnEntityReference = [this](THtmlReader& r) { OnEntityReference(r); };
  reader_->OnTextNode = [this](THtmlReader& r) { OnTextNode(r); };
}

std::unique_ptr<dom::TDocument> THtmlParser::Parse(std::u16string_view html, std::pmr::memory_resource* upstream) {
  reader_->SetHtmlView(html);

  std::unique_ptr<dom::TDocument> document = dom::DomImplementation::CreateDocument(nullptr, upstream);
  document_ = document.get();
  currentNode_ = document_;
  currentTag_ = nullptr;
  body_ = nullptr;
  open_.Reset(document_);
  try {
    while (reader_->Read()) {
    }
  } catch (...) {
    // A token the rules cannot place (or any other failure) ends the build;
    // the document keeps everything placed before it.
  }
  reader_->SetHtmlView({});  // html is the caller's, and may go now
  document_ = nullptr;
  currentNode_ = nullptr;
  currentTag_ = nullptr;
  body_ = nullptr;
  open_.PopTo(0);
  return document;
}

// <tag: find the parent its placement group asks for, then open the element.
void THtmlParser::OnElementStart(THtmlReader& reader) {
  const std::u16string_view name = reader.QualifiedName();
  currentTag_ = &HtmlTagList().GetTag(name);
  THtmlPlacementGroup group = PlacementGroup(currentTag_->Number);
  if (group != THtmlPlacementGroup::None) MoveToParentFor(group);
  TElement* element = document_->CreateElement(name);
  currentNode_->AppendChild(element);
  open_.Push(element, currentTag_->Number);
  currentNode_ = element;
}

// name= inside a start tag: a later attribute of the same name displaces an
// earlier one, which is dropped.
void THtmlParser::OnAttributeStart(THtmlReader& reader) {
  if (currentNode_->NodeType() != dom::ElementNode) throw dom::DomException(dom::HierarchyRequestErr);
  dom::TAttr* attr = document_->CreateAttribute(reader.QualifiedName());
  static_cast<TElement*>(currentNode_)->SetAttributeNode(attr);
  currentNode_ = attr;
}

// Text, in content or in an attribute value. Adjacent runs stay separate.
void THtmlParser::OnTextNode(THtmlReader& reader) {
  currentNode_->AppendChild(document_->CreateTextNode(reader.NodeValue()));
}

// &name; stays a reference; whoever reads the tree decodes it.
void THtmlParser::OnEntityReference(THtmlReader& reader) {
  currentNode_->AppendChild(document_->CreateEntityReference(reader.QualifiedName()));
}

// End of an attribute value: back to its element.
void THtmlParser::OnAttributeEnd(THtmlReader&) {
  if (currentNode_->NodeType() == dom::AttributeNode)
    currentNode_ = static_cast<dom::TAttr*>(currentNode_)->OwnerElement();
}

// ">" of a start tag: "/>" and void elements close at once. The content of
// script, style and noscript is raw text, and their "/>" is ignored, as a
// browser does: closed at once, they would leave their content to show in
// the parent.
void THtmlParser::OnElementEnd(THtmlReader& reader) {
  const THtmlTag* tag = currentTag_;
  currentTag_ = nullptr;
  if (tag && RawTextTags.Contains(tag->Number)) {
    reader.ReadRawText(tag->Name, tag->Number == TagScript ? THtmlRawTextKind::ScriptData
                                                           : THtmlRawTextKind::RawText);
    return;
  }
  bool close = reader.IsEmptyElement() || (tag && VoidTags.Contains(tag->Number));
  if (close && currentNode_->NodeType() == dom::ElementNode && !open_.Empty())
    CloseTo(open_.Depth() - 1);
}

// </name>: closes the nearest open element of that name and everything opened
// inside it; without one the end tag is ignored. Inside a template it closes
// nothing outside it.
void THtmlParser::OnEndElement(THtmlReader& reader) {
  if (currentNode_->NodeType() != dom::ElementNode) return;
  const std::u16string_view name = reader.QualifiedName();
  const std::size_t index = open_.NearestNamed(name, HtmlTagList().GetTag(name).Number);
  if (index == THtmlParserOpenElements::None) return;
  const std::size_t boundary = open_.NearestTemplate();
  if (boundary != THtmlParserOpenElements::None && index < boundary) return;
  CloseTo(index);
}

// <!-- -->
void THtmlParser::OnComment(THtmlReader& reader) {
  currentNode_->AppendChild(document_->CreateComment(reader.NodeValue()));
}

// <![CDATA[ ]]>
void THtmlParser::OnCDataSection(THtmlReader& reader) {
  currentNode_->AppendChild(document_->CreateCDATASection(reader.NodeValue()));
}

// <!DOCTYPE>: the latest declaration wins.
void THtmlParser::OnDocType(THtmlReader& reader) {
  document_->SetDocType(dom::DomImplementation::CreateDocumentType(
      reader.QualifiedName(), reader.PublicID(), reader.SystemID()));
}

void THtmlParser::MoveToParentFor(THtmlPlacementGroup group) {
  // The walk up from the current node passes only through elements; from the
  // document or an attribute it finds nothing.
  if (currentNode_->NodeType() == dom::ElementNode) {
    std::size_t index = open_.NearestOf(PlacementParents(group));
    // Nor does it leave a template: what finds no parent inside one goes
    // into the template itself, as it would go into the body outside, so
    // that a template's content (never shown) stays in it.
    const std::size_t boundary = open_.NearestTemplate();
    if (boundary != THtmlParserOpenElements::None &&
        (index == THtmlParserOpenElements::None || index < boundary))
      index = boundary;
    if (index != THtmlParserOpenElements::None) {
      open_.PopTo(index + 1);
      currentNode_ = open_.Top();
      return;
    }
  }
  TElement* body = Body();
  open_.Reset(body);
  currentNode_ = body;
}

TElement* THtmlParser::Body() {
  if (body_) return body_;
  TElement* root = document_->DocumentElement();
  if (!root) {
    root = document_->CreateElement(u"html");
    document_->AppendChild(root);
  }
  for (TNode* child : root->ChildNodes().Items()) {
    if (child->NodeType() == dom::ElementNode && child->Prefix().empty() && child->LocalName() == u"body") {
      body_ = static_cast<TElement*>(child);
      return body_;
    }
  }
  TElement* body = document_->CreateElement(u"body");
  root->AppendChild(body);
  body_ = body;
  return body_;
}

void THtmlParser::CloseTo(std::size_t chainIndex) {
  open_.PopTo(chainIndex);
  currentNode_ = open_.Empty() ? static_cast<TNode*>(document_) : open_.Top();
}
