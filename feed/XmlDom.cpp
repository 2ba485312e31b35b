#include "feed/XmlDom.h"

#include <msxml2.h>

namespace {

// Missing from mingw's libuuid.
const IID IID_IXMLDOMDocument2_ = {0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

void Check(HRESULT hr, const char* what) {
  if (FAILED(hr)) throw EXmlError(what);
}

// In blocks of 1024 characters: far above any feed, far below what would
// exhaust memory.
constexpr long MaxXmlKiloChars = 32 * 1024;

void SetProperty(IXMLDOMDocument* doc, const wchar_t* name, const VARIANT& value) {
  ComPtr<IXMLDOMDocument2> doc2;
  if (FAILED(doc->QueryInterface(IID_IXMLDOMDocument2_, reinterpret_cast<void**>(doc2.Put())))) return;
  UniqueBstr key(name);
  doc2->setProperty(key.Get(), value);
}

void SetProperty(IXMLDOMDocument* doc, const wchar_t* name, const wchar_t* value) {
  UniqueVariant v(value);
  SetProperty(doc, name, v.Get());
}

void SetProperty(IXMLDOMDocument* doc, const wchar_t* name, long value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  SetProperty(doc, name, v);
}

}  // namespace

TXmlDocument::TXmlDocument() {
  CLSID clsid;
  Check(::CLSIDFromProgID(L"Microsoft.XMLDOM", &clsid), "Microsoft.XMLDOM is not registered");
  Check(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                           reinterpret_cast<void**>(doc_.Put())),
        "Microsoft.XMLDOM could not be created");
  // Downloads are loaded synchronously, never reach out for DTDs or external
  // entities, and select with XPath so that local-name() is understood.
  // The feed reader removes any DOCTYPE before the DOM sees the text, so
  // "ProhibitDTD" (false by default in MSXML 3, which "Microsoft.XMLDOM"
  // is) only backs that up. MSXML 3 puts no limit on depth or size either;
  // Wine ignores all three.
  doc_->put_async(VARIANT_FALSE);
  doc_->put_resolveExternals(VARIANT_FALSE);
  doc_->put_validateOnParse(VARIANT_FALSE);
  SetProperty(doc_.Get(), L"SelectionLanguage", L"XPath");
  SetProperty(doc_.Get(), L"ProhibitDTD", L"true");
  SetProperty(doc_.Get(), L"MaxElementDepth", 256);
  SetProperty(doc_.Get(), L"MaxXMLSize", MaxXmlKiloChars);
}

bool TXmlDocument::Load(const std::wstring& path) {
  UniqueVariant source(path.c_str());
  VARIANT_BOOL ok = VARIANT_FALSE;
  Check(doc_->load(source.Get(), &ok), "load");
  return ok == VARIANT_TRUE;
}

bool TXmlDocument::LoadXml(const std::wstring& text) {
  // With its length: a NUL inside must fail the parse, not cut the text.
  UniqueBstr source;
  *source.Put() = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!source.Get()) throw EXmlError("out of memory");
  VARIANT_BOOL ok = VARIANT_FALSE;
  Check(doc_->loadXML(source.Get(), &ok), "loadXML");
  return ok == VARIANT_TRUE;
}

ComPtr<IXMLDOMNode> TXmlDocument::DocumentElement() const {
  IXMLDOMElement* root = nullptr;
  Check(doc_->get_documentElement(&root), "documentElement");
  return ComPtr<IXMLDOMNode>(root);  // an element is a node: the reference passes on
}

std::vector<ComPtr<IXMLDOMNode>> SelectNodes(IXMLDOMNode* node, const std::wstring& path) {
  std::vector<ComPtr<IXMLDOMNode>> nodes;
  UniqueBstr query(path.c_str());
  ComPtr<IXMLDOMNodeList> list;
  Check(node->selectNodes(query.Get(), list.Put()), "selectNodes");
  if (!list) return nodes;
  long length = 0;
  Check(list->get_length(&length), "length");
  for (long i = 0; i < length; ++i) {
    ComPtr<IXMLDOMNode> item;
    Check(list->get_item(i, item.Put()), "item");
    if (item) nodes.push_back(std::move(item));
  }
  return nodes;
}

ComPtr<IXMLDOMNode> SelectSingleNode(IXMLDOMNode* node, const std::wstring& path) {
  UniqueBstr query(path.c_str());
  ComPtr<IXMLDOMNode> found;
  // S_FALSE with no node: nothing matched.
  Check(node->selectSingleNode(query.Get(), found.Put()), "selectSingleNode");
  return found;
}

std::wstring NodeText(IXMLDOMNode* node) {
  UniqueBstr text;
  Check(node->get_text(text.Put()), "text");
  return text.Str();
}

TXmlName NodeName(IXMLDOMNode* node) {
  TXmlName name;
  UniqueBstr uri, local;
  Check(node->get_namespaceURI(uri.Put()), "namespaceURI");
  Check(node->get_baseName(local.Put()), "baseName");
  name.Uri = uri.Str();
  name.Local = local.Str();
  return name;
}

namespace {

// Calls visit(child) for each element child in document order until it
// returns false; the next sibling is fetched first, so visit may take the
// child away.
template <class TVisit>
void EachChildElement(IXMLDOMNode* node, TVisit&& visit) {
  ComPtr<IXMLDOMNode> child;
  Check(node->get_firstChild(child.Put()), "firstChild");
  while (child) {
    DOMNodeType type = NODE_INVALID;
    Check(child->get_nodeType(&type), "nodeType");
    ComPtr<IXMLDOMNode> next;
    Check(child->get_nextSibling(next.Put()), "nextSibling");
    if (type == NODE_ELEMENT && !visit(child)) return;
    child = std::move(next);
  }
}

}  // namespace

std::vector<ComPtr<IXMLDOMNode>> ChildElements(IXMLDOMNode* node) {
  std::vector<ComPtr<IXMLDOMNode>> children;
  EachChildElement(node, [&](ComPtr<IXMLDOMNode>& child) {
    children.push_back(std::move(child));
    return true;
  });
  return children;
}

ComPtr<IXMLDOMNode> FirstChild(IXMLDOMNode* node, const TXmlName& name) {
  for (auto& child : ChildElements(node))
    if (NodeName(child.Get()) == name) return std::move(child);
  return {};
}

bool AttributeValue(IXMLDOMNode* node, const wchar_t* name, std::wstring& value) {
  ComPtr<IXMLDOMNamedNodeMap> attributes;
  Check(node->get_attributes(attributes.Put()), "attributes");
  if (!attributes) return false;
  UniqueBstr key(name);
  ComPtr<IXMLDOMNode> attribute;
  Check(attributes->getNamedItem(key.Get(), attribute.Put()), "getNamedItem");
  if (!attribute) return false;
  value = NodeText(attribute.Get());
  return true;
}

void VisitChildElements(IXMLDOMNode* node,
                        const std::function<bool(ComPtr<IXMLDOMNode>& child, const std::wstring& local)>& visit) {
  EachChildElement(node, [&](ComPtr<IXMLDOMNode>& child) {
    UniqueBstr local;
    Check(child->get_baseName(local.Put()), "baseName");
    return visit(child, local.Str());
  });
}

bool HasNamespace(IXMLDOMNode* node, const std::wstring& uri) {
  UniqueBstr name;
  Check(node->get_namespaceURI(name.Put()), "namespaceURI");
  size_t length = name.Get() ? ::SysStringLen(name.Get()) : 0;
  return length == uri.size() && uri.compare(0, length, name.Get() ? name.Get() : L"", length) == 0;
}
