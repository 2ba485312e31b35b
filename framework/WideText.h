// UTF-16 both ways: the portable core speaks char16_t, Windows wchar_t; on
// Windows the two are the same 16-bit units, so this is a plain copy.
#pragma once

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

inline std::wstring WideFromU16(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string U16FromWide(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }
