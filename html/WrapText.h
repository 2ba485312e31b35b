// Word wrap of plain text at a column, on UTF-16 text: every Turkish letter
// is one column, and a surrogate pair counts as one character and is never
// split.
#pragma once

#include <string>
#include <string_view>

// The break string and break characters the news list wraps its titles and
// summaries with.
inline constexpr std::u16string_view WrapBreakStr = u"\r\n";
inline constexpr std::u16string_view WrapBreakChars = u"\t -.";

// Breaks line after the last break character that keeps a line within maxCol
// columns, inserting breakStr. The break character stays at the end of its
// line (further break characters after it begin the next line). A word longer than maxCol is never split; text between two "|" is
// never broken; a breakStr already in the text ends a line by itself. No
// breakStr is added after the last line.
std::u16string WrapText(std::u16string_view line, std::u16string_view breakStr,
                        std::u16string_view breakChars, int maxCol);
