#include "ticker/NetworkWatch.h"

#include <iphlpapi.h>

TNetworkWatch::TNetworkWatch(HWND window, UINT message)
    : window_(window), message_(message), event_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  if (!event_) return;
  overlapped_.hEvent = event_.Get();
  Arm();
  if (!pending_) return;
  if (!::RegisterWaitForSingleObject(&wait_, event_.Get(), &Signalled, this, INFINITE, WT_EXECUTEDEFAULT)) {
    wait_ = nullptr;
    ::CancelIPChangeNotify(&overlapped_);
    pending_ = false;
  }
}

TNetworkWatch::~TNetworkWatch() {
  if (pending_) ::CancelIPChangeNotify(&overlapped_);
  // Waits for a callback that may be running: none runs after this.
  if (wait_ != nullptr) ::UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
}

void TNetworkWatch::Arm() {
  if (!event_) return;
  HANDLE notify = nullptr;
  pending_ = ::NotifyAddrChange(&notify, &overlapped_) == ERROR_IO_PENDING;
}

void CALLBACK TNetworkWatch::Signalled(void* self, BOOLEAN) {
  auto* watch = static_cast<TNetworkWatch*>(self);
  ::PostMessageW(watch->window_, watch->message_, 0, 0);
}
