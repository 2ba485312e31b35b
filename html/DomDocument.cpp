#include "html/DomDocument.h"

#include <utility>

#include "html/DomException.h"

namespace dom {

namespace {

// A qualified name split at its first ":": the name as it is kept (a leading
// ":" is dropped, leaving no prefix) and the length of its prefix.
std::pair<std::u16string_view, std::uint32_t> SplitName(std::u16string_view name) {
  const std::size_t colon = name.find(u':');
  if (colon == std::u16string_view::npos) return {name, 0};
  if (colon == 0) return {name.substr(1), 0};
  return {name, static_cast<std::uint32_t>(colon)};
}

}  // namespace

int TNamespaceURIList::Add(std::u16string_view uri) {
  if (uri.empty()) return 0;
  for (std::size_t i = 0; i < uris_.size(); ++i) {
    if (uris_[i] == uri) return static_cast<int>(i + 1);
  }
  uris_.emplace_back(uri);
  return static_cast<int>(uris_.size());
}

const std::u16string& TNamespaceURIList::Item(int index) const {
  static const std::u16string none;
  if (index <= 0 || index >= Count()) return none;
  return uris_[static_cast<std::size_t>(index - 1)];
}

TDocument::TDocument(std::pmr::memory_resource* upstream)
    : TParentNode(this), arena_(upstream ? upstream : std::pmr::get_default_resource()) {}

TDocument::~TDocument() = default;

bool TDocument::AllowsChild(const TNode& node) const {
  switch (node.NodeType()) {
    case TextNode:
    case ProcessingInstructionNode:
    case CommentNode:
      return true;
    case ElementNode:
      return DocumentElement() == nullptr;
    default:
      return false;
  }
}

TElement* TDocument::CreateElement(std::u16string_view name) {
  return Make<TElement>(this, StoreName(name));
}

TElement* TDocument::CreateElementNS(std::u16string_view namespaceURI,
                                     std::u16string_view qualifiedName) {
  auto [name, prefixLength] = SplitName(qualifiedName);
  int index = namespaceURIs_.Add(namespaceURI);
  TElement* element = Make<TElement>(this, StoreName(name), prefixLength);
  element->namespaceIndex_ = index;
  return element;
}

TTextNode* TDocument::CreateTextNode(std::u16string_view text) {
  return Make<TTextNode>(this, Store(text));
}

TComment* TDocument::CreateComment(std::u16string_view text) {
  return Make<TComment>(this, Store(text));
}

TCDATASection* TDocument::CreateCDATASection(std::u16string_view text) {
  return Make<TCDATASection>(this, Store(text));
}

TProcessingInstruction* TDocument::CreateProcessingInstruction(std::u16string_view target,
                                                               std::u16string_view data) {
  return Make<TProcessingInstruction>(this, Store(target), Store(data));
}

TAttr* TDocument::CreateAttribute(std::u16string_view name) {
  return Make<TAttr>(this, StoreName(name));
}

TEntityReference* TDocument::CreateEntityReference(std::u16string_view name) {
  return Make<TEntityReference>(this, StoreName(name));
}

TElement* TDocument::DocumentElement() const {
  for (TNode* child : childNodes_.Items()) {
    if (child->NodeType() == ElementNode) return static_cast<TElement*>(child);
  }
  return nullptr;
}

void TDocument::SetDocType(std::unique_ptr<TDocumentType> docType) {
  if (docType && docType->ownerDocument_ && docType->ownerDocument_ != this)
    throw DomException(WrongDocumentErr);
  if (docType) docType->ownerDocument_ = this;
  docType_ = std::move(docType);
}

std::unique_ptr<TDocumentType> DomImplementation::CreateDocumentType(
    std::u16string_view qualifiedName, std::u16string_view publicId, std::u16string_view systemId) {
  auto [name, prefixLength] = SplitName(qualifiedName);
  return std::unique_ptr<TDocumentType>(new TDocumentType(
      std::u16string(name), prefixLength, std::u16string(publicId), std::u16string(systemId)));
}

std::unique_ptr<TDocument> DomImplementation::CreateDocument(std::unique_ptr<TDocumentType> docType,
                                                            std::pmr::memory_resource* upstream) {
  if (docType && docType->OwnerDocument()) throw DomException(WrongDocumentErr);
  std::unique_ptr<TDocument> document(new TDocument(upstream));
  document->SetDocType(std::move(docType));
  return document;
}

}  // namespace dom
