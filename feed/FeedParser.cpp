#include "feed/FeedParser.h"

#include "feed/XmlDom.h"
#include "framework/WideText.h"
#include "html/HtmlToText.h"
#include "html/WrapText.h"

namespace {

constexpr int TitleColumns = 50;
constexpr int SummaryColumns = 60;

// Wrapping works on UTF-16 itself: a detour through the ANSI code page
// would turn Turkish letters into '?' on any system not set to 1254.
std::wstring Wrap(const std::wstring& text, int columns) {
  return WideFromU16(WrapText(U16FromWide(text), WrapBreakStr, WrapBreakChars, columns));
}

std::wstring TrimControls(const std::wstring& text) {
  size_t first = 0, last = text.size();
  while (first < last && text[first] <= L' ') ++first;
  while (last > first && text[last - 1] <= L' ') --last;
  return text.substr(first, last - first);
}

std::wstring HtmlText(const std::wstring& html) { return WideFromU16(HtmlToText(U16FromWide(html))); }

// Text of the first node at path below node, or nothing.
bool ChildText(IXMLDOMNode* node, const wchar_t* path, std::wstring& text) {
  ComPtr<IXMLDOMNode> child = SelectSingleNode(node, LocalPath(path));
  if (!child) return false;
  text = NodeText(child.Get());
  return true;
}

const wchar_t AtomEntries[] = L"/feed/entry";
const wchar_t RssItems[] = L"/rss/channel/item";

}  // namespace

std::wstring FeedTitleText(const std::wstring& xmlText) {
  return Wrap(HtmlText(TrimControls(xmlText)), TitleColumns);
}

std::wstring FeedSummaryText(const std::wstring& xmlText) { return Wrap(HtmlText(xmlText), SummaryColumns); }

TFeedKind DetectFeed(const std::wstring& path) {
  TXmlDocument doc;
  try {
    if (!doc.Load(path)) return TFeedKind::None;
    if (!SelectNodes(doc.Root(), LocalPath(AtomEntries)).empty()) return TFeedKind::Atom;
    if (!SelectNodes(doc.Root(), LocalPath(RssItems)).empty()) return TFeedKind::Rss;
  } catch (const EXmlError&) {
  }
  return TFeedKind::None;
}

std::unique_ptr<TElementList> ParseRss(const std::wstring& path) {
  TXmlDocument doc;
  if (!doc.Load(path)) return nullptr;
  auto items = std::make_unique<TElementList>();
  try {
    for (const auto& node : SelectNodes(doc.Root(), LocalPath(RssItems))) {
      auto item = std::make_unique<TElement>();
      std::wstring text;
      if (ChildText(node.Get(), L"title", text)) {
        std::wstring plain = HtmlText(TrimControls(text));
        if (plain.empty()) continue;  // a headline of nothing is no item
        item->Title = Wrap(plain, TitleColumns);
      }
      if (ChildText(node.Get(), L"description", text)) item->Summary = FeedSummaryText(text);
      if (ChildText(node.Get(), L"link", text)) item->Link = text;
      items->push_back(std::move(item));
    }
  } catch (const EXmlError&) {
    // The items read so far stay.
  }
  return items;
}

std::unique_ptr<TElementList> ParseAtom(const std::wstring& path) {
  TXmlDocument doc;
  if (!doc.Load(path)) return nullptr;
  auto items = std::make_unique<TElementList>();
  try {
    for (const auto& node : SelectNodes(doc.Root(), LocalPath(AtomEntries))) {
      auto item = std::make_unique<TElement>();
      std::wstring text;
      // Atom text is shown as the XML holds it: no HTML conversion.
      if (ChildText(node.Get(), L"title", text)) item->Title = Wrap(text, TitleColumns);
      if (ChildText(node.Get(), L"summary", text)) item->Summary = Wrap(text, SummaryColumns);
      if (ChildText(node.Get(), L"link/@href", text)) item->Link = text;
      items->push_back(std::move(item));
    }
  } catch (const EXmlError&) {
  }
  return items;
}

std::unique_ptr<TElementList> ParseFeed(const std::wstring& path) {
  try {
    switch (DetectFeed(path)) {
      case TFeedKind::Atom: return ParseAtom(path);
      case TFeedKind::Rss: return ParseRss(path);
      case TFeedKind::None: break;
    }
  } catch (const EXmlError&) {
  }
  return nullptr;
}
