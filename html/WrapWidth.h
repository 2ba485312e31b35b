// Texts wrapped again for a width in pixels rather than columns: the list
// shows its texts larger than they were wrapped for, so the breaks the
// column wrap made are taken out and the text is broken anew where a line
// would grow wider than the room.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Joins the lines a column wrap (WrapText) broke: a line that ends in a
// space, a tab or a hyphen goes on on the next line. A line that ends in
// anything else ended in the text itself (a paragraph, a <br>) and keeps
// its break.
std::u16string UnwrapText(std::u16string_view text);

// How wide a run of text is, in pixels, drawn on one line.
using TTextWidth = std::function<int(std::u16string_view)>;
// Whether a line fits the room.
using TLineFits = std::function<bool(std::u16string_view)>;

// Breaks every line of `text` (breaks already in it are kept) so that every
// line fits as `fits` judges. A line breaks after the last space, tab,
// hyphen or full stop that keeps it fitting (the character stays at the
// line's end); a word that does not fit alone is broken between
// characters, never inside a surrogate pair, and every line holds at least
// one character. Spaces at a line's end are not handed to `fits`.
// `pieceWidth` measures the pieces between breaks for a first guess of
// where a line ends in `room` pixels, and should add up (a typographic
// measure); `fits` has the last word. Lines are joined with CR LF.
std::u16string WrapToWidth(std::u16string_view text, const TTextWidth& pieceWidth, const TLineFits& fits, int room);
