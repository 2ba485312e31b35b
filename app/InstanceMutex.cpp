#include "app/InstanceMutex.h"

TInstanceMutex::TInstanceMutex(const wchar_t* name) {
  HANDLE handle = ::CreateMutexW(nullptr, FALSE, name);
  // Read at once: anything called after CreateMutexW may overwrite it.
  const DWORD error = ::GetLastError();
  if (handle == nullptr) {
    // ERROR_INVALID_HANDLE: the name belongs to an event, a semaphore or a
    // section; ERROR_ACCESS_DENIED: an elevated copy made it. Either way
    // nothing proves this copy is alone.
    error_ = error;
    return;
  }
  handle_.Reset(handle);
  if (error == ERROR_ALREADY_EXISTS) {
    error_ = error;
    claim_ = TClaim::AnotherRuns;
    handle_.Reset();
    return;
  }
  claim_ = TClaim::Alone;
}

TInstanceMutex::~TInstanceMutex() {
  // Released the way it has always been: a zero-time wait, then the handle
  // goes.
  if (claim_ == TClaim::Alone && handle_) ::WaitForSingleObject(handle_.Get(), 0);
}
