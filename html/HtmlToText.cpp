#include "html/HtmlToText.h"

#include <algorithm>
#include <memory>

#include "html/HtmlParser.h"
#include "html/RecyclingResource.h"
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

namespace {

// What one thread keeps between conversions: the parser with its reader's
// buffers, the formatter with its output buffer, the input buffer and the
// blocks of the last documents' arenas. A feed converts hundreds of titles
// and summaries in a row; with this the heap is not grown and shrunk for
// each of them.
class TConverter {
 public:
  std::u16string Convert(std::u16string_view fragment) {
    static constexpr std::u16string_view head = u"<html><body>";
    static constexpr std::u16string_view tail = u"</body></html>";
    input_.assign(head).append(fragment).append(tail);
    std::unique_ptr<dom::TDocument> document = parser_.Parse(input_, &blocks_);
    const dom::TElement* root = document->DocumentElement();
    if (!root) return std::u16string();
    // The text is never longer than its source (every character, reference
    // or tag yields at most as many characters as it is long), so a buffer of
    // the fragment's length never grows, and a 60-character title does not
    // reserve the formatter's default of 65 530 characters.
    return formatter_.FormatElement(*root, std::min(TBaseFormatter::InitialCapacity, fragment.size() + 1));
  }

  // Whether the buffers have grown past what is worth keeping.
  bool Large() const { return input_.capacity() > RetainedInput; }

 private:
  static constexpr std::size_t RetainedInput = 256 * 1024;  // characters
  static constexpr std::size_t RetainedBlocks = 4 * 1024 * 1024;  // bytes

  // Declared first, so it outlives every document built from it.
  TRecyclingResource blocks_{RetainedBlocks};
  std::u16string input_;
  THtmlParser parser_;
  TTextFormatter formatter_;
};

}  // namespace

std::u16string HtmlToTextParsed(std::u16string_view fragment) {
  thread_local std::unique_ptr<TConverter> converter;
  try {
    if (!converter) converter = std::make_unique<TConverter>();
    std::u16string text = converter->Convert(fragment);
    // One huge document should not pin its memory to the thread for good.
    if (converter->Large()) converter.reset();
    return text;
  } catch (...) {
    // Whatever failed (memory, most likely) may have left the parts half
    // way: the next conversion starts afresh.
    converter.reset();
    return std::u16string();
  }
}
