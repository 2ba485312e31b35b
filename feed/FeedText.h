// Feed text made ready for the list: converted, repaired and wrapped once,
// at parse time, so that painting only measures and draws.
#pragma once

#include <string>

// RSS title: trimmed, HTML to text, C1 repaired, wrapped at 50 columns.
// Empty when nothing is left (the item is then dropped).
std::wstring FeedTitleText(const std::wstring& xmlText);
// RSS summary: HTML to text, C1 repaired, wrapped at 60 columns.
std::wstring FeedSummaryText(const std::wstring& xmlText);
// Text shown as the XML holds it (Atom's type="text"): C1 repaired, wrapped.
std::wstring PlainTitleText(const std::wstring& text);
std::wstring PlainSummaryText(const std::wstring& text);

// C1 control characters (U+0080 to U+009F) never belong in feed text: they
// are windows-1254 (or -1252) bytes read under an ISO-8859-9 or -1 label,
// written as references like "&#146;", or text encoded twice that way. Each
// becomes the windows-1254 character of its byte value; the few values that
// code page leaves unassigned are dropped.
std::wstring RepairC1(const std::wstring& text);
