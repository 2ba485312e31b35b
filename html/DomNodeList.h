// The ordered node lists of the document model: the children of a node
// (TNodeList) and the attributes of an element (TNamedNodeMap).
//
// A list holds its nodes but does not free them: every node lives in the
// arena of the document that created it (see DomDocument.h).
#pragma once

#include <string_view>
#include <vector>

namespace dom {

class TNode;

class TNodeList {
 public:
  explicit TNodeList(TNode* owner) : owner_(owner) {}
  TNodeList(const TNodeList&) = delete;
  TNodeList& operator=(const TNodeList&) = delete;

  TNode* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // The node at index, or nullptr (not an error) when index is out of range.
  TNode* Item(int index) const;
  // Index of node, or -1 when it is not in the list.
  int IndexOf(const TNode* node) const;

  // Plain list operations; they do not touch the nodes' parent links (the
  // tree operations of TNode do that). Insert and Delete raise DomException
  // IndexSizeErr for an index out of range.
  void Insert(int index, TNode* node);
  void Delete(int index);
  void Add(TNode* node);
  // Takes node out of the list; nothing happens when it is not there.
  void Remove(TNode* node);
  // Empties the list. With destroyItems the nodes are discarded: the ones
  // whose parent is the list's owner are detached, and their memory goes
  // back with their document's.
  void Clear(bool destroyItems);

  const std::vector<TNode*>& Items() const { return items_; }

 protected:
  TNode* owner_;
  std::vector<TNode*> items_;
};

// The attributes of an element, found by qualified name.
class TNamedNodeMap : public TNodeList {
 public:
  using TNodeList::TNodeList;

  // The first item whose NodeName equals name exactly (case-sensitive), or
  // nullptr.
  TNode* GetNamedItem(std::u16string_view name) const;
  // Adds node, first taking out (not freeing) an item of the same NodeName,
  // which is returned (nullptr when there was none). Raises WrongDocumentErr
  // for a node of another document and InuseAttributeErr for an attribute
  // that belongs to another element.
  TNode* SetNamedItem(TNode* node);
};

}  // namespace dom
