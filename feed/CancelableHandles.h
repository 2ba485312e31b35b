// The WinInet handles one exchange has open, shared with the thread that may
// cancel it. Closing a handle is how WinInet aborts a call blocked on it, so
// Cancel closes them from the cancelling thread; the exchange then fails at
// its next call and opens nothing more.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <mutex>

class TCancelableHandles {
 public:
  enum Slot { ConnectionSlot, RequestSlot, SlotCount };

  TCancelableHandles() = default;
  // Closes whatever is still open, the request before its connection.
  ~TCancelableHandles();
  TCancelableHandles(const TCancelableHandles&) = delete;
  TCancelableHandles& operator=(const TCancelableHandles&) = delete;

  // Takes ownership of handle (which may be null) in the slot, closing what
  // the slot held. Once cancelled the handle is closed at once and the
  // result is false.
  bool Adopt(Slot slot, HINTERNET handle);
  // The slot's handle, or null.
  HINTERNET Get(Slot slot) const;
  // Closes the slot's handle unless Cancel already has.
  void Close(Slot slot);
  // Closes every open handle and refuses new ones. Safe from any thread.
  void Cancel();
  bool Cancelled() const;

 private:
  mutable std::mutex mutex_;
  HINTERNET handles_[SlotCount] = {};
  bool cancelled_ = false;
};
