#include "html/HtmlToText.h"

#include <algorithm>

#include "html/HtmlParser.h"
#include "html/TextFormatter.h"

std::u16string HtmlToText(std::u16string_view fragment) {
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
