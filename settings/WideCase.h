// Upper-casing of UTF-16 text for case-insensitive look-ups of section names
// and keys.
#pragma once

#include <string>
#include <string_view>

// The simple (one code unit to one code unit) upper case of Basic Latin,
// Latin-1, Latin Extended-A, Greek and Cyrillic letters, the scripts an
// options file can meet; every other code unit is returned unchanged. The
// table is our own rather than the C library's so that both builds, and every
// locale, fold the same way.
char16_t WideUpperChar(char16_t c);

// Same length as the input: positions of the result match the input's.
std::u16string WideUpperCase(std::u16string_view text);
