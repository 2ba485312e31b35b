#include "feed/FeedParser.h"

#include <iterator>
#include <string>
#include <vector>

#include "feed/FeedRepair.h"
#include "feed/FeedSource.h"
#include "feed/FeedText.h"
#include "feed/LinkPolicy.h"
#include "feed/XmlDom.h"
#include "framework/WideText.h"
#include "html/HtmlToText.h"

namespace {

const wchar_t RdfNs[] = L"http://www.w3.org/1999/02/22-rdf-syntax-ns#";
const wchar_t Rss10Ns[] = L"http://purl.org/rss/1.0/";
const wchar_t Rss090Ns[] = L"http://my.netscape.com/rdf/simple/0.9/";
const wchar_t XhtmlNs[] = L"http://www.w3.org/1999/xhtml";

using TNodes = std::vector<ComPtr<IXMLDOMNode>>;

void AppendChildren(IXMLDOMNode* parent, const TXmlName& name, TNodes& out) {
  VisitChildElements(parent, [&](ComPtr<IXMLDOMNode>& child, const std::wstring& local) {
    if (local == name.Local && HasNamespace(child.Get(), name.Uri)) out.push_back(std::move(child));
    return true;
  });
}

// The entries of the document, the namespace they share and what kind of
// feed holds them. The root's local name decides; its namespace, whatever it
// is, is the one the entries must share (none for plain RSS, Atom's for
// Atom, a private one for a namespaced RSS document).
TFeedKind FindEntries(IXMLDOMNode* root, TNodes& entries, std::wstring& ns) {
  TXmlName name = NodeName(root);
  ns = name.Uri;
  if (name.Local == L"feed") {
    AppendChildren(root, {name.Uri, L"entry"}, entries);
    return entries.empty() ? TFeedKind::None : TFeedKind::Atom;
  }
  if (name.Local == L"rss") {
    TNodes channels;
    AppendChildren(root, {name.Uri, L"channel"}, channels);
    for (auto& channel : channels) AppendChildren(channel.Get(), {name.Uri, L"item"}, entries);
    return entries.empty() ? TFeedKind::None : TFeedKind::Rss;
  }
  if (name == TXmlName{RdfNs, L"RDF"}) {
    // RSS 1.0 and 0.90 put their items beside the channel, not inside it.
    ns = Rss10Ns;
    AppendChildren(root, {ns, L"item"}, entries);
    if (entries.empty()) {
      ns = Rss090Ns;
      AppendChildren(root, {ns, L"item"}, entries);
    }
    return entries.empty() ? TFeedKind::None : TFeedKind::Rdf;
  }
  return TFeedKind::None;
}

// The first child element of each of these local names in namespace ns, in
// one walk over the children.
template <size_t N>
void FirstChildren(IXMLDOMNode* node, const std::wstring& ns, const wchar_t* const (&names)[N],
                   ComPtr<IXMLDOMNode> (&found)[N]) {
  VisitChildElements(node, [&](ComPtr<IXMLDOMNode>& child, const std::wstring& local) {
    for (size_t k = 0; k < N; ++k) {
      if (found[k] || local != names[k]) continue;
      if (HasNamespace(child.Get(), ns)) found[k] = std::move(child);
      break;
    }
    return true;
  });
}

bool IsBlank(const std::wstring& s) { return s.find_first_not_of(L" \t\r\n") == std::wstring::npos; }

std::wstring Trimmed(const std::wstring& s) {
  size_t first = s.find_first_not_of(L" \t\r\n");
  if (first == std::wstring::npos) return {};
  return s.substr(first, s.find_last_not_of(L" \t\r\n") - first + 1);
}

std::wstring LowerTrimmed(const std::wstring& s) {
  std::wstring out = Trimmed(s);
  for (wchar_t& c : out)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return out;
}

// An RSS item. False when its headline converts to nothing: no item then.
bool ReadRssItem(IXMLDOMNode* node, const std::wstring& ns, TElement& item) {
  static const wchar_t* const Names[] = {L"title", L"description", L"link", L"guid"};
  ComPtr<IXMLDOMNode> found[4];
  FirstChildren(node, ns, Names, found);
  const auto& [title, description, link, guid] = found;
  if (title) {
    item.Title = FeedTitleText(NodeText(title.Get()));
    if (item.Title.empty()) return false;
  }
  if (description) item.Summary = FeedSummaryText(NodeText(description.Get()));
  if (guid) item.Guid = Trimmed(NodeText(guid.Get()));
  std::wstring text;
  if (link && !IsBlank(text = NodeText(link.Get()))) {
    item.Link = text;
  } else if (guid) {
    // A guid is the item's address only when it says it is a permalink
    // (the default) and would open. A permalink is a full address: many
    // sites put a bare id there and forget isPermaLink="false", and that id
    // resolved as a relative link would open a page that does not exist.
    std::wstring permalink;
    bool isPermaLink = !AttributeValue(guid.Get(), L"isPermaLink", permalink) || LowerTrimmed(permalink) == L"true";
    std::wstring address = NodeText(guid.Get());
    if (isPermaLink && !OpenableAddress(address, std::wstring()).empty()) item.Link = address;
  }
  return true;
}

bool IsVoidElement(const std::wstring& name) {
  for (const wchar_t* v : {L"br", L"img", L"hr", L"input", L"meta", L"link", L"area", L"base", L"col", L"embed",
                           L"param", L"source", L"track", L"wbr"})
    if (name == v) return true;
  return false;
}

void AppendEscaped(const std::wstring& text, std::wstring& html, bool attribute) {
  for (wchar_t c : text) {
    switch (c) {
      case L'&': html += L"&amp;"; break;
      case L'<': html += L"&lt;"; break;
      case L'>': html += L"&gt;"; break;
      case L'"': html += attribute ? L"&quot;" : L"\""; break;
      default: html += c;
    }
  }
}

// The markup of node's children as HTML: elements by their local names (an
// "xhtml:" prefix would make them unknown to the HTML reader), attributes
// without namespace declarations, text escaped. The DOM's depth limit bounds
// the recursion.
void AppendChildMarkup(IXMLDOMNode* node, std::wstring& html) {
  ComPtr<IXMLDOMNode> child;
  if (FAILED(node->get_firstChild(child.Put()))) throw EXmlError("firstChild");
  while (child) {
    DOMNodeType type = NODE_INVALID;
    if (FAILED(child->get_nodeType(&type))) throw EXmlError("nodeType");
    if (type == NODE_TEXT || type == NODE_CDATA_SECTION) {
      // The node's value as written: its text property trims the spaces
      // between words and tags.
      UniqueVariant value;
      if (FAILED(child->get_nodeValue(value.Put()))) throw EXmlError("nodeValue");
      if (value.Get().vt == VT_BSTR && value.Get().bstrVal)
        AppendEscaped(std::wstring(value.Get().bstrVal, ::SysStringLen(value.Get().bstrVal)), html, false);
    } else if (type == NODE_ENTITY_REFERENCE) {
      AppendEscaped(NodeText(child.Get()), html, false);
    } else if (type == NODE_ELEMENT) {
      std::wstring name = NodeName(child.Get()).Local;
      html += L'<';
      html += name;
      ComPtr<IXMLDOMNamedNodeMap> attributes;
      long count = 0;
      if (SUCCEEDED(child->get_attributes(attributes.Put())) && attributes) attributes->get_length(&count);
      for (long k = 0; k < count; ++k) {
        ComPtr<IXMLDOMNode> attribute;
        if (FAILED(attributes->get_item(k, attribute.Put())) || !attribute) continue;
        UniqueBstr qualified;
        attribute->get_nodeName(qualified.Put());
        std::wstring full = qualified.Str();
        if (full == L"xmlns" || full.compare(0, 6, L"xmlns:") == 0) continue;
        html += L' ';
        html += NodeName(attribute.Get()).Local;
        html += L"=\"";
        AppendEscaped(NodeText(attribute.Get()), html, true);
        html += L'"';
      }
      html += L'>';
      if (!IsVoidElement(name)) {
        AppendChildMarkup(child.Get(), html);
        html += L"</" + name + L">";
      }
    }
    ComPtr<IXMLDOMNode> next;
    if (FAILED(child->get_nextSibling(next.Put()))) throw EXmlError("nextSibling");
    child = std::move(next);
  }
}

enum class TTextType { Text, Html, Xhtml, Other };

TTextType TypeOf(IXMLDOMNode* node) {
  std::wstring type;
  if (!AttributeValue(node, L"type", type)) return TTextType::Text;
  type = LowerTrimmed(type);
  if (type.empty() || type == L"text" || type.compare(0, 5, L"text/") == 0) {
    return type == L"text/html" ? TTextType::Html : TTextType::Text;
  }
  if (type == L"html") return TTextType::Html;
  if (type == L"xhtml" || type == L"application/xhtml+xml") return TTextType::Xhtml;
  return TTextType::Other;  // base64 or another media type: nothing to show
}

// An Atom text construct by its type: "html" is converted like RSS text,
// "xhtml" is the markup inside its div, converted the same way (a script in
// it is markup, not news), "text" stays exactly as the XML holds it.
std::wstring AtomText(IXMLDOMNode* node, bool title) {
  switch (TypeOf(node)) {
    case TTextType::Html: return title ? FeedTitleText(NodeText(node)) : FeedSummaryText(NodeText(node));
    case TTextType::Xhtml: {
      ComPtr<IXMLDOMNode> div = FirstChild(node, {XhtmlNs, L"div"});
      std::wstring html;
      AppendChildMarkup(div ? div.Get() : node, html);
      return title ? FeedTitleText(html) : FeedSummaryText(html);
    }
    case TTextType::Text: return title ? PlainTitleText(NodeText(node)) : PlainSummaryText(NodeText(node));
    case TTextType::Other: break;
  }
  return {};
}

void ReadAtomEntry(IXMLDOMNode* node, const std::wstring& ns, TElement& item) {
  ComPtr<IXMLDOMNode> title, summary, content;
  bool linked = false;
  VisitChildElements(node, [&](ComPtr<IXMLDOMNode>& child, const std::wstring& local) {
    ComPtr<IXMLDOMNode>* slot = local == L"title" ? &title : local == L"summary" ? &summary : nullptr;
    if (local == L"content") slot = &content;
    if (slot) {
      if (!*slot && HasNamespace(child.Get(), ns)) *slot = std::move(child);
    } else if (!linked && local == L"link" && HasNamespace(child.Get(), ns)) {
      // The first link that has an address, whatever its rel says.
      linked = AttributeValue(child.Get(), L"href", item.Link);
    } else if (local == L"id" && item.Guid.empty() && HasNamespace(child.Get(), ns)) {
      item.Guid = Trimmed(NodeText(child.Get()));
    }
    return true;
  });
  // An empty title never drops an entry; content stands in for a summary.
  if (title) item.Title = AtomText(title.Get(), true);
  if (!summary) summary = std::move(content);
  if (summary) item.Summary = AtomText(summary.Get(), false);
}

// The texts of the items read so far, end to end. While the document is
// alive the heap is full of its nodes: items made then would stay scattered
// among the holes the nodes leave, and the heap could not give those pages
// back once the document is gone (a refresh of a long feed would leave
// megabytes behind each time). One buffer holds the texts instead (a long
// feed's is a block of its own, outside the small-block heap), and the items
// are made from it afterwards.
class TItemTexts {
 public:
  void Reserve(size_t items) { ends_.reserve(items * std::size(Fields)); }
  void Add(const TElement& item) {
    for (auto field : Fields) {
      chars_ += item.*field;
      ends_.push_back(chars_.size());
    }
  }
  std::unique_ptr<TElementList> Items() const {
    auto items = std::make_unique<TElementList>();
    items->reserve(ends_.size() / std::size(Fields));
    size_t begin = 0, k = 0;
    while (k < ends_.size()) {
      auto item = std::make_unique<TElement>();
      for (auto field : Fields) {
        (item.get()->*field).assign(chars_, begin, ends_[k] - begin);
        begin = ends_[k++];
      }
      items->push_back(std::move(item));
    }
    return items;
  }

 private:
  static constexpr std::wstring TElement::*Fields[] = {&TElement::Title, &TElement::Summary, &TElement::Link,
                                                      &TElement::Guid};
  std::wstring chars_;
  std::vector<size_t> ends_;
};

}  // namespace

const wchar_t* FeedKindName(TFeedKind kind) {
  switch (kind) {
    case TFeedKind::Rss: return L"rss";
    case TFeedKind::Rdf: return L"rdf";
    case TFeedKind::Atom: return L"atom";
    case TFeedKind::None: break;
  }
  return L"none";
}

namespace {

// The feed's document: the text as it stands when the DOM takes it, else the
// text repaired. Null when neither loads.
std::unique_ptr<TXmlDocument> LoadFeedDocument(std::wstring& text, TFeedPath path, TFeedReading& reading) {
  if (path == TFeedPath::StrictFirst) {
    auto doc = std::make_unique<TXmlDocument>();
    if (doc->LoadXml(text)) return doc;
  }
  // The repaired text passes the same limits: no DTD, the size, the depth.
  TFeedRepair repair(U16FromWide(text), MaxXmlElementDepth);
  std::wstring().swap(text);
  if (repair.Text().empty()) return nullptr;
  auto doc = std::make_unique<TXmlDocument>();
  if (!doc->LoadXml(WideFromU16(repair.Text()))) return nullptr;
  reading.Recovered = true;
  reading.Repairs |= repair.Repairs();
  return doc;
}

}  // namespace

std::unique_ptr<TElementList> ParseFeedText(std::wstring text, TFeedPath path, TFeedKind* kind,
                                            TFeedReading* reading) {
  if (kind) *kind = TFeedKind::None;
  TFeedReading read;
  if (reading) read = *reading;
  // Every title and summary of the feed converts with the same memory.
  THtmlToTextSession conversions;
  std::unique_ptr<TXmlDocument> doc;
  TNodes entries;
  std::wstring ns;
  TFeedKind found = TFeedKind::None;
  try {
    doc = LoadFeedDocument(text, path, read);
    if (reading) *reading = read;
    if (!doc) return nullptr;
    // The document holds it all now; a long feed's text is megabytes.
    std::wstring().swap(text);
    ComPtr<IXMLDOMNode> root = doc->DocumentElement();
    if (!root) return nullptr;
    found = FindEntries(root.Get(), entries, ns);
  } catch (const EXmlError&) {
    return nullptr;
  }
  if (found == TFeedKind::None) return nullptr;
  if (kind) *kind = found;
  TItemTexts texts;
  texts.Reserve(entries.size());
  try {
    TElement item;
    for (const auto& entry : entries) {
      item = TElement();
      if (found == TFeedKind::Atom) {
        ReadAtomEntry(entry.Get(), ns, item);
      } else if (!ReadRssItem(entry.Get(), ns, item)) {
        continue;  // a headline of nothing is no item
      }
      texts.Add(item);
    }
  } catch (const EXmlError&) {
    // The items read so far stay; the one under construction is dropped.
  }
  entries.clear();
  doc.reset();
  auto items = texts.Items();
  // A repaired reading that shows nothing is no better than what is shown.
  if (read.Recovered && items->empty()) {
    if (kind) *kind = TFeedKind::None;
    return nullptr;
  }
  return items;
}

std::unique_ptr<TElementList> ParseFeed(const std::wstring& path, TFeedKind* kind, TFeedReading* reading) {
  if (kind) *kind = TFeedKind::None;
  if (reading) *reading = TFeedReading();
  std::wstring text;
  std::uint32_t decoding = 0;
  if (!ReadFeedText(path, text, &decoding)) return nullptr;
  TFeedReading read;
  read.Repairs = decoding;
  auto items = ParseFeedText(std::move(text), TFeedPath::StrictFirst, kind, &read);
  if (reading) *reading = read;
  return items;
}

TFeedKind DetectFeed(const std::wstring& path) {
  TFeedKind kind = TFeedKind::None;
  ParseFeed(path, &kind);
  return kind;
}
