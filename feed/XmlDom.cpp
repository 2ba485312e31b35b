#include "feed/XmlDom.h"

#include <msxml2.h>

#include <string>
#include <unordered_set>

namespace {

// Missing from mingw's libuuid.
const IID IID_IXMLDOMDocument2_ = {0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

void Check(HRESULT hr, const char* what) {
  if (FAILED(hr)) throw EXmlError(what);
}

// Sets a second-level property and reads it back: true only when the DOM
// accepted it and reports the value that was set.
bool SetConfirmed(IXMLDOMDocument2* doc, const wchar_t* name, const VARIANT& value) {
  if (!doc) return false;
  UniqueBstr key(name);
  if (FAILED(doc->setProperty(key.Get(), value))) return false;
  UniqueVariant back;
  if (FAILED(doc->getProperty(key.Get(), back.Put()))) return false;
  const VARIANT& got = back.Get();
  if (value.vt == VT_BOOL) return got.vt == VT_BOOL && got.boolVal == value.boolVal;
  VARIANT number;
  ::VariantInit(&number);
  if (FAILED(::VariantChangeType(&number, const_cast<VARIANT*>(&got), 0, VT_I4))) return false;
  return number.lVal == value.lVal;
}

VARIANT BoolVariant(bool value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT LongVariant(long value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

bool StartsAt(const std::wstring& s, size_t i, const wchar_t* prefix) {
  for (size_t k = 0; prefix[k]; ++k)
    if (i + k >= s.size() || s[i + k] != prefix[k]) return false;
  return true;
}

// Index just past the end marker searched from i, or the text's end.
size_t PastMarker(const std::wstring& s, size_t i, const wchar_t* marker) {
  size_t at = s.find(marker, i);
  return at == std::wstring::npos ? s.size() : at + std::char_traits<wchar_t>::length(marker);
}

// Index just past the '>' that ends the tag starting at i; '>' inside a
// quoted attribute value does not end it.
size_t PastTag(const std::wstring& s, size_t i) {
  wchar_t quote = 0;
  for (; i < s.size(); ++i) {
    wchar_t c = s[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == L'"' || c == L'\'') {
      quote = c;
    } else if (c == L'>') {
      return i + 1;
    }
  }
  return s.size();
}

}  // namespace

bool HasDoctype(const std::wstring& text) {
  for (size_t i = text.find(L'<'); i != std::wstring::npos; i = text.find(L'<', i)) {
    if (StartsAt(text, i, L"<?")) {
      i = PastMarker(text, i, L"?>");
    } else if (StartsAt(text, i, L"<!--")) {
      i = PastMarker(text, i + 4, L"-->");
    } else {
      return StartsAt(text, i, L"<!DOCTYPE");
    }
  }
  return false;
}

bool NestsDeeperThan(const std::wstring& text, long depth) {
  long open = 0;
  for (size_t i = text.find(L'<'); i != std::wstring::npos; i = text.find(L'<', i)) {
    if (StartsAt(text, i, L"<!--")) {
      i = PastMarker(text, i + 4, L"-->");
    } else if (StartsAt(text, i, L"<![CDATA[")) {
      i = PastMarker(text, i + 9, L"]]>");
    } else if (StartsAt(text, i, L"<?")) {
      i = PastMarker(text, i, L"?>");
    } else if (StartsAt(text, i, L"<!")) {
      i = PastTag(text, i);
    } else if (StartsAt(text, i, L"</")) {
      if (open > 0) --open;
      i = PastTag(text, i);
    } else {
      size_t end = PastTag(text, i);
      bool empty = end >= 2 && text[end - 1] == L'>' && text[end - 2] == L'/';
      if (!empty && ++open > depth) return true;
      i = end;
    }
  }
  return false;
}

bool HasForbiddenCharacters(const std::wstring& text) {
  for (wchar_t c : text)
    if ((c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r') || c == 0xFFFE || c == 0xFFFF) return true;
  return false;
}

bool UsesUndeclaredPrefix(const std::wstring& text) {
  std::unordered_set<std::wstring> used, declared;
  auto isNameEnd = [](wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'/' || c == L'>' || c == L'=';
  };
  // The prefix of the name at i, noted as used, and the index past the name.
  auto name = [&](size_t i, std::wstring* attributePrefix) {
    size_t start = i, colon = std::wstring::npos;
    for (; i < text.size() && !isNameEnd(text[i]); ++i)
      if (text[i] == L':' && colon == std::wstring::npos) colon = i;
    if (colon != std::wstring::npos) {
      std::wstring prefix = text.substr(start, colon - start);
      if (attributePrefix)
        *attributePrefix = prefix;
      else if (prefix != L"xml")
        used.insert(prefix);
      if (attributePrefix && prefix == L"xmlns") declared.insert(text.substr(colon + 1, i - colon - 1));
    }
    return i;
  };
  for (size_t i = text.find(L'<'); i != std::wstring::npos; i = text.find(L'<', i)) {
    if (StartsAt(text, i, L"<!--")) {
      i = PastMarker(text, i + 4, L"-->");
    } else if (StartsAt(text, i, L"<![CDATA[")) {
      i = PastMarker(text, i + 9, L"]]>");
    } else if (StartsAt(text, i, L"<?")) {
      i = PastMarker(text, i, L"?>");
    } else if (StartsAt(text, i, L"<!") || StartsAt(text, i, L"</")) {
      if (text.compare(i, 2, L"</") == 0) name(i + 2, nullptr);
      i = PastTag(text, i);
    } else {
      size_t end = PastTag(text, i);
      i = name(i + 1, nullptr);
      // Attribute names: what precedes each "=" outside quotes.
      while (i < end) {
        while (i < end && (text[i] == L' ' || text[i] == L'\t' || text[i] == L'\r' || text[i] == L'\n')) ++i;
        if (i >= end || text[i] == L'/' || text[i] == L'>') break;
        std::wstring prefix;
        i = name(i, &prefix);
        if (!prefix.empty() && prefix != L"xml" && prefix != L"xmlns") used.insert(prefix);
        while (i < end && text[i] != L'"' && text[i] != L'\'') ++i;
        if (i < end) i = text.find(text[i], i + 1);
        if (i == std::wstring::npos) return false;
        ++i;
      }
      i = end;
    }
  }
  for (const auto& prefix : used)
    if (!declared.count(prefix)) return true;
  return false;
}

TXmlDocument::TXmlDocument() {
  CLSID clsid;
  Check(::CLSIDFromProgID(L"Microsoft.XMLDOM", &clsid), "Microsoft.XMLDOM is not registered");
  Check(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                           reinterpret_cast<void**>(doc_.Put())),
        "Microsoft.XMLDOM could not be created");
  // Downloads are loaded synchronously, never reach out for DTDs or external
  // entities, and select with XPath so that local-name() is understood.
  doc_->put_async(VARIANT_FALSE);
  doc_->put_resolveExternals(VARIANT_FALSE);
  doc_->put_validateOnParse(VARIANT_FALSE);
  ComPtr<IXMLDOMDocument2> doc2;
  if (FAILED(doc_->QueryInterface(IID_IXMLDOMDocument2_, reinterpret_cast<void**>(doc2.Put())))) doc2 = {};
  if (doc2) {
    UniqueBstr language(L"SelectionLanguage");
    UniqueVariant xpath(L"XPath");
    doc2->setProperty(language.Get(), xpath.Get());
  }
  // MSXML 3, which "Microsoft.XMLDOM" is, reads DTDs and puts no limit on
  // size or depth unless told; what it does not confirm, LoadXml checks.
  guards_.ProhibitDtd = SetConfirmed(doc2.Get(), L"ProhibitDTD", BoolVariant(true));
  guards_.MaxDepth = SetConfirmed(doc2.Get(), L"MaxElementDepth", LongVariant(MaxXmlElementDepth));
  guards_.MaxSize = SetConfirmed(doc2.Get(), L"MaxXMLSize", LongVariant(MaxXmlKiloChars));
}

bool TXmlDocument::LoadXml(const std::wstring& text) {
  if (!guards_.MaxSize && text.size() > static_cast<size_t>(MaxXmlKiloChars) * 1024) return false;
  if (!guards_.ProhibitDtd && HasDoctype(text)) return false;
  if (!guards_.MaxDepth && NestsDeeperThan(text, MaxXmlElementDepth)) return false;
  // Windows' MSXML refuses both; Wine's accepts an undeclared prefix and
  // reads a NUL as the end of the text.
  if (HasForbiddenCharacters(text) || UsesUndeclaredPrefix(text)) return false;
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
