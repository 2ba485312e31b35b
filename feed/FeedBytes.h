// Feed bytes that do not keep to their label. Turkish sites paste text from
// legacy editors into UTF-8 pages and label UTF-8 pages ISO-8859-9, so both
// readings are decided here, byte sequence by byte sequence. Portable: the
// rest of the decoding (other code pages) is the platform's.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How much of the bytes reads as UTF-8: characters of more than one byte,
// and bytes that start no UTF-8 sequence.
struct TUtf8Evidence {
  std::size_t Multibyte = 0;
  std::size_t Invalid = 0;
};
TUtf8Evidence Utf8EvidenceOf(std::string_view bytes);

// UTF-8 read sequence by sequence: a well-formed sequence is its character,
// and a byte that starts none (a lone lead byte, a stray continuation byte,
// an overlong form, a surrogate) is that byte's windows-1254 character, the
// Turkish code page such pasted text comes in. legacyBytes, when given,
// counts the bytes read that way.
std::u16string DecodeUtf8Or1254(std::string_view bytes, std::size_t* legacyBytes = nullptr);

// The windows-1254 character of one byte; 0 for the values the code page
// leaves unassigned (0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x9D, 0x9E).
char16_t Windows1254Char(unsigned char byte);
