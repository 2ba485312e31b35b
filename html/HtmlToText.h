// HTML fragment to plain text: the one entry the rest of the program uses
// for HTML. Every news title and summary passes through it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The plain text of fragment (see TextFormatter.h for the rendering). Never
// throws: markup the tree builder cannot place is missing from the text, and
// should the conversion itself fail (out of memory) the result is empty.
// Inside a THtmlToTextSession the working memory is kept from call to call.
std::u16string HtmlToText(std::u16string_view fragment);

// The same conversion, always through the parser and the formatter. Text
// without "<" or "&" holds no markup: HtmlToText renders it directly, and the
// tests and the fuzz target hold the two to the same result.
std::u16string HtmlToTextParsed(std::u16string_view fragment);

// HtmlToTextParsed for the UTF-8 edge (HtmlToTextUtf8.h): fill writes the
// fragment, at most maxLength characters, straight into the converter's
// input and returns how many it wrote; take gets the text as a view valid
// during the call. False when the conversion failed (out of memory, or
// fill or take threw): what take did is then to be dropped.
bool HtmlToTextParsedWith(std::size_t maxLength, const std::function<std::size_t(char16_t*)>& fill,
                          const std::function<void(std::u16string_view)>& take);

class THtmlConverter;

// While one lives, the conversions of its thread keep their working memory
// (parser, buffers, the blocks of the documents) from call to call, so
// converting the hundreds of texts of a feed costs no trips to the system
// after the first few. What is kept is what the largest conversion so far
// needed, a large document's few MB included, and all of it goes when the
// session ends; a document too large for that (some 2 M characters, or
// 32 MB of nodes) gives its memory back at once. Sessions nest; each belongs
// to the thread that made it and must end on it, innermost first.
class THtmlToTextSession {
 public:
  THtmlToTextSession();
  ~THtmlToTextSession();
  THtmlToTextSession(const THtmlToTextSession&) = delete;
  THtmlToTextSession& operator=(const THtmlToTextSession&) = delete;

 private:
  THtmlConverter* converter_ = nullptr;  // owned
  THtmlConverter* outer_;
};
