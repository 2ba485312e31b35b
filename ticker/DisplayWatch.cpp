#include "ticker/DisplayWatch.h"

#include <string>

TDisplayWatch::TDisplayWatch(HWND window, UINT message, std::vector<const wchar_t*> keyPaths)
    : window_(window), message_(message), paths_(std::move(keyPaths)),
      event_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  if (!event_) return;
  if (!::RegisterWaitForSingleObject(&wait_, event_.Get(), &Signalled, this, INFINITE, WT_EXECUTEDEFAULT)) {
    wait_ = nullptr;
    return;
  }
  Arm();
}

TDisplayWatch::~TDisplayWatch() {
  keys_.clear();
  // Waits for a callback that may be running: none runs after this.
  if (wait_ != nullptr) ::UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
}

void TDisplayWatch::Arm() {
  if (wait_ == nullptr) return;
  keys_.clear();
  for (const wchar_t* path : paths_) {
    std::wstring at = path;
    bool own = true;
    for (;;) {
      HKEY raw = nullptr;
      if (::RegOpenKeyExW(HKEY_CURRENT_USER, at.c_str(), 0, KEY_NOTIFY, &raw) == ERROR_SUCCESS) {
        UniqueRegKey key(raw);
        // The key itself: its values. A key above it: keys made anywhere
        // below (not values, which programs write there all the time), until
        // the key is made.
        const DWORD filter = own ? REG_NOTIFY_CHANGE_LAST_SET : REG_NOTIFY_CHANGE_NAME;
        if (::RegNotifyChangeKeyValue(key.Get(), own ? FALSE : TRUE, filter, event_.Get(), TRUE) == ERROR_SUCCESS)
          keys_.push_back(std::move(key));
        break;
      }
      const size_t slash = at.rfind(L'\\');
      if (slash == std::wstring::npos) break;
      at.resize(slash);
      own = false;
    }
  }
}

void CALLBACK TDisplayWatch::Signalled(void* self, BOOLEAN) {
  auto* watch = static_cast<TDisplayWatch*>(self);
  ::PostMessageW(watch->window_, watch->message_, 0, 0);
}
