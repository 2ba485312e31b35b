#include "html/DomNode.h"

#include <utility>
#include <vector>

#include "html/DomDocument.h"
#include "html/DomException.h"

namespace dom {

TNode::TNode(TDocument* ownerDocument, std::u16string_view name, std::uint32_t prefixLength)
    : ownerDocument_(ownerDocument), prefixLength_(prefixLength), name_(name) {}

TNodeList& TNode::ChildList() {
  // Never changed: every addition to a list without an owner is refused.
  static TNodeList noChildren(nullptr);
  return noChildren;
}

std::u16string TNode::NamespaceURI() const {
  if (!ownerDocument_ || namespaceIndex_ == 0) return {};
  return ownerDocument_->NamespaceURIs().Item(namespaceIndex_);
}

std::u16string TNode::NodeName() const { return std::u16string(name_); }

std::u16string TNode::NodeValue() const { return {}; }

bool TNode::AllowsChild(const TNode&) const { return false; }

TNode* TNode::ImportInto(TDocument&) const { throw DomException(NotSupportedErr); }

void TNode::SetNodeValue(const std::u16string&) { throw DomException(NoModificationAllowedErr); }

TNode* TNode::CloneNode(bool deep) const {
  if (!ownerDocument_) throw DomException(NotSupportedErr);
  return CloneInto(*ownerDocument_, deep);
}

TNode* TNode::CloneInto(TDocument& document, bool deep) const {
  TNode* copy = ImportInto(document);
  if (!deep || NodeType() != ElementNode) return copy;
  // An explicit stack instead of recursion: documents from the network can
  // nest elements hundreds of thousands deep.
  std::vector<std::pair<const TNode*, TNode*>> pending{{this, copy}};
  while (!pending.empty()) {
    auto [source, target] = pending.back();
    pending.pop_back();
    for (const TNode* child : source->ChildNodes().Items()) {
      TNode* childCopy = child->ImportInto(document);
      target->ChildNodes().Add(childCopy);
      childCopy->parentNode_ = target;
      if (child->NodeType() == ElementNode && child->HasChildNodes())
        pending.emplace_back(child, childCopy);
    }
  }
  return copy;
}

TNode* TNode::InsertBefore(TNode* newChild, TNode* refChild) {
  if (!newChild) throw DomException(NotFoundErr);
  if (newChild->ownerDocument_ != ownerDocument_) throw DomException(WrongDocumentErr);
  if (!AllowsChild(*newChild) || newChild == this) throw DomException(HierarchyRequestErr);
  // Only a node with children can be a proper ancestor of this one, so the
  // upward walk is skipped for the fresh leaves and elements a tree builder
  // appends; otherwise building a deep tree would be quadratic.
  if (newChild->HasChildNodes()) {
    for (const TNode* n = parentNode_; n; n = n->parentNode_) {
      if (n == newChild) throw DomException(HierarchyRequestErr);
    }
  }
  if (newChild == refChild) return newChild;
  TNodeList& children = ChildNodes();
  if (refChild && (refChild->parentNode_ != this || children.IndexOf(refChild) < 0))
    throw DomException(NotFoundErr);
  if (newChild->parentNode_) newChild->parentNode_->RemoveChild(newChild);
  if (refChild)
    children.Insert(children.IndexOf(refChild), newChild);
  else
    children.Add(newChild);
  newChild->parentNode_ = this;
  return newChild;
}

TNode* TNode::RemoveChild(TNode* oldChild) {
  if (!oldChild || oldChild->parentNode_ != this) throw DomException(NotFoundErr);
  TNodeList& children = ChildNodes();
  int index = children.IndexOf(oldChild);
  if (index < 0) throw DomException(NotFoundErr);
  children.Delete(index);
  oldChild->parentNode_ = nullptr;
  return oldChild;
}

}  // namespace dom
