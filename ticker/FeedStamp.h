// When the shown list last came from the server: kept beside the saved
// feed ("news.xml.updated"), so that a restart shows the saved copy's real
// age. Times are UTC FILETIME ticks (100 ns since 1601); 0 is "never".
#pragma once

#include <cstdint>
#include <string>

std::wstring UpdateStampPathFor(const std::wstring& cachePath);

// The stamp beside the cache; without one (a copy saved by an older
// version, or a damaged stamp), the cache file's last write time, which is
// when it came; 0 without a cache. A time ahead of `now` is taken as now:
// a list never looks fresher than it can be.
std::uint64_t LoadUpdateTime(const std::wstring& cachePath, std::uint64_t now);
// Stores the stamp (atomically); false when it could not be written.
bool SaveUpdateTime(const std::wstring& cachePath, std::uint64_t ticks);

// The stamp's text, and back (0 for anything but a plain decimal number).
std::string FormatUpdateTime(std::uint64_t ticks);
std::uint64_t ParseUpdateTime(const std::string& text);

// The system clock now, in the same ticks.
std::uint64_t UtcTicksNow();
inline constexpr std::uint64_t TicksPerSecond = 10000000;
