// The display preferences as the registry and the system parameters give
// them, what they make of the face's look, and the watch that tells the
// window of a change: once per change, not a flood.
#include <doctest.h>

#include <windows.h>

#include <string>

#include "ticker/DisplayLook.h"
#include "ticker/DisplayPrefs.h"

namespace {

constexpr UINT WatchMessage = WM_APP + 7;

void SetDword(const wchar_t* key, const wchar_t* name, DWORD value) {
  REQUIRE(::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value) == ERROR_SUCCESS);
}
void SetText(const wchar_t* key, const wchar_t* name, const wchar_t* text) {
  REQUIRE(::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text,
                            static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS);
}
void Delete(const wchar_t* key, const wchar_t* name) { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name); }

// What the tests change, put back as it was.
struct Restore {
  COLORREF window = ::GetSysColor(COLOR_WINDOW);
  ~Restore() {
    Delete(PersonalizeKey, L"AppsUseLightTheme");
    Delete(AccessibilityKey, L"TextScaleFactor");
    Delete(TestSeamKey, L"HighContrast");
    const INT index = COLOR_WINDOW;
    ::SetSysColors(1, &index, &window);
  }
};

// The messages of `window` posted within `ms`.
int Drain(HWND window, DWORD ms) {
  int count = 0;
  const DWORD end = ::GetTickCount() + ms;
  MSG msg;
  while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
    while (::PeekMessageW(&msg, window, WatchMessage, WatchMessage, PM_REMOVE)) ++count;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
  }
  return count;
}

}  // namespace

TEST_CASE("preferences from the registry: dark mode, text size, with bad values as the defaults") {
  Restore restore;
  struct {
    const wchar_t* Name;
    DWORD Dark;       // AppsUseLightTheme, or ~0 for none
    DWORD Text;       // TextScaleFactor, or ~0 for none
    bool WantDark;
    int WantText;
  } cases[] = {
      {L"nothing set: light, 100%", ~0u, ~0u, false, 100},
      {L"apps dark", 0, ~0u, true, 100},
      {L"apps light", 1, ~0u, false, 100},
      {L"text at 150%", ~0u, 150, false, 150},
      {L"text at the top of its range", ~0u, 225, false, 225},
      {L"text out of range", ~0u, 300, false, 100},
      {L"text below its range", ~0u, 90, false, 100},
  };
  for (const auto& c : cases) {
    INFO(std::string(c.Name, c.Name + std::wcslen(c.Name)));
    Delete(PersonalizeKey, L"AppsUseLightTheme");
    Delete(AccessibilityKey, L"TextScaleFactor");
    if (c.Dark != ~0u) SetDword(PersonalizeKey, L"AppsUseLightTheme", c.Dark);
    if (c.Text != ~0u) SetDword(AccessibilityKey, L"TextScaleFactor", c.Text);
    const TDisplayPrefs p = ReadDisplayPrefs();
    CHECK(p.Dark == c.WantDark);
    CHECK(p.TextPercent == c.WantText);
    CHECK(p.Look() == (c.WantDark ? TLook::Dark : TLook::Light));
  }
  // A value of another type is no answer.
  SetText(PersonalizeKey, L"AppsUseLightTheme", L"0");
  SetText(AccessibilityKey, L"TextScaleFactor", L"200");
  CHECK_FALSE(ReadDisplayPrefs().Dark);
  CHECK(ReadDisplayPrefs().TextPercent == 100);
}

TEST_CASE("high contrast takes the system's colours, and follows them") {
  Restore restore;
  SetDword(TestSeamKey, L"HighContrast", 1);
  TDisplayLook look;
  REQUIRE(look.Look() == TLook::HighContrast);
  CHECK(look.FocusAlwaysShown());
  CHECK(look.Palette().Opaque);
  const INT index = COLOR_WINDOW;
  const COLORREF navy = RGB(0, 0, 0x80);
  REQUIRE(::SetSysColors(1, &index, &navy));
  CHECK(look.Refresh());
  CHECK(look.Palette().ListBack == 0xFF000080u);
  CHECK_FALSE(look.Refresh());  // nothing new
  Delete(TestSeamKey, L"HighContrast");
  CHECK(look.Refresh());
  CHECK(look.Look() == TLook::Light);
  CHECK_FALSE(look.FocusAlwaysShown());
}

TEST_CASE("the ticker's own text size: the menu's sizes only, times Windows', at most 225%") {
  Restore restore;
  SetDword(AccessibilityKey, L"TextScaleFactor", 150);
  TDisplayLook look;
  CHECK(look.ListTextPercent() == 150);
  CHECK_FALSE(look.SetOwnTextPercent(130));
  CHECK(look.OwnTextPercent() == 100);
  CHECK(look.SetOwnTextPercent(125));
  CHECK(look.ListTextPercent() == 188);
  CHECK(look.SetOwnTextPercent(200));
  CHECK(look.ListTextPercent() == 225);
}

TEST_CASE("the watch tells the window of a change once, and again after the next") {
  Restore restore;
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  REQUIRE(window != nullptr);
  {
    SetDword(AccessibilityKey, L"TextScaleFactor", 100);
    TDisplayLook look(window, WatchMessage);
    CHECK(Drain(window, 200) == 0);
    SetDword(AccessibilityKey, L"TextScaleFactor", 175);
    int told = 0;
    const DWORD end = ::GetTickCount() + 5000;
    while (told == 0 && static_cast<LONG>(end - ::GetTickCount()) > 0) told = Drain(window, 50);
    REQUIRE(told >= 1);
    CHECK(look.Changed());
    CHECK(look.Prefs().TextPercent == 175);
    // Asking for the next change starts no round of its own.
    CHECK(Drain(window, 500) <= 1);
    CHECK_FALSE(look.Changed());
    // The next change is told too.
    SetDword(PersonalizeKey, L"AppsUseLightTheme", 0);
    told = 0;
    const DWORD again = ::GetTickCount() + 5000;
    while (told == 0 && static_cast<LONG>(again - ::GetTickCount()) > 0) told = Drain(window, 50);
    CHECK(told >= 1);
    CHECK(look.Changed());
    CHECK(look.Look() == TLook::Dark);
  }
  // Gone with the look: nothing more is posted.
  SetDword(AccessibilityKey, L"TextScaleFactor", 125);
  CHECK(Drain(window, 300) == 0);
  ::DestroyWindow(window);
}
