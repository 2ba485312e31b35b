#include "html/HtmlToText.h"

#include <algorithm>
#include <functional>
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

// What a session keeps between conversions: the parser with its reader's
// buffers, the formatter with its output buffer, the input buffer and the
// blocks of the last documents' arenas. A feed converts hundreds of titles
// and summaries in a row; with this the heap is not grown and shrunk for
// each of them.
class THtmlConverter {
 public:
  // Converts the fragment that fill writes straight into the input (see
  // HtmlToTextParsedWith).
  void ConvertWith(std::size_t maxLength, const std::function<std::size_t(char16_t*)>& fill,
                   const std::function<void(std::u16string_view)>& take) {
    const std::size_t length = std::min(maxLength, fill(Prepare(maxLength)));
    Render(length, take);
  }

  // Whether the buffers have grown past what is worth keeping.
  bool Large() const { return input_.capacity() > RetainedInput; }
  // Gives the memory kept back; the next conversion starts as the first.
  void Shrink() {
    std::u16string().swap(input_);
    parser_ = std::make_unique<THtmlParser>();
    formatter_ = std::make_unique<TTextFormatter>();
    blocks_.Release();
  }

 private:
  static constexpr std::u16string_view Head = u"<html><body>";
  static constexpr std::u16string_view Tail = u"</body></html>";
  // A session is short (one feed), and memory handed back to the system
  // costs a page fault per page when it is taken again: a megabyte document
  // converts four times faster when the next one finds its memory kept.
  static constexpr std::size_t RetainedInput = 2 * 1024 * 1024;  // characters
  static constexpr std::size_t RetainedBlocks = 32 * 1024 * 1024;  // bytes

  // Room for a fragment of up to maxLength characters in its wrapper; the
  // buffer only ever grows, so it is not cleared for every fragment.
  char16_t* Prepare(std::size_t maxLength) {
    const std::size_t needed = Head.size() + maxLength + Tail.size();
    if (input_.size() < needed) input_.resize(needed);
    std::copy(Head.begin(), Head.end(), input_.data());
    return input_.data() + Head.size();
  }

  // Parses the fragment of fragmentLength characters written behind the
  // wrapper's head, and hands the text to take.
  void Render(std::size_t fragmentLength, const std::function<void(std::u16string_view)>& take) {
    char16_t* const tail = input_.data() + Head.size() + fragmentLength;
    std::copy(Tail.begin(), Tail.end(), tail);
    const std::u16string_view input(input_.data(), static_cast<std::size_t>(tail + Tail.size() - input_.data()));
    std::unique_ptr<dom::TDocument> document = parser_->Parse(input, &blocks_);
    const dom::TElement* root = document->DocumentElement();
    if (!root) {
      take({});
      return;
    }
    // The text is never longer than its source (every character, reference
    // or tag yields at most as many characters as it is long), so a buffer of
    // the fragment's length never grows, and a 60-character title does not
    // reserve the formatter's default of 65 530 characters.
    formatter_->FormatElementWith(*root, std::min(TBaseFormatter::InitialCapacity, fragmentLength + 1), take);
  }

  // Declared first, so it outlives every document built from it.
  TRecyclingResource blocks_{RetainedBlocks};
  std::u16string input_;
  std::unique_ptr<THtmlParser> parser_ = std::make_unique<THtmlParser>();
  std::unique_ptr<TTextFormatter> formatter_ = std::make_unique<TTextFormatter>();
};

namespace {
// The converter of the innermost session on this thread. A plain pointer:
// a thread_local with a destructor runs that destructor from the runtime's
// thread-exit hooks, which mingw-w64's runtime does not do reliably (a
// process was seen to lose its main thread at exit), so the session owns
// the converter and the thread only points at it.
thread_local THtmlConverter* sessionConverter = nullptr;

void ShrinkQuietly(THtmlConverter& converter) {
  try {
    converter.Shrink();
  } catch (...) {
    // Short of memory: the converter keeps what it has, all of it valid.
  }
}
}  // namespace

THtmlToTextSession::THtmlToTextSession() : outer_(sessionConverter) {
  // Without memory for the converter, conversions go on without a session.
  try {
    converter_ = new THtmlConverter();
    sessionConverter = converter_;
  } catch (...) {
  }
}

THtmlToTextSession::~THtmlToTextSession() {
  if (converter_) {
    sessionConverter = outer_;
    delete converter_;
  }
}

std::u16string HtmlToTextParsed(std::u16string_view fragment) {
  std::u16string text;
  const bool done = HtmlToTextParsedWith(
      fragment.size(),
      [&](char16_t* input) {
        std::copy(fragment.begin(), fragment.end(), input);
        return fragment.size();
      },
      [&](std::u16string_view result) { text.assign(result); });
  if (!done) text.clear();
  return text;
}

bool HtmlToTextParsedWith(std::size_t maxLength, const std::function<std::size_t(char16_t*)>& fill,
                          const std::function<void(std::u16string_view)>& take) {
  try {
    if (THtmlConverter* converter = sessionConverter) {
      converter->ConvertWith(maxLength, fill, take);
      // A document past the limits does not keep its memory for the session.
      if (converter->Large()) ShrinkQuietly(*converter);
      return true;
    }
    THtmlConverter converter;
    converter.ConvertWith(maxLength, fill, take);
    return true;
  } catch (...) {
    // Whatever failed (memory, most likely) may have left the parts half
    // way: the session's next conversion starts afresh.
    if (THtmlConverter* converter = sessionConverter) ShrinkQuietly(*converter);
    return false;
  }
}
