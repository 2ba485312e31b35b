#include "html/BaseFormatter.h"

#include <utility>
#include <vector>

#include "html/Entities.h"

using namespace dom;

TBaseFormatter::~TBaseFormatter() = default;

template <class Render>
void TBaseFormatter::Run(std::size_t capacity, Render render,
                         const std::function<void(std::u16string_view)>& take) {
  // The builder is kept from run to run, unless a long text made it large;
  // that is decided on every path, a throw included.
  struct TTrim {
    std::unique_ptr<TStringBuilder>& builder;
    std::vector<TWalkFrame>& walk;
    ~TTrim() {
      if (builder && builder->Capacity() > RetainedCapacity) builder.reset();
      if (walk.capacity() > RetainedDepth) std::vector<TWalkFrame>().swap(walk);
    }
  } trim{builder_, walk_};
  if (builder_)
    builder_->Clear();
  else
    builder_ = std::make_unique<TStringBuilder>(capacity);
  preserveWhitespace_ = false;
  render();
  take(builder_->View());
}

std::u16string TBaseFormatter::FormatElement(const TElement& element, std::size_t capacity) {
  std::u16string text;
  FormatElementWith(element, capacity, [&](std::u16string_view view) { text.assign(view); });
  return text;
}

void TBaseFormatter::FormatElementWith(const TElement& element, std::size_t capacity,
                                       const std::function<void(std::u16string_view)>& take) {
  Run(
      capacity, [&] { for (const TNode* child : element.ChildNodes().Items()) Dispatch(*child); }, take);
}

std::u16string TBaseFormatter::FormatDocument() {
  std::u16string text;
  Run(InitialCapacity, [&] { ProcessDocument(); }, [&](std::u16string_view view) { text.assign(view); });
  return text;
}

void TBaseFormatter::AppendText(std::u16string_view text) { builder_->Append(text); }

void TBaseFormatter::ProcessAttribute(const TAttr& attr) {
  for (const TNode* child : attr.ChildNodes().Items()) DispatchLeaf(*child);
}

void TBaseFormatter::ProcessAttributes(const TElement& element) {
  if (!(nodeKinds_ & KindAttribute)) return;
  for (const TNode* attr : element.Attributes().Items()) {
    if (attr->NodeType() == AttributeNode) ProcessAttribute(*static_cast<const TAttr*>(attr));
  }
}

void TBaseFormatter::ProcessCDATASection(const TCDATASection&) {}

void TBaseFormatter::ProcessComment(const TComment& node) {
  std::u16string text;
  text.reserve(node.Data().size() + 7);
  text.append(u"<!--").append(node.Data()).append(u"-->");
  AppendText(text);
}

void TBaseFormatter::ProcessDocument() {
  if (!document_) return;
  if (const TElement* root = document_->DocumentElement()) ProcessElement(*root);
}

void TBaseFormatter::ProcessElement(const TElement& element) {
  EnterElement(element);
  if (RendersContent(element)) WalkChildren(element);
  LeaveElement(element);
}

void TBaseFormatter::ProcessEntityReference(const TEntityReference& node) {
  if (decodeEntities_) {
    // No entity name has a ":", so one with a prefix is unknown: a space.
    const char16_t c = node.Prefix().empty() ? static_cast<char16_t>(EntityCode(node.LocalName())) : u' ';
    AppendText(std::u16string_view(&c, 1));
    return;
  }
  const std::u16string name = node.NodeName();
  std::u16string text;
  text.reserve(name.size() + 2);
  text.append(1, u'&').append(name).append(1, u';');
  AppendText(text);
}

void TBaseFormatter::ProcessProcessingInstruction(const TProcessingInstruction&) {}

void TBaseFormatter::ProcessTextNode(const TTextNode& node) { AppendText(node.Data()); }

void TBaseFormatter::Dispatch(const TNode& node) {
  if (node.NodeType() == ElementNode)
    ProcessElement(static_cast<const TElement&>(node));
  else
    DispatchLeaf(node);
}

void TBaseFormatter::DispatchLeaf(const TNode& node) {
  switch (node.NodeType()) {
    case TextNode:
      if (nodeKinds_ & KindText) ProcessTextNode(static_cast<const TTextNode&>(node));
      break;
    case CDataSectionNode:
      if (nodeKinds_ & KindCDataSection) ProcessCDATASection(static_cast<const TCDATASection&>(node));
      break;
    case EntityReferenceNode:
      if (nodeKinds_ & KindEntityReference)
        ProcessEntityReference(static_cast<const TEntityReference&>(node));
      break;
    case ProcessingInstructionNode:
      if (nodeKinds_ & KindProcessingInstruction)
        ProcessProcessingInstruction(static_cast<const TProcessingInstruction&>(node));
      break;
    case CommentNode:
      if (nodeKinds_ & KindComment) ProcessComment(static_cast<const TComment&>(node));
      break;
    default:
      break;
  }
}

void TBaseFormatter::WalkChildren(const TNode& node) {
  // The stack is a member, kept from call to call; a walk started from
  // inside another (by an override) works above the outer walk's frames.
  std::vector<TWalkFrame>& stack = walk_;
  const std::size_t base = stack.size();
  stack.push_back({&node, node.ChildNodes().Items(), 0});
  while (stack.size() > base) {
    TWalkFrame& frame = stack.back();
    if (frame.next == frame.children.size()) {
      const TNode* done = frame.node;
      stack.pop_back();
      if (stack.size() > base) LeaveElement(static_cast<const TElement&>(*done));
      continue;
    }
    const TNode* child = frame.children[frame.next++];
    if (child->NodeType() == ElementNode) {
      const auto& element = static_cast<const TElement&>(*child);
      EnterElement(element);
      // An element whose content is not rendered gets a frame without
      // children: it is left at once, in its place.
      const TNodeSpan children =
          RendersContent(element) ? child->ChildNodes().Items() : TNodeSpan(nullptr, 0);
      stack.push_back({child, children, 0});  // invalidates frame; it is not used again
    } else {
      DispatchLeaf(*child);
    }
  }
}
