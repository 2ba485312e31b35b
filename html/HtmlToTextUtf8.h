// UTF-8 at the edges of the HTML conversion: the command-line tool, the
// benchmark and the tests read and write UTF-8, the conversion works on
// UTF-16.
#pragma once

#include <string>
#include <string_view>

// Decodes UTF-8; every ill-formed sequence (stray continuation, overlong
// form, surrogate code point, value above U+10FFFF, cut-off sequence) becomes
// one U+FFFD per offending byte run, so no input is rejected.
std::u16string Utf8ToUtf16(std::string_view text);
// Encodes UTF-16; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// The same into out, whose old content is replaced and whose memory is
// reused: for callers that convert one text after another.
void Utf8ToUtf16(std::string_view text, std::u16string& out);
void Utf16ToUtf8(std::u16string_view text, std::string& out);

// HtmlToText from UTF-8 to UTF-8: the same text as decoding, converting and
// encoding one after the other, with the decoding written straight into the
// converter's input and the encoding read straight from its output. Never
// throws; a conversion that fails gives an empty text.
void HtmlToTextUtf8(std::string_view fragment, std::string& text);
std::string HtmlToTextUtf8(std::string_view fragment);
