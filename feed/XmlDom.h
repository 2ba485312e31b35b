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

// What the DOM is told to refuse, for text from the network: any DTD, more
// than this many units of 1024 characters (16 Mi characters: no feed file
// may be larger than 16 MiB), elements nested deeper than this.
inline constexpr long MaxXmlKiloChars = 16 * 1024;
inline constexpr long MaxXmlElementDepth = 256;

// Which of those limits this MSXML confirmed: the property was accepted and
// reads back as set. Wine's MSXML accepts "ProhibitDTD" and ignores it, and
// rejects the two size limits; MSXML 3 before SP5 knows none of them.
struct TXmlGuards {
  bool ProhibitDtd = false;
  bool MaxSize = false;
  bool MaxDepth = false;
};

// Whether the text declares a DOCTYPE before its first element.
bool HasDoctype(const std::wstring& text);
// Whether elements in the text nest deeper than depth. A plain scan of the
// tags (comments, CDATA sections, processing instructions and quoted
// attribute values skipped): text it misreads is not well-formed and the
// DOM refuses it anyway.
bool NestsDeeperThan(const std::wstring& text, long depth);

// Whether the text holds a character XML forbids (a control character other
// than tab, line feed and carriage return, a NUL, U+FFFE, U+FFFF).
bool HasForbiddenCharacters(const std::wstring& text);
// Whether an element or attribute name uses a prefix that no xmlns:
// attribute anywhere in the text declares (where in the text is not
// checked: feeds declare their prefixes on the root).
bool UsesUndeclaredPrefix(const std::wstring& text);

class TXmlDocument {
 public:
  // Throws EXmlError when the DOM service cannot be created.
  TXmlDocument();
  // Whether the text (the document itself, already decoded, with no XML
  // declaration of an encoding that would contradict it) is well-formed.
  // Every limit above holds whether or not the DOM confirmed it: text that
  // needs a limit the DOM did not confirm is checked here first, and text
  // past it is refused without being parsed. So is text with a prefix it
  // never declares or a character XML forbids, which every DOM must refuse.
  bool LoadXml(const std::wstring& text);
  const TXmlGuards& DomGuards() const { return guards_; }
  // The root element, or an empty pointer before a successful load.
  ComPtr<IXMLDOMNode> DocumentElement() const;

  IXMLDOMNode* Root() const { return reinterpret_cast<IXMLDOMNode*>(doc_.Get()); }

 private:
  ComPtr<IXMLDOMDocument> doc_;
  TXmlGuards guards_;
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
