#include "ticker/DisplayWatch.h"

TDisplayWatch::TDisplayWatch(HWND window, UINT message, const std::vector<const wchar_t*>& keyPaths)
    : window_(window), message_(message) {
  for (const wchar_t* path : keyPaths) {
    auto key = std::make_unique<TKey>();
    key->Owner = this;
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_NOTIFY, &raw) != ERROR_SUCCESS) continue;
    key->Key.Reset(raw);
    key->Event.Reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!key->Event ||
        !::RegisterWaitForSingleObject(&key->Wait, key->Event.Get(), &Signalled, key.get(), INFINITE,
                                       WT_EXECUTEDEFAULT)) {
      key->Wait = nullptr;
      continue;
    }
    keys_.push_back(std::move(key));
  }
  Arm();
}

TDisplayWatch::~TDisplayWatch() {
  // The waits go first (waiting for a callback that may be running): the
  // keys' closing signals their events.
  for (auto& key : keys_) ::UnregisterWaitEx(key->Wait, INVALID_HANDLE_VALUE);
}

void TDisplayWatch::Arm() {
  for (auto& key : keys_)
    if (key->Answered.exchange(false))
      ::RegNotifyChangeKeyValue(key->Key.Get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET, key->Event.Get(), TRUE);
}

void CALLBACK TDisplayWatch::Signalled(void* key, BOOLEAN) {
  auto* k = static_cast<TKey*>(key);
  k->Answered = true;
  ::PostMessageW(k->Owner->window_, k->Owner->message_, 0, 0);
}
