// The session's single-instance mutex: one copy of the ticker per user
// session, decided by one atomic CreateMutexW.
#pragma once

#include <windows.h>

#include "framework/WinHandles.h"

class TInstanceMutex {
 public:
  enum class TClaim {
    Alone,        // this process created the mutex and holds it
    AnotherRuns,  // the mutex already existed
    Unproven,     // the name could not be taken (another kind of object, no access, no resources)
  };

  // Creates the named mutex in one step: there is no window between asking
  // and taking, so of two copies started at the same moment exactly one is
  // Alone.
  explicit TInstanceMutex(const wchar_t* name);
  ~TInstanceMutex();
  TInstanceMutex(const TInstanceMutex&) = delete;
  TInstanceMutex& operator=(const TInstanceMutex&) = delete;

  TClaim Claim() const { return claim_; }
  // The error CreateMutexW reported when the claim is not Alone.
  DWORD Error() const { return error_; }

 private:
  UniqueKernelHandle handle_;
  TClaim claim_ = TClaim::Unproven;
  DWORD error_ = 0;
};
