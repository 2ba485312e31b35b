#include "html/HtmlToText.h"

#include "html/HtmlParser.h"

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
    return root ? root->PlainText() : std::u16string();
  } catch (...) {
    return std::u16string();
  }
}
