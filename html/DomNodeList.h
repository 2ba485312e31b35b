// The ordered node lists of the document model: the children of a node
// (TNodeList) and the attributes of an element (TNamedNodeMap).
//
// A list holds its nodes but does not free them: every node lives in the
// arena of the document that created it (see DomDocument.h). The list's own
// array lives there too, so a list is a few words and needs no destructor;
// a list that outgrows its array moves to one twice the size and leaves the
// old one to the arena, which costs at most as much again as the final
// arrays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dom {

class TNode;

// The items of a list as they stand; valid until the list next changes.
class TNodeSpan {
 public:
  TNodeSpan(TNode* const* items, std::size_t count) : items_(items), count_(count) {}
  TNode* const* begin() const { return items_; }
  TNode* const* end() const { return items_ + count_; }
  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  TNode* operator[](std::size_t i) const { return items_[i]; }

 private:
  TNode* const* items_;
  std::size_t count_;
};

class TNodeList {
 public:
  explicit TNodeList(TNode* owner) : owner_(owner) {}
  TNodeList(const TNodeList&) = delete;
  TNodeList& operator=(const TNodeList&) = delete;

  // The node whose list this is; nullptr for the shared list of the kinds
  // that have no children.
  TNode* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(count_); }
  // The node at index, or nullptr (not an error) when index is out of range.
  TNode* Item(int index) const;
  // Index of node, or -1 when it is not in the list.
  int IndexOf(const TNode* node) const;

  // Plain list operations; they do not touch the nodes' parent links (the
  // tree operations of TNode do that). Insert and Delete raise DomException
  // IndexSizeErr for an index out of range.
  void Insert(int index, TNode* node);
  void Delete(int index);
  void Add(TNode* node) {
    if (count_ == capacity_) Grow();
    items_[count_++] = node;
  }
  // Takes node out of the list; nothing happens when it is not there.
  void Remove(TNode* node);
  // Empties the list. With destroyItems the nodes are discarded: the ones
  // whose parent is the list's owner are detached, and their memory goes
  // back with their document's.
  void Clear(bool destroyItems);

  TNodeSpan Items() const { return {items_, count_}; }

 protected:
  // Makes room for one more item, from the owner's document.
  void Grow();

  TNode* owner_;
  TNode** items_ = nullptr;
  std::uint32_t count_ = 0;
  std::uint32_t capacity_ = 0;
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
