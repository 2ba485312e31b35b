// The document: root of a tree, factory and owner of its nodes, and the
// implementation object that creates documents.
#pragma once

#include <algorithm>
#include <memory>
#include <memory_resource>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "html/Arena.h"
#include "html/DomNodes.h"

namespace dom {

// The namespace URIs of one document; entry 0 is the empty string (no
// namespace).
class TNamespaceURIList {
 public:
  // Index of the first entry equal to uri, appending it when absent.
  int Add(std::u16string_view uri);
  int Count() const { return static_cast<int>(uris_.size()) + 1; }
  // The entry at index, or the empty string for an index out of range.
  const std::u16string& Item(int index) const;

 private:
  // The entries after the first: most documents have none, and so cost no
  // allocation here.
  std::vector<std::u16string> uris_;
};

class TDocument final : public TParentNode {
 public:
  ~TDocument();

  int NodeType() const override { return DocumentNode; }
  std::u16string NodeName() const override { return u"#document"; }
  // Text, processing instructions and comments always; an element only while
  // the document has no element child.
  bool AllowsChild(const TNode& node) const override;

  // New detached nodes owned by this document (see DomNode.h).
  TElement* CreateElement(std::u16string_view name);
  TElement* CreateElementNS(std::u16string_view namespaceURI, std::u16string_view qualifiedName);
  TTextNode* CreateTextNode(std::u16string_view text);
  TComment* CreateComment(std::u16string_view text);
  TCDATASection* CreateCDATASection(std::u16string_view text);
  TProcessingInstruction* CreateProcessingInstruction(std::u16string_view target,
                                                      std::u16string_view data);
  TAttr* CreateAttribute(std::u16string_view name);
  TEntityReference* CreateEntityReference(std::u16string_view name);

  // The first element child, or nullptr.
  TElement* DocumentElement() const;
  TDocumentType* DocType() const { return docType_.get(); }
  // Destroys the current document type and installs docType (may be empty).
  // Raises WrongDocumentErr when docType already belongs to a document.
  void SetDocType(std::unique_ptr<TDocumentType> docType);
  TNamespaceURIList& NamespaceURIs() { return namespaceURIs_; }
  const TNamespaceURIList& NamespaceURIs() const { return namespaceURIs_; }

  // A copy of text kept as long as the document lives.
  std::u16string_view Store(std::u16string_view text) {
    if (text.empty()) return {};
    auto* chars = static_cast<char16_t*>(Allocate(text.size() * sizeof(char16_t), alignof(char16_t)));
    std::copy(text.begin(), text.end(), chars);
    return {chars, text.size()};
  }
  // The same for a node name. Names are never changed once stored, so a
  // name equal to one stored recently is shared: a page names the same few
  // elements and entities over and over.
  std::u16string_view StoreName(std::u16string_view name) {
    if (name.empty()) return {};
    std::u16string_view& cached = nameCache_[(name.size() * 31 + name.front() * 7 + name.back()) % NameCacheSize];
    if (cached != name) cached = Store(name);
    return cached;
  }
  // Memory kept as long as the document lives.
  void* Allocate(std::size_t bytes, std::size_t alignment) { return arena_.Allocate(bytes, alignment); }

  // How many nodes the document has created (for tests of ownership).
  std::size_t NodeCount() const { return nodeCount_; }

 private:
  explicit TDocument(std::pmr::memory_resource* upstream);
  template <class T, class... Args>
  T* Make(Args&&... args) {
    // The arena is released without running destructors.
    static_assert(std::is_trivially_destructible_v<T>, "an arena node must not own anything");
    T* node = new (Allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    ++nodeCount_;
    return node;
  }

  // Nodes and their texts are many and small; an arena keeps their
  // allocation a pointer bump and their release one pass over a few large
  // blocks.
  TArena arena_;
  std::size_t nodeCount_ = 0;
  static constexpr std::size_t NameCacheSize = 16;
  std::u16string_view nameCache_[NameCacheSize];
  std::unique_ptr<TDocumentType> docType_;
  TNamespaceURIList namespaceURIs_;

  friend class DomImplementation;
  friend class TElement;
  friend class TAttr;
  friend class TTextNode;
  friend class TCDATASection;
  friend class TComment;
  friend class TEntityReference;
  friend class TProcessingInstruction;
};

// Operations that need no document.
class DomImplementation {
 public:
  // A document type that belongs to no document yet.
  static std::unique_ptr<TDocumentType> CreateDocumentType(std::u16string_view qualifiedName,
                                                           std::u16string_view publicId,
                                                           std::u16string_view systemId);
  // A new empty document that owns docType (which may be empty). Raises
  // WrongDocumentErr when docType already belongs to a document. The
  // document's arena takes its blocks from upstream (the heap when nullptr),
  // which must outlive the document.
  static std::unique_ptr<TDocument> CreateDocument(std::unique_ptr<TDocumentType> docType = nullptr,
                                                   std::pmr::memory_resource* upstream = nullptr);
};

}  // namespace dom
