// What a process holds in memory, read from outside its heaps.
#pragma once

#include <windows.h>

// Committed private memory of a process (what Windows counts as its private
// bytes), summed over its address space: Wine leaves the counters'
// PrivateUsage at 0. The handle needs PROCESS_QUERY_INFORMATION.
inline unsigned long long CommittedPrivateBytes(HANDLE process) {
  unsigned long long total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (char* at = nullptr; ::VirtualQueryEx(process, at, &info, sizeof(info)) == sizeof(info);) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    char* next = static_cast<char*>(info.BaseAddress) + info.RegionSize;
    if (next <= at) break;  // the top of the address space
    at = next;
  }
  return total;
}
