// A walker over a document tree with one virtual operation per node kind;
// renderings (such as the plain text of TTextFormatter) override the ones
// they need.
//
// The walk is iterative: ProcessElement renders a whole subtree with an
// explicit stack and calls EnterElement and LeaveElement around the children
// of every element at any depth, so nesting of any depth cannot exhaust the
// call stack. Per-element behaviour therefore belongs in those two hooks.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "html/Dom.h"
#include "html/StringBuilder.h"

class TBaseFormatter {
 public:
  // Flags of NodeKinds: which kinds of node are rendered. Elements are always
  // walked.
  enum : std::uint32_t {
    KindAttribute = 2,
    KindText = 4,
    KindCDataSection = 8,
    KindEntityReference = 16,
    KindProcessingInstruction = 64,
    KindComment = 128,
    KindAll = 0xFF,
  };
  // What the output buffer reserves up front.
  static constexpr std::size_t InitialCapacity = 65530;

  TBaseFormatter() = default;
  virtual ~TBaseFormatter();
  TBaseFormatter(const TBaseFormatter&) = delete;
  TBaseFormatter& operator=(const TBaseFormatter&) = delete;

  dom::TDocument* Document() const { return document_; }
  void SetDocument(dom::TDocument* document) { document_ = document; }
  std::uint32_t NodeKinds() const { return nodeKinds_; }
  void SetNodeKinds(std::uint32_t kinds) { nodeKinds_ = kinds; }
  bool DecodeEntities() const { return decodeEntities_; }
  void SetDecodeEntities(bool decode) { decodeEntities_ = decode; }

  // The rendering of the children of element (not of element itself). The
  // output buffer starts at capacity characters and grows by doubling.
  std::u16string FormatElement(const dom::TElement& element,
                               std::size_t capacity = InitialCapacity);
  // The same, handed to take as a view of the output buffer, valid during
  // the call: for callers that convert the text further and need no copy.
  void FormatElementWith(const dom::TElement& element, std::size_t capacity,
                         const std::function<void(std::u16string_view)>& take);
  // The rendering of Document()'s document element (empty without one).
  std::u16string FormatDocument();

 protected:
  virtual void AppendText(std::u16string_view text);
  virtual void ProcessAttribute(const dom::TAttr& attr);
  virtual void ProcessAttributes(const dom::TElement& element);
  virtual void ProcessCDATASection(const dom::TCDATASection& node);
  virtual void ProcessComment(const dom::TComment& node);
  virtual void ProcessDocument();
  virtual void ProcessElement(const dom::TElement& element);
  virtual void ProcessEntityReference(const dom::TEntityReference& node);
  virtual void ProcessProcessingInstruction(const dom::TProcessingInstruction& node);
  virtual void ProcessTextNode(const dom::TTextNode& node);
  virtual void EnterElement(const dom::TElement&) {}
  virtual void LeaveElement(const dom::TElement&) {}
  // Whether the children of element are walked. An element that says no is
  // still entered and left, so it renders exactly as if it were empty.
  virtual bool RendersContent(const dom::TElement&) const { return true; }

  // Renders node according to its kind and NodeKinds.
  void Dispatch(const dom::TNode& node);
  // Renders the children of node and everything below them.
  void WalkChildren(const dom::TNode& node);

  TStringBuilder& Builder() { return *builder_; }

  bool preserveWhitespace_ = false;

 private:
  // Renders leaves (anything but an element).
  void DispatchLeaf(const dom::TNode& node);
  template <class Render>
  void Run(std::size_t capacity, Render render, const std::function<void(std::u16string_view)>& take);

  // The largest output buffer (in characters) kept for the next run.
  static constexpr std::size_t RetainedCapacity = 2 * 1024 * 1024;
  // The deepest walk whose stack is kept.
  static constexpr std::size_t RetainedDepth = 4096;

  struct TWalkFrame {
    const dom::TNode* node;
    dom::TNodeSpan children;  // the tree does not change while it is rendered
    std::size_t next;
  };

  dom::TDocument* document_ = nullptr;
  std::unique_ptr<TStringBuilder> builder_;
  std::vector<TWalkFrame> walk_;  // WalkChildren's stack
  std::uint32_t nodeKinds_ = KindAll;
  bool decodeEntities_ = false;
};
