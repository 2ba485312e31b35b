#include "ticker/DisplayPrefs.h"

#include "build/BuildConfig.h"
#include "framework/WinHandles.h"

namespace {

TArgb SystemColor(int index) {
  const COLORREF c = ::GetSysColor(index);
  return 0xFF000000u | (static_cast<TArgb>(GetRValue(c)) << 16) | (static_cast<TArgb>(GetGValue(c)) << 8) |
         GetBValue(c);
}

bool HighContrastOn() {
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof hc;
  if (::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON)) return true;
  return build::TestSeams && ReadUserDword(TestSeamKey, L"HighContrast", 0) != 0;
}

}  // namespace

DWORD ReadUserDword(const wchar_t* keyPath, const wchar_t* valueName, DWORD fallback) {
  HKEY raw = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return fallback;
  UniqueRegKey key(raw);
  DWORD type = 0, value = 0, size = sizeof value;
  if (::RegQueryValueExW(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return fallback;
  return value;
}

TDisplayPrefs ReadDisplayPrefs() {
  TDisplayPrefs p;
  // Before Windows 10 there is no such value: light, as it always was.
  p.Dark = ReadUserDword(PersonalizeKey, L"AppsUseLightTheme", 1) == 0;
  p.HighContrast = HighContrastOn();
  if (p.HighContrast) {
    p.Colors.Window = SystemColor(COLOR_WINDOW);
    p.Colors.WindowText = SystemColor(COLOR_WINDOWTEXT);
    p.Colors.HotLight = SystemColor(COLOR_HOTLIGHT);
    p.Colors.Highlight = SystemColor(COLOR_HIGHLIGHT);
    p.Colors.HighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
    p.Colors.BtnFace = SystemColor(COLOR_BTNFACE);
    p.Colors.BtnText = SystemColor(COLOR_BTNTEXT);
  }
  const DWORD text = ReadUserDword(AccessibilityKey, L"TextScaleFactor", 100);
  p.TextPercent = text >= 100 && text <= static_cast<DWORD>(MaxTextPercent) ? static_cast<int>(text) : 100;
  BOOL animations = TRUE;
  if (::SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &animations, 0)) p.Animations = animations != FALSE;
  return p;
}
