#include "ticker/FeedCache.h"

#include <windows.h>

#include "app/Globals.h"

std::wstring FeedCachePath() {
  std::wstring name = L"/news.xml";
  for (auto& c : name)
    if (c == L'/') c = L'\\';
  return DataFolder + name;
}
