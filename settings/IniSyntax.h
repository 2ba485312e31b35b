// The line syntax of the ini file: trimming, escaping and what one line of
// the file means.
#pragma once

#include <string>
#include <string_view>

// Drops every code unit from U+0000 to U+0020 at both ends.
std::u16string_view TrimIni(std::u16string_view text);

// Backslash, CR, LF and TAB become "\\", "\r", "\n" and "\t". U+0000 is
// dropped: the reader ends the whole text at it.
std::u16string EscapeIniLine(std::u16string_view line);
// The reverse, left to right; a backslash followed by any other character
// drops both, and a backslash at the end is dropped.
std::u16string UnescapeIniLine(std::u16string_view line);

struct TIniLine {
  enum Kind {
    Ignored,  // empty line or comment
    Section,  // text is the section name
    Stored,   // text is the entry ("name=value") or plain line to keep
  };
  Kind kind = Ignored;
  std::u16string text;
};

// The meaning of one line of the file, without its line end.
TIniLine ParseIniLine(std::u16string_view line);
