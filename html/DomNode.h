// The base of every node of the document model, in the manner of the W3C DOM
// Level 2 core, and the tree operations shared by all node kinds.
//
// Ownership: every node is allocated in the arena of the document that created
// it and is freed when that document is destroyed, never earlier. A node taken
// out of the tree (RemoveChild, a displaced attribute, a node never inserted)
// therefore stays valid for whoever holds it as long as its document lives;
// the tree itself only links nodes. The node kinds kept in the arena hold
// only pointers and views of arena memory and have trivial destructors, so
// destroying a document of any size or depth is releasing its arena, never a
// walk.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "html/DomNodeList.h"

namespace dom {

class TDocument;

// NodeType values (DOM Level 2).
enum TNodeType : int {
  ElementNode = 1,
  AttributeNode = 2,
  TextNode = 3,
  CDataSectionNode = 4,
  EntityReferenceNode = 5,
  EntityNode = 6,
  ProcessingInstructionNode = 7,
  CommentNode = 8,
  DocumentNode = 9,
  DocumentTypeNode = 10,
  DocumentFragmentNode = 11,
  NotationNode = 12,
};

class TNode {
 public:
  TNode(const TNode&) = delete;
  TNode& operator=(const TNode&) = delete;

  // The document that created the node (a document is its own); nullptr only
  // for a document type not yet given to a document.
  TDocument* OwnerDocument() const { return ownerDocument_; }
  // Parent in the tree; for an attribute its owner element; nullptr when
  // detached.
  TNode* ParentNode() const { return parentNode_; }
  // Index into the owner document's namespace list; 0 is no namespace.
  int NamespaceIndex() const { return namespaceIndex_; }
  std::u16string NamespaceURI() const;
  std::u16string_view Prefix() const { return name_.substr(0, prefixLength_); }
  std::u16string_view LocalName() const {
    return prefixLength_ == 0 ? name_ : name_.substr(prefixLength_ + 1);
  }
  // The children. The kinds that can have none (text, comments, references
  // ...) all answer with one shared empty list whose Owner is nullptr and
  // which refuses additions (HierarchyRequestErr), so that the many small
  // leaves of a page carry no list of their own.
  TNodeList& ChildNodes() { return ChildList(); }
  const TNodeList& ChildNodes() const { return const_cast<TNode*>(this)->ChildList(); }
  bool HasChildNodes() const { return ChildNodes().Count() > 0; }

  // Prefix ":" LocalName, or LocalName alone when Prefix is empty.
  virtual std::u16string NodeName() const;
  // Empty except for the kinds that hold text.
  virtual std::u16string NodeValue() const;
  virtual int NodeType() const = 0;
  // Whether node may become a child of this one (its kind only).
  virtual bool AllowsChild(const TNode& node) const;
  // A copy of this one node (an attribute with its children) created in
  // document; raises NotSupportedErr for kinds that cannot be copied.
  virtual TNode* ImportInto(TDocument& document) const;
  // Raises NoModificationAllowedErr unless the kind holds text.
  virtual void SetNodeValue(const std::u16string& text);
  // A copy in the same document; an element copies its children (each deeply)
  // only when deep is set and never its attributes.
  TNode* CloneNode(bool deep) const;
  // The same into another document.
  TNode* CloneInto(TDocument& document, bool deep) const;

  // Inserts newChild before refChild (appends when refChild is nullptr),
  // first taking it from its current parent; returns newChild. Raises
  // WrongDocumentErr, HierarchyRequestErr or NotFoundErr and then leaves the
  // tree as it was.
  TNode* InsertBefore(TNode* newChild, TNode* refChild);
  TNode* AppendChild(TNode* newChild) { return InsertBefore(newChild, nullptr); }
  // Takes oldChild out of the children and returns it, detached; raises
  // NotFoundErr when it is not a child.
  TNode* RemoveChild(TNode* oldChild);

  // The plain-text rendering of the children of an element; empty for any
  // other node (see TextFormatter.h).
  std::u16string PlainText() const;

 protected:
  // name is the qualified name, whose first prefixLength characters are the
  // prefix (0: none); a view of characters kept by the owner document (see
  // TDocument::Store), which frees them with the nodes.
  TNode(TDocument* ownerDocument, std::u16string_view name = {}, std::uint32_t prefixLength = 0);
  virtual TNodeList& ChildList();
  // Not virtual: nodes are never deleted through TNode. Only the document and
  // the document type, each owned by a unique_ptr of its own type, have
  // destructors that do anything.
  ~TNode() = default;

  TDocument* ownerDocument_;
  TNode* parentNode_ = nullptr;
  int namespaceIndex_ = 0;
  std::uint32_t prefixLength_;
  std::u16string_view name_;

  friend class TDocument;
  friend class TElement;
  friend class TAttr;
  friend class TNodeList;
  friend class TNamedNodeMap;
};

// The kinds that can hold children: element, attribute and document.
class TParentNode : public TNode {
 protected:
  explicit TParentNode(TDocument* ownerDocument, std::u16string_view name = {},
                       std::uint32_t prefixLength = 0)
      : TNode(ownerDocument, name, prefixLength), childNodes_(this) {}
  ~TParentNode() = default;
  TNodeList& ChildList() override { return childNodes_; }

  TNodeList childNodes_;
};

}  // namespace dom
