// The on-disk copy of the last feed ("news.xml" in the data folder).
#pragma once

#include <string>

// DataFolder + "\news.xml".
std::wstring FeedCachePath();
