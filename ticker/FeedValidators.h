// The validators (ETag, Last-Modified) of the saved feed, kept in a small
// file of their own beside it, so the next request can be conditional. The
// file also records the length and a checksum of the bytes they belong to:
// validators of any other copy of the feed are worthless and are not sent.
#pragma once

#include <cstdint>
#include <string>

struct TFeedValidators {
  std::string ETag;
  std::string LastModified;

  bool Empty() const { return ETag.empty() && LastModified.empty(); }
};

// FNV-1a over the bytes.
std::uint64_t FeedChecksum(const std::string& bytes);

// The file's text for validators of these feed bytes, and back. Parse gives
// nothing (empty validators) for text that is malformed, belongs to other
// bytes or holds a value with control characters.
std::string FormatFeedValidators(const TFeedValidators& validators, const std::string& feedBytes);
TFeedValidators ParseFeedValidators(const std::string& text, const std::string& feedBytes);

// The validators stored at path for the feed file at feedPath; empty when
// either file is missing, unreadable or too large, or they do not match.
TFeedValidators LoadFeedValidators(const std::wstring& path, const std::wstring& feedPath);
// Stores them (atomically) for these feed bytes; empty validators remove
// the file. Returns whether the file now says what it should.
bool SaveFeedValidators(const std::wstring& path, const TFeedValidators& validators, const std::string& feedBytes);
