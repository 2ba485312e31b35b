#include "html/DomNodeList.h"

#include <algorithm>

#include "html/DomDocument.h"
#include "html/DomException.h"

namespace dom {

TNode* TNodeList::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[index];
}

int TNodeList::IndexOf(const TNode* node) const {
  TNode* const* end = items_ + count_;
  TNode* const* it = std::find(static_cast<TNode* const*>(items_), end, node);
  return it == end ? -1 : static_cast<int>(it - items_);
}

void TNodeList::Grow() {
  if (count_ < capacity_) return;
  // The shared list of the kinds without children has no owner.
  if (!owner_) throw DomException(HierarchyRequestErr);
  TDocument* document = owner_->OwnerDocument();
  if (!document || capacity_ >= (1u << 30)) throw DomException(NotSupportedErr);
  const std::uint32_t capacity = capacity_ == 0 ? 4 : capacity_ * 2;
  auto** items = static_cast<TNode**>(document->Allocate(capacity * sizeof(TNode*), alignof(TNode*)));
  std::copy(items_, items_ + count_, items);
  items_ = items;
  capacity_ = capacity;
}

void TNodeList::Insert(int index, TNode* node) {
  if (index < 0 || index > Count()) throw DomException(IndexSizeErr);
  Grow();
  std::copy_backward(items_ + index, items_ + count_, items_ + count_ + 1);
  items_[index] = node;
  ++count_;
}

void TNodeList::Delete(int index) {
  if (index < 0 || index >= Count()) throw DomException(IndexSizeErr);
  std::copy(items_ + index + 1, items_ + count_, items_ + index);
  --count_;
}

void TNodeList::Remove(TNode* node) {
  int index = IndexOf(node);
  if (index >= 0) Delete(index);
}

void TNodeList::Clear(bool destroyItems) {
  if (count_ == 0) return;  // writes nothing, so the shared empty list stays untouched
  if (destroyItems) {
    for (TNode* node : Items()) {
      if (node->parentNode_ == owner_) node->parentNode_ = nullptr;
    }
  }
  count_ = 0;
}

TNode* TNamedNodeMap::GetNamedItem(std::u16string_view name) const {
  for (TNode* node : Items()) {
    // An attribute's name is its NodeName; other kinds are asked.
    if (node->NodeType() == AttributeNode ? node->name_ == name : node->NodeName() == name) return node;
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
