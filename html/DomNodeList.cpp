#include "html/DomNodeList.h"

#include <algorithm>

#include "html/DomException.h"
#include "html/DomNodes.h"

namespace dom {

TNode* TNodeList::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(index)];
}

int TNodeList::IndexOf(const TNode* node) const {
  auto it = std::find(items_.begin(), items_.end(), node);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TNodeList::Insert(int index, TNode* node) {
  if (index < 0 || index > Count()) throw DomException(IndexSizeErr);
  items_.insert(items_.begin() + index, node);
}

void TNodeList::Delete(int index) {
  if (index < 0 || index >= Count()) throw DomException(IndexSizeErr);
  items_.erase(items_.begin() + index);
}

void TNodeList::Add(TNode* node) { items_.push_back(node); }

void TNodeList::Remove(TNode* node) {
  int index = IndexOf(node);
  if (index >= 0) items_.erase(items_.begin() + index);
}

void TNodeList::Clear(bool destroyItems) {
  if (destroyItems) {
    for (TNode* node : items_) {
      if (node->parentNode_ == owner_) node->parentNode_ = nullptr;
    }
  }
  items_.clear();
}

TNode* TNamedNodeMap::GetNamedItem(std::u16string_view name) const {
  for (TNode* node : items_) {
    if (node->NodeName() == name) return node;
  }
  return nullptr;
}

TNode* TNamedNodeMap::SetNamedItem(TNode* node) {
  if (!node) throw DomException(NotFoundErr);
  if (node->OwnerDocument() != owner_->OwnerDocument()) throw DomException(WrongDocumentErr);
  if (node->NodeType() == AttributeNode && node->ParentNode() && node->ParentNode() != owner_)
    throw DomException(InuseAttributeErr);
  TNode* displaced = GetNamedItem(node->NodeName());
  if (displaced) Remove(displaced);
  Add(node);
  return displaced;
}

}  // namespace dom
