// The chain of open elements of the tree builder: the elements from the
// document element down to the current node, indexed by tag and by name.
//
// The builder's rules are written as upward walks from the current node
// ("the nearest ancestor that is a list", "the nearest element of this
// name"). Walked literally they cost the depth of the tree per tag, which is
// quadratic on deeply nested input; with this index each answer costs a few
// look-ups and every element is pushed and popped once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "html/DomNodes.h"
#include "html/HtmlTags.h"

class THtmlParserOpenElements {
 public:
  static constexpr std::size_t None = static_cast<std::size_t>(-1);

  THtmlParserOpenElements() : templates_(&byName_[u"template"]) {}
  THtmlParserOpenElements(const THtmlParserOpenElements&) = delete;
  THtmlParserOpenElements& operator=(const THtmlParserOpenElements&) = delete;

  bool Empty() const { return chain_.empty(); }
  std::size_t Depth() const { return chain_.size(); }
  dom::TElement* Top() const { return chain_.empty() ? nullptr : chain_.back().element; }
  dom::TElement* At(std::size_t index) const { return chain_[index].element; }

  // Makes the chain the elements from the document element down to node
  // (an element or the document, which gives an empty chain).
  void Reset(dom::TNode* node);
  // element has become the current node, as a child of Top().
  void Push(dom::TElement* element, std::int32_t tagNumber);
  // Keeps the first depth entries.
  void PopTo(std::size_t depth);

  // Index of the nearest (deepest) element whose tag number is in tags, or
  // None.
  std::size_t NearestOf(const THtmlTagSet& tags) const;
  // Index of the nearest element called name (tagNumber is its number in the
  // tag table, 0 when unlisted), or None.
  std::size_t NearestNamed(std::u16string_view name, std::int32_t tagNumber) const;
  // Index of the nearest "template", or None. The builder's rules stop at it:
  // nothing inside a template looks for a parent or an element to close
  // outside it.
  std::size_t NearestTemplate() const { return templates_->empty() ? None : templates_->back(); }

 private:
  struct TEntry {
    dom::TElement* element;
    std::int32_t tagNumber;
    std::vector<std::uint32_t>* byName;  // for unlisted names only
  };

  static constexpr std::size_t MaxNames = 64;

  // prefix ":" name (name alone without a prefix), in key_.
  const std::u16string& Key(std::u16string_view prefix, std::u16string_view name) const;

  std::vector<TEntry> chain_;
  // Chain indexes, ascending, of the open elements of each listed tag ...
  std::array<std::vector<std::uint32_t>, HtmlTagCount + 1> byTag_;
  // The listed tags that have an open element (a non-empty byTag_ entry).
  THtmlTagSet openTags_;
  // ... and of each unlisted name. Vectors stay put when the map rehashes.
  std::unordered_map<std::u16string, std::vector<std::uint32_t>> byName_;
  // The entry of "template" (not in the tag table), found once.
  std::vector<std::uint32_t>* templates_;
  mutable std::u16string key_;
  std::vector<dom::TElement*> resetScratch_;
};
