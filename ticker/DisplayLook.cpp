#include "ticker/DisplayLook.h"

#include <algorithm>
#include <iterator>

#include "build/BuildConfig.h"
#include "ticker/DisplayWatch.h"

TDisplayLook::TDisplayLook(HWND window, UINT message) : prefs_(ReadDisplayPrefs()) {
  if (window == nullptr) return;
  std::vector<const wchar_t*> keys{PersonalizeKey, AccessibilityKey};
  if (build::TestSeams) keys.push_back(TestSeamKey);
  watch_ = std::make_unique<TDisplayWatch>(window, message, keys);
}

TDisplayLook::~TDisplayLook() = default;

bool TDisplayLook::Refresh() { return Take(ReadDisplayPrefs()); }

bool TDisplayLook::Changed() {
  if (watch_) watch_->Arm();
  return Refresh();
}

bool TDisplayLook::Take(const TDisplayPrefs& prefs) {
  if (prefs == prefs_) return false;
  prefs_ = prefs;
  return true;
}

bool TDisplayLook::SetOwnTextPercent(int percent) {
  if (std::find(std::begin(OwnTextPercents), std::end(OwnTextPercents), percent) == std::end(OwnTextPercents))
    return false;
  own_ = percent;
  return true;
}
