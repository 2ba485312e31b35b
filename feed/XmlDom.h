// The platform's XML DOM ("Microsoft.XMLDOM") for the feed and the update
// manifest: load a file or text, select nodes, read their text.
#pragma once

#include <msxml.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/ComPtr.h"

// A failing DOM call; the feed and manifest readers catch it.
class EXmlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Selection paths that match elements by local name, so a feed's default
// namespace (Atom's) or a prefix makes no difference, on Wine and Windows
// alike.
std::wstring LocalPath(const std::wstring& slashPath);

class TXmlDocument {
 public:
  // Throws EXmlError when the DOM service cannot be created.
  TXmlDocument();
  // Whether the file loaded and is well-formed.
  bool Load(const std::wstring& path);
  bool LoadXml(const std::wstring& text);

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
