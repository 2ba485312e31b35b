// HTML fragment to plain text: the one entry the rest of the program uses
// for HTML. Every news title and summary passes through it.
#pragma once

#include <string>
#include <string_view>

// The plain text of fragment (see TextFormatter.h for the rendering). Never
// throws: markup the tree builder cannot place is missing from the text, and
// should the conversion itself fail (out of memory) the result is empty.
// Each thread keeps its working memory from call to call (a few MB at most),
// so converting many fragments in a row costs no trips to the system.
std::u16string HtmlToText(std::u16string_view fragment);

// The same conversion, always through the parser and the formatter. Text
// without "<" or "&" holds no markup: HtmlToText renders it directly, and the
// tests and the fuzz target hold the two to the same result.
std::u16string HtmlToTextParsed(std::u16string_view fragment);
