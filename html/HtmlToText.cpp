#include "html/HtmlToText.h"

#include <algorithm>

#include "html/HtmlParser.h"
#include "html/TextFormatter.h"

namespace {

bool IsWhitespace(char16_t c) { return c == u'\t' || c == u'\n' || c == u'\r' || c == u' '; }

// What the parser and the formatter make of text that is all one text node
// of the body: every run of whitespace becomes one space, and the text does
// not begin with one.
std::u16string CollapsedText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (IsWhitespace(text[i])) {
      if (!out.empty()) out.push_back(u' ');
      while (i < text.size() && IsWhitespace(text[i])) ++i;
    } else {
      out.push_back(text[i++]);
    }
  }
  return out;
}

}  // namespace

std::u16string HtmlToText(std::u16string_view fragment) {
  // Most headlines are plain text: nothing to parse.
  if (fragment.find_first_of(u"<&") == std::u16string_view::npos) {
    try {
      return CollapsedText(fragment);
    } catch (...) {
      return std::u16string();
    }
  }
  return HtmlToTextParsed(fragment);
}

std::u16string HtmlToTextParsed(std::u16string_view fragment) {
  try {
    static constexpr std::u16string_view head = u"<html><body>";
    static constexpr std::u16string_view tail = u"</body></html>";
    std::u16string html;
    html.reserve(head.size() + fragment.size() + tail.size());
    html.append(head).append(fragment).append(tail);

    THtmlParser parser;
    // Declared after the parser, so the document goes first, then the parser.
    std::unique_ptr<dom::TDocument> document = parser.ParseString(std::move(html));
    const dom::TElement* root = document->DocumentElement();
    if (!root) return std::u16string();
    // The text is never longer than its source (every character, reference
    // or tag yields at most as many characters as it is long), so a buffer of
    // the fragment's length never grows, and a 60-character title does not
    // reserve the formatter's default of 65 530 characters.
    TTextFormatter formatter;
    return formatter.FormatElement(*root, std::min(TBaseFormatter::InitialCapacity, fragment.size() + 1));
  } catch (...) {
    return std::u16string();
  }
}
