// HtmlToText on any input: never crashes, hangs or throws, and renders
// exactly what the parser and the formatter would. The first byte
// picks how the rest is read: odd as raw UTF-16LE code units (lone
// surrogates included), even as UTF-8.
//
// The same text also goes inside a script, style, noscript or template
// (bits 1 and 2 of the first byte pick which), where none of it may show:
//   - "önce<tag ATTRS>CONTENT" renders as "önce": an element that is never
//     closed takes the rest with it;
//   - "önce<tag ATTRS>CONTENT</tag>REST" renders as "önce<tag></tag>REST"
//     (script, style, noscript: the end tag is certain to end them).
// The text is split into ATTRS, CONTENT and REST at its first two U+0001;
// without them it is all CONTENT. ATTRS loses what could hide the start
// tag's ">" or close it at once; CONTENT is cut before anything that could
// end the element early.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "html/HtmlToText.h"
#include "html/HtmlToTextUtf8.h"

namespace {

void Expect(bool ok) {
  if (!ok) std::abort();
}

char16_t LowerAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// First index where "</" prefix name (ASCII case-insensitive) starts, or npos.
std::size_t FindEndTagName(std::u16string_view text, std::u16string_view prefix,
                           std::u16string_view name) {
  const std::size_t length = 2 + prefix.size() + name.size();
  for (std::size_t i = text.find(u"</"); i != std::u16string_view::npos; i = text.find(u"</", i + 1)) {
    if (text.size() - i < length) break;
    bool same = true;
    for (std::size_t k = 0; k < prefix.size() + name.size() && same; ++k) {
      const char16_t want = k < prefix.size() ? prefix[k] : name[k - prefix.size()];
      same = LowerAscii(text[i + 2 + k]) == want;
    }
    if (same) return i;
  }
  return std::u16string_view::npos;
}

bool ContainsNoCase(std::u16string_view text, std::u16string_view lower) {
  for (std::size_t i = 0; i + lower.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < lower.size() && LowerAscii(text[i + k]) == lower[k]) ++k;
    if (k == lower.size()) return true;
  }
  return false;
}

void CheckHidden(std::u16string_view text, unsigned pick) {
  static constexpr std::u16string_view names[] = {u"script", u"style", u"noscript", u"template"};
  const std::u16string_view name = names[pick & 3];
  const bool isTemplate = name == u"template";

  const std::size_t first = text.find(u'\1');
  const std::size_t second = first == std::u16string_view::npos ? first : text.find(u'\1', first + 1);
  std::u16string attrs, content;
  std::u16string_view rest;
  if (second == std::u16string_view::npos) {
    content = text;
  } else {
    attrs = text.substr(0, first);
    content = text.substr(first + 1, second - first - 1);
    rest = text.substr(second + 1);
  }
  // The start tag ends at its ">" once no quote can hide that ">" and no
  // reference in a value can swallow it; "/>" closes a template but not the
  // other three.
  std::u16string clean;
  for (char16_t c : attrs)
    if (c != u'>' && c != u'"' && c != u'\'' && c != u'&' && !(isTemplate && c == u'/'))
      clean.push_back(c);
  if (!clean.empty()) clean.insert(clean.begin(), u' ');

  // Only the element's own end tag can end it. A template is closed by any
  // end tag that the reader names "template" ("</:template>" too).
  std::size_t cut = FindEndTagName(content, u"", name);
  if (isTemplate) cut = std::min(cut, FindEndTagName(content, u":", name));
  if (cut != std::u16string_view::npos) content.resize(cut);

  const std::u16string before = u"\u00F6nce";
  const std::u16string open = before + u"<" + std::u16string(name) + clean + u">";
  Expect(HtmlToText(open + content) == before);

  if (isTemplate) return;
  // In a script, "<!--" and "<script" together may hide the end tag.
  if (name == u"script" && content.find(u"<!--") != std::u16string::npos &&
      ContainsNoCase(content, u"<script"))
    return;
  const std::u16string close = u"</" + std::u16string(name) + u">";
  const std::u16string empty = before + u"<" + std::u16string(name) + u">" + close;
  Expect(HtmlToText(open + content + close + std::u16string(rest)) ==
         HtmlToText(empty + std::u16string(rest)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::u16string fragment;
  if (data[0] & 1) {
    for (std::size_t i = 1; i + 1 < size; i += 2)
      fragment.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  } else {
    const std::string_view utf8(reinterpret_cast<const char*>(data) + 1, size - 1);
    fragment = Utf8ToUtf16(utf8);
    // The UTF-8 entry decodes into the converter's own input: the same text.
    if (HtmlToTextUtf8(utf8) != Utf16ToUtf8(HtmlToText(fragment))) std::abort();
  }
  std::u16string text = HtmlToText(fragment);
  // The rendering never begins with a space: leading spaces are dropped.
  if (!text.empty() && text[0] == u' ') std::abort();
  // Plain text takes a shortcut past the parser; it must render the same.
  if (text != HtmlToTextParsed(fragment)) std::abort();
  CheckHidden(fragment, data[0] >> 1);
  return 0;
}
