#include "ticker/FeedStamp.h"

#include <windows.h>

#include "app/AtomicFile.h"

std::wstring UpdateStampPathFor(const std::wstring& cachePath) { return cachePath + L".updated"; }

std::string FormatUpdateTime(std::uint64_t ticks) { return std::to_string(ticks) + "\r\n"; }

std::uint64_t ParseUpdateTime(const std::string& text) {
  std::uint64_t value = 0;
  std::size_t i = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (i >= 19) return 0;  // more digits than any time of this calendar
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
  }
  if (i == 0) return 0;
  // Only a line end may follow.
  for (; i < text.size(); ++i)
    if (text[i] != '\r' && text[i] != '\n') return 0;
  return value;
}

std::uint64_t UtcTicksNow() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

std::uint64_t LoadUpdateTime(const std::wstring& cachePath, std::uint64_t now) {
  std::string text;
  std::uint64_t ticks = 0;
  if (ReadSmallFile(UpdateStampPathFor(cachePath), 64, text)) ticks = ParseUpdateTime(text);
  if (ticks == 0) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExW(cachePath.c_str(), GetFileExInfoStandard, &data))
      ticks = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  }
  return ticks > now ? now : ticks;
}

bool SaveUpdateTime(const std::wstring& cachePath, std::uint64_t ticks) {
  return SaveFileAtomically(UpdateStampPathFor(cachePath), FormatUpdateTime(ticks));
}
