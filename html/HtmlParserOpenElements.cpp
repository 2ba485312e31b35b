#include "html/HtmlParserOpenElements.h"

#include <algorithm>

void THtmlParserOpenElements::Reset(dom::TNode* node) {
  std::vector<dom::TElement*>& elements = resetScratch_;
  elements.clear();
  for (dom::TNode* n = node; n && n->NodeType() == dom::ElementNode; n = n->ParentNode())
    elements.push_back(static_cast<dom::TElement*>(n));
  std::reverse(elements.begin(), elements.end());
  // The outer part of the chain is mostly right already (the root and the
  // body when text falls back to the body): it stays, and only the rest is
  // rebuilt. Within one document no two elements share an address.
  std::size_t keep = 0;
  while (keep < chain_.size() && keep < elements.size() && chain_[keep].element == elements[keep]) ++keep;
  PopTo(keep);
  // A parser lives on from input to input: names seen once are forgotten
  // before they add up. Nothing open refers to them any more.
  if (keep == 0 && byName_.size() > MaxNames) {
    byName_.clear();
    templates_ = &byName_[u"template"];
  }
  for (std::size_t i = keep; i < elements.size(); ++i) {
    dom::TElement* element = elements[i];
    Push(element, element->Prefix().empty() ? HtmlTagList().GetTag(element->LocalName()).Number : TagUnlisted);
  }
}

void THtmlParserOpenElements::Push(dom::TElement* element, std::int32_t tagNumber) {
  const auto index = static_cast<std::uint32_t>(chain_.size());
  std::vector<std::uint32_t>* byName = nullptr;
  if (tagNumber > 0 && tagNumber <= HtmlTagCount) {
    byTag_[static_cast<std::size_t>(tagNumber)].push_back(index);
    openTags_.Include(tagNumber);
  } else {
    tagNumber = 0;
    byName = &byName_[Key(element->Prefix(), element->LocalName())];
    byName->push_back(index);
  }
  chain_.push_back({element, tagNumber, byName});
}

void THtmlParserOpenElements::PopTo(std::size_t depth) {
  while (chain_.size() > depth) {
    const TEntry& top = chain_.back();
    if (top.byName)
      top.byName->pop_back();
    else if (auto& indexes = byTag_[static_cast<std::size_t>(top.tagNumber)]; indexes.pop_back(), indexes.empty())
      openTags_.Exclude(top.tagNumber);
    chain_.pop_back();
  }
}

const std::u16string& THtmlParserOpenElements::Key(std::u16string_view prefix, std::u16string_view name) const {
  // One buffer for every look-up: the map wants a string, and a new one per
  // element would be a trip to the heap each time.
  key_.assign(prefix);
  if (!prefix.empty()) key_.push_back(u':');
  key_.append(name);
  return key_;
}

std::size_t THtmlParserOpenElements::NearestOf(const THtmlTagSet& tags) const {
  // Only the tags both asked for and open: mostly none or one.
  std::size_t nearest = None;
  (tags & openTags_).ForEach([&](std::int32_t tag) {
    const std::size_t index = byTag_[static_cast<std::size_t>(tag)].back();
    if (nearest == None || index > nearest) nearest = index;
  });
  return nearest;
}

std::size_t THtmlParserOpenElements::NearestNamed(std::u16string_view name,
                                                  std::int32_t tagNumber) const {
  if (tagNumber > 0 && tagNumber <= HtmlTagCount) {
    const auto& indexes = byTag_[static_cast<std::size_t>(tagNumber)];
    return indexes.empty() ? None : indexes.back();
  }
  auto it = byName_.find(Key({}, name));
  if (it == byName_.end() || it->second.empty()) return None;
  return it->second.back();
}
