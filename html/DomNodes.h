// The node kinds of the document model below the document itself. Nodes are
// created only by their document (TDocument::Create...), which owns them.
#pragma once

#include <string>
#include <string_view>

#include "html/DomNode.h"

namespace dom {

class TAttr;

class TElement : public TParentNode {
 public:
  int NodeType() const override { return ElementNode; }
  // Every kind except entity, document, document type and notation.
  bool AllowsChild(const TNode& node) const override;
  TNode* ImportInto(TDocument& document) const override;

  TNamedNodeMap& Attributes() { return attributes_; }
  const TNamedNodeMap& Attributes() const { return attributes_; }
  TAttr* GetAttributeNode(std::u16string_view name) const;
  bool HasAttribute(std::u16string_view name) const;
  // The value of the attribute called name, or empty when there is none.
  std::u16string GetAttribute(std::u16string_view name) const;
  // Attaches attr, displacing an attribute of the same name, which loses its
  // owner and is returned (nullptr when there was none). Raises
  // InuseAttributeErr when attr already has an owner element.
  TAttr* SetAttributeNode(TAttr* attr);

 private:
  using TParentNode::TParentNode;
  TNamedNodeMap attributes_{this};
  friend class TDocument;
};

class TAttr : public TParentNode {
 public:
  int NodeType() const override { return AttributeNode; }
  // Text and entity references only.
  bool AllowsChild(const TNode& node) const override;
  TNode* ImportInto(TDocument& document) const override;
  // The text children in order, each entity reference as the character the
  // entity table gives for it (a space for an unknown name).
  std::u16string NodeValue() const override;
  // Replaces the children by one text node holding text.
  void SetNodeValue(const std::u16string& text) override;
  TElement* OwnerElement() const { return static_cast<TElement*>(parentNode_); }

 private:
  using TParentNode::TParentNode;
  friend class TDocument;
};

class TCharacterData : public TNode {
 public:
  std::u16string NodeValue() const override { return std::u16string(value_); }
  void SetNodeValue(const std::u16string& text) override;
  std::u16string_view Data() const { return value_; }
  int Length() const { return static_cast<int>(value_.size()); }

 protected:
  // value is kept by the owner document (see TDocument::Store).
  TCharacterData(TDocument* ownerDocument, std::u16string_view value)
      : TNode(ownerDocument), value_(value) {}
  std::u16string_view value_;
};

class TTextNode : public TCharacterData {
 public:
  int NodeType() const override { return TextNode; }
  std::u16string NodeName() const override { return u"#text"; }
  TNode* ImportInto(TDocument& document) const override;

 protected:
  using TCharacterData::TCharacterData;
  friend class TDocument;
};

class TCDATASection : public TTextNode {
 public:
  int NodeType() const override { return CDataSectionNode; }
  std::u16string NodeName() const override { return u"#cdata-section"; }
  TNode* ImportInto(TDocument& document) const override;

 private:
  using TTextNode::TTextNode;
  friend class TDocument;
};

class TComment : public TCharacterData {
 public:
  int NodeType() const override { return CommentNode; }
  std::u16string NodeName() const override { return u"#comment"; }
  TNode* ImportInto(TDocument& document) const override;

 private:
  using TCharacterData::TCharacterData;
  friend class TDocument;
};

class TEntityReference : public TNode {
 public:
  int NodeType() const override { return EntityReferenceNode; }
  TNode* ImportInto(TDocument& document) const override;

 private:
  using TNode::TNode;
  friend class TDocument;
};

// The target is kept as the name (LocalName), the data in NodeValue.
class TProcessingInstruction : public TNode {
 public:
  int NodeType() const override { return ProcessingInstructionNode; }
  TNode* ImportInto(TDocument& document) const override;
  std::u16string NodeValue() const override { return std::u16string(data_); }
  std::u16string_view Target() const { return name_; }

 private:
  TProcessingInstruction(TDocument* ownerDocument, std::u16string_view target, std::u16string_view data)
      : TNode(ownerDocument, target), data_(data) {}
  std::u16string_view data_;
  friend class TDocument;
};

class TDocumentType final : public TNode {
 public:
  int NodeType() const override { return DocumentTypeNode; }
  const std::u16string& PublicId() const { return publicId_; }
  const std::u16string& SystemId() const { return systemId_; }

 private:
  // A document type may exist before any document does, so it keeps its own
  // name; the node's view points into it.
  TDocumentType(std::u16string name, std::uint32_t prefixLength, std::u16string publicId,
                std::u16string systemId);
  std::u16string nameStore_;
  std::u16string publicId_;
  std::u16string systemId_;
  friend class TDocument;
  friend class DomImplementation;
};

}  // namespace dom
