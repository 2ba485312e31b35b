#include "ticker/FeedValidators.h"

#include <windows.h>

#include <cstdio>

#include "app/AtomicFile.h"
#include "framework/WinHandles.h"

namespace {

// A feed is at most a few MB; the validators file a few hundred bytes.
constexpr DWORD MaxFeedFile = 64u << 20;
constexpr DWORD MaxValidatorsFile = 16u << 10;

bool Clean(const std::string& value) {
  for (unsigned char c : value)
    if (c < 0x20 || c == 0x7f) return false;
  return true;
}

std::string Hex(std::uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

std::uint64_t FeedChecksum(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string FormatFeedValidators(const TFeedValidators& validators, const std::string& feedBytes) {
  return "Length: " + std::to_string(feedBytes.size()) + "\r\nChecksum: " + Hex(FeedChecksum(feedBytes)) +
         "\r\nETag: " + validators.ETag + "\r\nLast-Modified: " + validators.LastModified + "\r\n";
}

TFeedValidators ParseFeedValidators(const std::string& text, const std::string& feedBytes) {
  std::string length, checksum;
  TFeedValidators found;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) return {};  // cut short
    std::string line = text.substr(at, end - at);
    at = end + 2;
    size_t colon = line.find(": ");
    if (colon == std::string::npos) return {};
    std::string name = line.substr(0, colon), value = line.substr(colon + 2);
    if (!Clean(value)) return {};
    if (name == "Length")
      length = value;
    else if (name == "Checksum")
      checksum = value;
    else if (name == "ETag")
      found.ETag = value;
    else if (name == "Last-Modified")
      found.LastModified = value;
  }
  if (length != std::to_string(feedBytes.size()) || checksum != Hex(FeedChecksum(feedBytes))) return {};
  return found;
}

TFeedValidators LoadFeedValidators(const std::wstring& path, const std::wstring& feedPath) {
  std::string text, feed;
  if (!ReadSmallFile(path, MaxValidatorsFile, text) || !ReadSmallFile(feedPath, MaxFeedFile, feed)) return {};
  return ParseFeedValidators(text, feed);
}

bool SaveFeedValidators(const std::wstring& path, const TFeedValidators& validators, const std::string& feedBytes) {
  if (validators.Empty() || !Clean(validators.ETag) || !Clean(validators.LastModified))
    return ::DeleteFileW(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
  return SaveFileAtomically(path, FormatFeedValidators(validators, feedBytes));
}
