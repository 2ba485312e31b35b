// Where the content of a raw-text element ends. A browser reads the content
// of "script", "style" and (with scripting on, as it always is there)
// "noscript" as text, not as markup: a "<b>" or "&amp;" inside is just
// characters, and only the element's own end tag stops it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

enum class THtmlRawTextKind : std::uint8_t {
  // "style", "noscript": the first "</name" followed by whitespace, "/" or
  // ">" (the name in any case) ends the content.
  RawText,
  // "script": the same, except that inside "<!--" ... "-->" a "<script"
  // makes the next "</script" part of the script's text (the old trick of
  // scripts that write scripts). That is the one difference.
  ScriptData,
};

// Index of the "<" of the end tag that closes the content beginning at from
// (text.size() when there is none: the content runs to the end). endTagName
// is lower case. Every character from from up to the answer is looked at
// once, and a few beyond it.
std::size_t FindRawTextEnd(std::u16string_view text, std::size_t from,
                           std::u16string_view endTagName, THtmlRawTextKind kind);

// At index i: "</" endTagName (ASCII case-insensitive) followed by whitespace,
// "/" or ">"; at the end of text it is not one yet.
bool IsRawTextEndTag(std::u16string_view text, std::size_t i, std::u16string_view endTagName);
