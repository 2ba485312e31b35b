#include "html/DomNodes.h"

#include <utility>

#include "html/DomDocument.h"
#include "html/DomException.h"
#include "html/Entities.h"

namespace dom {

bool TElement::AllowsChild(const TNode& node) const {
  switch (node.NodeType()) {
    case EntityNode:
    case DocumentNode:
    case DocumentTypeNode:
    case NotationNode:
      return false;
    default:
      return true;
  }
}

TNode* TElement::ImportInto(TDocument& document) const {
  TElement* copy = document.Make<TElement>(&document, document.StoreName(name_), prefixLength_);
  if (namespaceIndex_ != 0) copy->namespaceIndex_ = document.NamespaceURIs().Add(NamespaceURI());
  return copy;
}

TAttr* TElement::GetAttributeNode(std::u16string_view name) const {
  return dynamic_cast<TAttr*>(attributes_.GetNamedItem(name));
}

bool TElement::HasAttribute(std::u16string_view name) const {
  return attributes_.GetNamedItem(name) != nullptr;
}

std::u16string TElement::GetAttribute(std::u16string_view name) const {
  TNode* attr = attributes_.GetNamedItem(name);
  return attr ? attr->NodeValue() : std::u16string();
}

TAttr* TElement::SetAttributeNode(TAttr* attr) {
  if (!attr) throw DomException(NotFoundErr);
  if (attr->parentNode_) throw DomException(InuseAttributeErr);
  TNode* displaced = attributes_.SetNamedItem(attr);
  if (displaced) displaced->parentNode_ = nullptr;
  attr->parentNode_ = this;
  return dynamic_cast<TAttr*>(displaced);
}

bool TAttr::AllowsChild(const TNode& node) const {
  return node.NodeType() == TextNode || node.NodeType() == EntityReferenceNode;
}

TNode* TAttr::ImportInto(TDocument& document) const {
  TAttr* copy = document.Make<TAttr>(&document, document.StoreName(name_), prefixLength_);
  copy->namespaceIndex_ = namespaceIndex_ ? document.NamespaceURIs().Add(NamespaceURI()) : 0;
  for (const TNode* child : childNodes_.Items()) {
    TNode* childCopy = child->ImportInto(document);
    copy->childNodes_.Add(childCopy);
    childCopy->parentNode_ = copy;
  }
  return copy;
}

std::u16string TAttr::NodeValue() const {
  std::u16string value;
  for (const TNode* child : childNodes_.Items()) {
    if (child->NodeType() == EntityReferenceNode)
      value.push_back(static_cast<char16_t>(EntityCode(std::u16string_view(child->NodeName()))));
    else
      value.append(child->NodeValue());
  }
  return value;
}

void TAttr::SetNodeValue(const std::u16string& text) {
  TTextNode* replacement = ownerDocument_->CreateTextNode(text);
  childNodes_.Clear(true);
  childNodes_.Add(replacement);
  replacement->parentNode_ = this;
}

void TCharacterData::SetNodeValue(const std::u16string& text) { value_ = ownerDocument_->Store(text); }

TNode* TTextNode::ImportInto(TDocument& document) const {
  return document.CreateTextNode(value_);
}

TNode* TCDATASection::ImportInto(TDocument& document) const {
  return document.CreateCDATASection(value_);
}

TNode* TComment::ImportInto(TDocument& document) const {
  return document.CreateComment(value_);
}

TNode* TEntityReference::ImportInto(TDocument& document) const {
  return document.Make<TEntityReference>(&document, document.StoreName(name_), prefixLength_);
}

TNode* TProcessingInstruction::ImportInto(TDocument& document) const {
  return document.CreateProcessingInstruction(name_, data_);
}

TDocumentType::TDocumentType(std::u16string name, std::uint32_t prefixLength,
                             std::u16string publicId, std::u16string systemId)
    : TNode(nullptr),
      nameStore_(std::move(name)),
      publicId_(std::move(publicId)),
      systemId_(std::move(systemId)) {
  name_ = nameStore_;
  prefixLength_ = prefixLength;
}

}  // namespace dom
