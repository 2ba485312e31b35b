// Reading a saved feed (RSS 0.9x/2.0 items, RSS 1.0 and 0.90 RDF items, or
// Atom entries) into news items ready for the list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "feed/NewsItem.h"

// Rdf is RSS 1.0 or 0.90, read as RSS.
enum class TFeedKind { None, Rss, Rdf, Atom };

// How a feed was read, for anyone diagnosing a site's feed.
struct TFeedReading {
  // The XML parser refused the text as it stands and read it repaired.
  bool Recovered = false;
  // What was repaired (TFeedRepairKind bits); decoding may repair a feed
  // that is then read strictly.
  std::uint32_t Repairs = 0;
};

// Detects and parses: a new list, or null when the file is not a feed with
// at least one entry (the caller keeps what it shows). A file the XML
// parser refuses is read repaired (see FeedRepair.h); the file itself is
// never changed, so a later version reads old files by its own rules. An item's children
// count only in the item's own namespace, so extension elements (Media RSS,
// Dublin Core, iTunes, atom:link in RSS...) never stand in for its title,
// summary or link. Links are kept as the feed writes them; the link policy
// applies where one is opened. kind, when given, receives what the file was. Never throws: when
// the DOM service cannot be created the result is null as well.
std::unique_ptr<TElementList> ParseFeed(const std::wstring& path, TFeedKind* kind = nullptr,
                                        TFeedReading* reading = nullptr);

// Which readings of the text are tried: the strict one and, when it
// refuses, the repaired one; or the repaired one alone (the tests compare
// the two on well-formed feeds).
enum class TFeedPath { StrictFirst, RepairedOnly };

// The same for feed text already decoded (see DecodeFeedBytes).
std::unique_ptr<TElementList> ParseFeedText(std::wstring text, TFeedPath path, TFeedKind* kind = nullptr,
                                            TFeedReading* reading = nullptr);

// The kind of feed in the file: None when it does not load, is no feed, or
// has no entry.
TFeedKind DetectFeed(const std::wstring& path);

// Name of a kind as tools print it: "rss", "rdf", "atom", "none".
const wchar_t* FeedKindName(TFeedKind kind);
