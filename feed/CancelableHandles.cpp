#include "feed/CancelableHandles.h"

TCancelableHandles::~TCancelableHandles() {
  Close(RequestSlot);
  Close(ConnectionSlot);
}

bool TCancelableHandles::Adopt(Slot slot, HINTERNET handle) {
  HINTERNET old = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!cancelled_) {
      old = handles_[slot];
      handles_[slot] = handle;
      handle = nullptr;
    }
  }
  if (old) ::InternetCloseHandle(old);
  if (handle) {
    ::InternetCloseHandle(handle);
    return false;
  }
  return true;
}

HINTERNET TCancelableHandles::Get(Slot slot) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return handles_[slot];
}

void TCancelableHandles::Close(Slot slot) {
  HINTERNET handle;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    handle = handles_[slot];
    handles_[slot] = nullptr;
  }
  if (handle) ::InternetCloseHandle(handle);
}

void TCancelableHandles::Cancel() {
  HINTERNET open[SlotCount];
  {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
    for (int i = 0; i < SlotCount; ++i) {
      open[i] = handles_[i];
      handles_[i] = nullptr;
    }
  }
  // Outside the lock: the worker may be inside a call on these handles, and
  // closing them is what makes that call return.
  if (open[RequestSlot]) ::InternetCloseHandle(open[RequestSlot]);
  if (open[ConnectionSlot]) ::InternetCloseHandle(open[ConnectionSlot]);
}

bool TCancelableHandles::Cancelled() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cancelled_;
}
