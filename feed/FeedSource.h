// The feed file as the XML DOM is given it. Sites label their encodings
// wrongly and still serve DTDs, and the DOM's own handling of both differs
// between Windows and Wine, so the bytes are decoded here, by the rules
// browsers use, and the DOM only ever parses UTF-16 text without a DOCTYPE.
#pragma once

#include <cstdint>
#include <string>

// Far above any news feed or manifest; below it a bad download cannot take
// much memory.
inline constexpr long long MaxFeedBytes = 16 * 1024 * 1024;

// The file decoded (see DecodeFeedBytes); false when it is missing,
// unreadable or larger than any feed. repairs, when given, receives what
// decoding had to assume (TFeedRepairKind bits).
bool ReadFeedText(const std::wstring& path, std::wstring& text, std::uint32_t* repairs = nullptr);

// Bytes to the document text:
// - a byte-order mark, or UTF-16's "<?" pattern, decides first;
// - else the declaration's label: ISO-8859-9 reads as windows-1254 and
//   ISO-8859-1 and US-ASCII as windows-1252, as in browsers (the sites that
//   mislabel write those code pages); other labels by their code page;
// - a single-byte label on bytes that are UTF-8 throughout: UTF-8;
// - UTF-8 (labelled, by its mark, or by default): sequence by sequence, a
//   byte that starts no UTF-8 sequence read as windows-1254.
// The XML declaration is dropped (the text no longer is in its encoding) and
// so is a DOCTYPE with its internal subset: no DTD is ever read and no
// entity it declares can expand. A reference to such an entity then makes
// the document fail to load.
// repairs, when given, receives RepairLegacyBytes or RepairUtf8Label.
std::wstring DecodeFeedBytes(const std::string& bytes, std::uint32_t* repairs = nullptr);
