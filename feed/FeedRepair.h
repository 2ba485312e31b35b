// Reading a feed that is not well-formed XML. Many sites send such feeds (a
// stray "&", "&nbsp;", a PHP warning before the document, a download cut
// short, raw HTML in a description), and the XML parser refuses the whole
// download for one such slip. The text is rewritten here into well-formed
// XML that says what a careful reader of the page would take it to say, and
// the parser reads that instead. Portable: no platform calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What a repair changed, one bit each (feedcheck prints their names).
enum TFeedRepairKind : std::uint32_t {
  RepairLegacyBytes = 1u << 0,         // bytes invalid in UTF-8 read as windows-1254 (decoding)
  RepairUtf8Label = 1u << 1,           // labelled single-byte, UTF-8 throughout (decoding)
  RepairJunkBefore = 1u << 2,          // text, tags or a declaration before the root
  RepairJunkAfter = 1u << 3,           // anything after the root's end
  RepairHtmlEntities = 1u << 4,        // "&nbsp;", "&eacute" and the like
  RepairBareAmpersands = 1u << 5,      // "&" that starts no reference
  RepairUnknownEntities = 1u << 6,     // "&name;" that no table knows: dropped
  RepairNumericReferences = 1u << 7,   // without ";", or of a character XML forbids
  RepairControlCharacters = 1u << 8,   // control characters and NULs dropped
  RepairNamespacePrefixes = 1u << 9,   // prefixes used without a declaration
  RepairFieldMarkup = 1u << 10,        // raw HTML inside a title or description
  RepairTags = 1u << 11,               // mismatched, unclosed or stray tags, a stray "<"
  RepairAttributes = 1u << 12,         // unquoted, valueless or repeated attributes
  RepairTruncated = 1u << 13,          // the text ends inside the document
};
inline constexpr int FeedRepairKinds = 14;

// The name of one repair bit ("bare-ampersands"), or "" for another value.
const char* FeedRepairName(std::uint32_t kind);

class TFeedRepair {
 public:
  // Rewrites text (decoded, without a byte-order mark). Elements nested
  // deeper than maxDepth refuse the text, as the strict reader does.
  TFeedRepair(std::u16string_view text, std::size_t maxDepth);

  // Well-formed XML: one root element, every prefix declared, no DOCTYPE,
  // no comment, processing instruction or CDATA section, no character XML
  // forbids. Empty when the text holds no element or nests too deep.
  const std::u16string& Text() const { return text_; }
  // The TFeedRepairKind bits of what had to change; 0 for text that was
  // well-formed already (it then comes back with the same content).
  std::uint32_t Repairs() const { return repairs_; }

 private:
  std::u16string text_;
  std::uint32_t repairs_ = 0;
};
