#include "ticker/RetryAfter.h"

#include <wininet.h>

#include <algorithm>
#include <cctype>

namespace {

ULONGLONG Ticks(const SYSTEMTIME& time) {
  FILETIME file;
  if (!::SystemTimeToFileTime(&time, &file)) return 0;
  return (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

// The delay the header asks for in milliseconds, capped; 0 when it asks for
// none or cannot be read.
unsigned long long AskedMs(const std::string& header, const SYSTEMTIME& nowUtc) {
  size_t first = header.find_first_not_of(" \t");
  if (first == std::string::npos) return 0;
  size_t last = header.find_last_not_of(" \t");
  std::string value = header.substr(first, last - first + 1);
  if (std::all_of(value.begin(), value.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    // Digits beyond the cap need not be read.
    unsigned long long seconds = 0;
    for (char c : value) {
      seconds = seconds * 10 + static_cast<unsigned>(c - '0');
      if (seconds > MaxRetryAfterMs / 1000) return MaxRetryAfterMs;
    }
    return seconds * 1000;
  }
  // WinInet's date reader is lenient (it makes a date of "-5"): an HTTP
  // date has a time of day and a month's name at the least.
  bool letters = std::any_of(value.begin(), value.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
  if (!letters || value.find(':') == std::string::npos) return 0;
  SYSTEMTIME when;
  if (!::InternetTimeToSystemTimeA(value.c_str(), &when, 0)) return 0;
  ULONGLONG then = Ticks(when), now = Ticks(nowUtc);
  if (then == 0 || now == 0 || then <= now) return 0;
  return std::min<unsigned long long>((then - now) / 10000, MaxRetryAfterMs);
}

}  // namespace

unsigned NextRefreshMs(DWORD status, const std::string& retryAfter, unsigned normalMs, const SYSTEMTIME& nowUtc) {
  if (status != 429 && status != 503) return normalMs;
  unsigned long long asked = std::min<unsigned long long>(AskedMs(retryAfter, nowUtc), MaxRetryAfterMs);
  return static_cast<unsigned>(std::max<unsigned long long>(asked, normalMs));
}
