// Reading a saved feed (RSS 2.0 items or Atom entries) into news items.
#pragma once

#include <memory>
#include <string>

#include "feed/NewsItem.h"

enum class TFeedKind { None, Rss, Atom };

// The kind of feed in the file: None when it does not load, is not RSS or
// Atom, or has no entry. Throws EXmlError only when the DOM service itself
// cannot be created.
TFeedKind DetectFeed(const std::wstring& path);

// Parses the file as the given kind into a new list. Null when the file does
// not load; when a DOM call fails part-way, the items read so far.
std::unique_ptr<TElementList> ParseRss(const std::wstring& path);
std::unique_ptr<TElementList> ParseAtom(const std::wstring& path);

// Detects and parses: a new list, or null when the file is not a feed with
// at least one entry (the caller keeps what it shows).
std::unique_ptr<TElementList> ParseFeed(const std::wstring& path);

// Title and summary text as the list shows it.
std::wstring FeedTitleText(const std::wstring& xmlText);    // RSS: trimmed, HTML to text, wrapped at 50
std::wstring FeedSummaryText(const std::wstring& xmlText);  // RSS: HTML to text, wrapped at 60
