// What this process has cost the system so far (Linux): page faults from
// getrusage, system calls from the kernel's raw_syscalls:sys_enter
// tracepoint through perf_event_open. The tracepoint needs tracefs mounted
// and the right to trace; without them the count is -1.
#pragma once

#include <linux/perf_event.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

struct TProcessCounters {
  long long pageFaults = 0;
  long long systemCalls = -1;
};

namespace process_counters {

inline int OpenSyscallCounter() {
  long id = -1;
  for (const char* path : {"/sys/kernel/tracing/events/raw_syscalls/sys_enter/id",
                           "/sys/kernel/debug/tracing/events/raw_syscalls/sys_enter/id"}) {
    if (FILE* file = std::fopen(path, "r")) {
      if (std::fscanf(file, "%ld", &id) != 1) id = -1;
      std::fclose(file);
      if (id >= 0) break;
    }
  }
  if (id < 0) return -1;
  perf_event_attr attr;
  std::memset(&attr, 0, sizeof(attr));
  attr.type = PERF_TYPE_TRACEPOINT;
  attr.size = sizeof(attr);
  attr.config = static_cast<std::uint64_t>(id);
  attr.exclude_hv = 1;
  return static_cast<int>(syscall(SYS_perf_event_open, &attr, 0, -1, -1, 0));
}

}  // namespace process_counters

inline TProcessCounters ReadProcessCounters() {
  static const int counter = process_counters::OpenSyscallCounter();
  TProcessCounters counters;
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) == 0) counters.pageFaults = usage.ru_minflt + usage.ru_majflt;
  std::uint64_t calls = 0;
  if (counter >= 0 && read(counter, &calls, sizeof(calls)) == static_cast<ssize_t>(sizeof(calls)))
    counters.systemCalls = static_cast<long long>(calls);
  return counters;
}

// Keeps the run on the core it starts on, away from the scheduler's moves.
inline void PinToOneCore() {
  const int cpu = sched_getcpu();
  if (cpu < 0) return;
  cpu_set_t set;
  CPU_ZERO(&set);
  CPU_SET(cpu, &set);
  sched_setaffinity(0, sizeof(set), &set);
}
