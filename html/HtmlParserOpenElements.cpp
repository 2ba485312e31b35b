#include "html/HtmlParserOpenElements.h"

#include <algorithm>

void THtmlParserOpenElements::Reset(dom::TNode* node) {
  PopTo(0);
  std::vector<dom::TElement*> elements;
  for (dom::TNode* n = node; n && n->NodeType() == dom::ElementNode; n = n->ParentNode())
    elements.push_back(static_cast<dom::TElement*>(n));
  for (auto it = elements.rbegin(); it != elements.rend(); ++it)
    Push(*it, HtmlTagList().GetTag((*it)->NodeName()).Number);
}

void THtmlParserOpenElements::Push(dom::TElement* element, std::int32_t tagNumber) {
  const auto index = static_cast<std::uint32_t>(chain_.size());
  std::vector<std::uint32_t>* byName = nullptr;
  if (tagNumber > 0 && tagNumber <= HtmlTagCount) {
    byTag_[static_cast<std::size_t>(tagNumber)].push_back(index);
  } else {
    tagNumber = 0;
    byName = &byName_[element->NodeName()];
    byName->push_back(index);
  }
  chain_.push_back({element, tagNumber, byName});
}

void THtmlParserOpenElements::PopTo(std::size_t depth) {
  while (chain_.size() > depth) {
    const TEntry& top = chain_.back();
    if (top.byName)
      top.byName->pop_back();
    else
      byTag_[static_cast<std::size_t>(top.tagNumber)].pop_back();
    chain_.pop_back();
  }
}

std::size_t THtmlParserOpenElements::NearestOf(const THtmlTagSet& tags) const {
  std::size_t nearest = None;
  for (std::int32_t tag = 1; tag <= HtmlTagCount; ++tag) {
    const auto& indexes = byTag_[static_cast<std::size_t>(tag)];
    if (indexes.empty() || !tags.Contains(tag)) continue;
    if (nearest == None || indexes.back() > nearest) nearest = indexes.back();
  }
  return nearest;
}

std::size_t THtmlParserOpenElements::NearestNamed(std::u16string_view name,
                                                  std::int32_t tagNumber) const {
  if (tagNumber > 0 && tagNumber <= HtmlTagCount) {
    const auto& indexes = byTag_[static_cast<std::size_t>(tagNumber)];
    return indexes.empty() ? None : indexes.back();
  }
  auto it = byName_.find(std::u16string(name));
  if (it == byName_.end() || it->second.empty()) return None;
  return it->second.back();
}
