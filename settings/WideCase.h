// Upper-casing of UTF-16 text for case-insensitive look-ups of section names
// and keys.
#pragma once

#include <string>
#include <string_view>

// The one-code-unit-for-one upper case Windows applies (CharUpperBuffW),
// from a table of our own rather than the C library's so that both builds,
// and every locale, fold the same way. Surrogates and code units without an
// upper case are returned unchanged.
char16_t WideUpperChar(char16_t c);

// Same length as the input: positions of the result match the input's.
std::u16string WideUpperCase(std::u16string_view text);
