// The platform's XML DOM ("Microsoft.XMLDOM") for the feed and the update
// manifest: load a file or text, select nodes, read their text.
#pragma once

#include <msxml.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/ComPtr.h"

// A failing DOM call; the feed and manifest readers catch it.
class EXmlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TXmlDocument {
 public:
  // Throws EXmlError when the DOM service cannot be created.
  TXmlDocument();
  // Whether the file loaded and is well-formed.
  bool Load(const std::wstring& path);
  // Whether the text (the document itself, already decoded, with no XML
  // declaration of an encoding that would contradict it) is well-formed.
  bool LoadXml(const std::wstring& text);
  // The root element, or an empty pointer before a successful load.
  ComPtr<IXMLDOMNode> DocumentElement() const;

  IXMLDOMNode* Root() const { return reinterpret_cast<IXMLDOMNode*>(doc_.Get()); }

 private:
  ComPtr<IXMLDOMDocument> doc_;
};

// Nodes selected by an XPath below node; empty when none match.
std::vector<ComPtr<IXMLDOMNode>> SelectNodes(IXMLDOMNode* node, const std::wstring& path);
// The first node selected, or an empty pointer.
ComPtr<IXMLDOMNode> SelectSingleNode(IXMLDOMNode* node, const std::wstring& path);
// The node's text content (an attribute's value), entities decoded.
std::wstring NodeText(IXMLDOMNode* node);

// An element's expanded name: namespace URI (empty for none) and local name.
// Prefixes never matter.
struct TXmlName {
  std::wstring Uri;
  std::wstring Local;
  bool operator==(const TXmlName& o) const { return Uri == o.Uri && Local == o.Local; }
};
TXmlName NodeName(IXMLDOMNode* node);
// The element children of node, in document order. Walking the tree instead
// of selecting keeps the result free of the selection language, which
// differs between MSXML versions and Wine.
std::vector<ComPtr<IXMLDOMNode>> ChildElements(IXMLDOMNode* node);
// The first element child with this expanded name, or an empty pointer.
ComPtr<IXMLDOMNode> FirstChild(IXMLDOMNode* node, const TXmlName& name);
// The value of an attribute without namespace, when the element has it.
bool AttributeValue(IXMLDOMNode* node, const wchar_t* name, std::wstring& value);
// Visits the element children of node in document order with their local
// names, until visit returns false; visit may keep the child by moving it
// out. One walk where several FirstChild calls would walk the children
// once each, and a child's namespace is asked only when its local name is
// one the caller wants (see HasNamespace).
void VisitChildElements(IXMLDOMNode* node,
                        const std::function<bool(ComPtr<IXMLDOMNode>& child, const std::wstring& local)>& visit);
// Whether the node's namespace URI is uri (empty for none).
bool HasNamespace(IXMLDOMNode* node, const std::wstring& uri);
