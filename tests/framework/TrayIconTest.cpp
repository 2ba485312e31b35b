#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/TrayIcon.h"

namespace {

// Watches the shell calls of a tray icon; with Forward set they also reach
// the real notification area.
struct ShellLog {
  struct Call {
    DWORD message;
    NOTIFYICONDATAW data;
    BOOL result;
  };
  std::vector<Call> calls;
  bool Forward = false;

  void Attach(TTrayIcon& tray) {
    tray.ShellNotify = [this](DWORD message, NOTIFYICONDATAW* data) {
      BOOL result = Forward ? ::Shell_NotifyIconW(message, data) : TRUE;
      calls.push_back({message, *data, result});
      return result;
    };
  }
  std::vector<DWORD> Messages() const {
    std::vector<DWORD> out;
    for (const Call& c : calls) out.push_back(c.message);
    return out;
  }
  const NOTIFYICONDATAW& Last() const { return calls.back().data; }
};

using Messages = std::vector<DWORD>;

HICON ProgramIcon() { return ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101)); }
// A private copy the tray icon may own and destroy.
HICON OwnedIcon() { return ::CopyIcon(ProgramIcon()); }
bool IconAlive(HICON icon) {
  ICONINFO info = {};
  if (!::GetIconInfo(icon, &info)) return false;
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  return true;
}

// Holds Shift and/or Ctrl in this thread's key state for one scope.
struct HeldKeys {
  BYTE saved[256];
  HeldKeys(bool shift, bool control) {
    ::GetKeyboardState(saved);
    BYTE state[256];
    ::GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    ::SetKeyboardState(state);
  }
  ~HeldKeys() { ::SetKeyboardState(saved); }
};

struct EventLog {
  std::vector<std::string> events;
  POINT at{-1, -1};
  void Attach(TTrayIcon& tray) {
    auto mouse = [this](const char* name) {
      return [this, name](TControl*, int keys, int x, int y) {
        events.push_back(std::string(name) + " " + std::to_string(keys));
        at = {x, y};
      };
    };
    tray.OnMouseMove = mouse("move");
    tray.OnMouseDown = mouse("down");
    tray.OnMouseUp = mouse("up");
    tray.OnClick = mouse("click");
    tray.OnDblClick = mouse("dbl");
    tray.OnBalloonAction = [this](TControl*, int action) { events.push_back("balloon " + std::to_string(action)); };
  }
};

void Callback(TTrayIcon& tray, UINT what) {
  ::SendMessageW(tray.Handle(), WM_TRAYNOTIFY, tray.Data().uID, static_cast<LPARAM>(what));
}

}  // namespace

TEST_CASE("a new tray icon: record, defaults and its hidden host window") {
  TTrayIcon tray;
  const NOTIFYICONDATAW& d = tray.Data();
  // The size the shell expects from a program of this architecture.
#if defined(_WIN64)
  CHECK(d.cbSize == 952u);
#else
  CHECK(d.cbSize == 936u);
#endif
  CHECK(d.uFlags == static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
  CHECK(d.uCallbackMessage == 0x9334u);
  CHECK(d.uTimeout == 3000u);
  CHECK(tray.BalloonTimeout() == 3000);
  CHECK(tray.BalloonFlags == bfNone);
  CHECK(tray.Icon() == nullptr);
  CHECK_FALSE(tray.VisibleTray());
  CHECK(tray.HintText().empty());
  CHECK(d.hWnd == nullptr);

  HWND w = tray.Handle();
  REQUIRE(w != nullptr);
  CHECK(d.hWnd == w);
  CHECK(d.uID == static_cast<UINT>(reinterpret_cast<UINT_PTR>(w)));
  CHECK(static_cast<DWORD>(::GetWindowLongW(w, GWL_STYLE)) == static_cast<DWORD>(WS_POPUP | WS_CLIPSIBLINGS));
  CHECK((static_cast<DWORD>(::GetWindowLongW(w, GWL_EXSTYLE)) & WS_EX_TOOLWINDOW) != 0);
  CHECK_FALSE(::IsWindowVisible(w));
}

TEST_CASE("VisibleTray adds and deletes the icon once per change") {
  TTrayIcon tray;
  ShellLog log;
  log.Attach(tray);

  SUBCASE("before the window exists the icon waits for it") {
    tray.SetVisibleTray(true);
    CHECK(log.calls.empty());
    tray.Handle();
    CHECK(log.Messages() == Messages{NIM_ADD});
    CHECK(log.Last().hWnd == tray.WindowHandle());
  }
  SUBCASE("with a window: true twice adds once, false deletes") {
    tray.Handle();
    CHECK(log.calls.empty());  // not visible: creation sends nothing
    tray.SetVisibleTray(true);
    tray.SetVisibleTray(true);
    CHECK(log.Messages() == Messages{NIM_ADD});
    tray.SetVisibleTray(false);
    tray.SetVisibleTray(false);
    CHECK(log.Messages() == Messages{NIM_ADD, NIM_DELETE});
    CHECK(log.Last().uID == static_cast<UINT>(reinterpret_cast<UINT_PTR>(tray.WindowHandle())));
  }
  SUBCASE("a refusing shell still leaves the new value") {
    tray.ShellNotify = [](DWORD, NOTIFYICONDATAW*) { return FALSE; };
    tray.Handle();
    tray.SetVisibleTray(true);
    CHECK(tray.VisibleTray());
    CHECK_FALSE(tray.Notify(NIM_MODIFY));
  }
}

TEST_CASE("HintText sets the tip flag by emptiness and updates a visible icon") {
  TTrayIcon tray;
  ShellLog log;
  log.Attach(tray);
  tray.Handle();

  tray.SetHintText(L"Kavrelo");
  CHECK(log.calls.empty());  // not visible: only stored
  CHECK((tray.Data().uFlags & NIF_TIP) != 0);
  CHECK(std::wstring(tray.Data().szTip) == L"Kavrelo");

  tray.SetVisibleTray(true);
  tray.SetHintText(L"");
  CHECK((tray.Data().uFlags & NIF_TIP) == 0);
  CHECK(log.Messages() == Messages{NIM_ADD, NIM_MODIFY});
  CHECK((log.Last().uFlags & NIF_TIP) == 0);

  tray.SetHintText(L"Güncelleniyor");
  CHECK(log.Messages() == Messages{NIM_ADD, NIM_MODIFY, NIM_MODIFY});
  CHECK((log.Last().uFlags & NIF_TIP) != 0);
  CHECK(std::wstring(log.Last().szTip) == L"Güncelleniyor");

  tray.SetHintText(L"Güncelleniyor");  // unchanged: no call
  CHECK(log.calls.size() == 3);

  // Texts that look alike in an 8-bit code page are still different texts.
  tray.SetHintText(L"\u4E00");
  tray.SetHintText(L"\u4E01");
  CHECK(log.calls.size() == 5);
  CHECK(std::wstring(tray.Data().szTip) == L"\u4E01");
}

TEST_CASE("texts are cut to their fields without splitting a surrogate pair") {
  struct Row {
    const char* field;
    void (TTrayIcon::*set)(const std::wstring&);
    const wchar_t* (*read)(const NOTIFYICONDATAW&);
    size_t limit;
  };
  const Row rows[] = {
      {"tip", &TTrayIcon::SetHintText, [](const NOTIFYICONDATAW& d) -> const wchar_t* { return d.szTip; }, 127},
      {"balloon", &TTrayIcon::SetBalloonHint, [](const NOTIFYICONDATAW& d) -> const wchar_t* { return d.szInfo; },
       255},
      {"title", &TTrayIcon::SetBalloonTitle,
       [](const NOTIFYICONDATAW& d) -> const wchar_t* { return d.szInfoTitle; }, 63},
  };
  for (const Row& row : rows) {
    CAPTURE(row.field);
    TTrayIcon tray;
    std::wstring longText(row.limit + 50, L'ş');
    (tray.*row.set)(longText);
    CHECK(std::wstring(row.read(tray.Data())) == longText.substr(0, row.limit));

    std::wstring exact(row.limit, L'a');
    (tray.*row.set)(exact);
    CHECK(std::wstring(row.read(tray.Data())) == exact);

    // An emoji (two units) straddling the limit is left out whole.
    std::wstring straddling(row.limit - 1, L'a');
    straddling += L"\U0001F600";
    (tray.*row.set)(straddling);
    CHECK(std::wstring(row.read(tray.Data())) == std::wstring(row.limit - 1, L'a'));
  }
}

TEST_CASE("balloons: texts modify at once, ShowBalloon shows, a notification ends the showing") {
  TTrayIcon tray;
  ShellLog log;
  log.Attach(tray);
  tray.Handle();

  // Even while the icon is not visible.
  tray.SetBalloonTitle(L"Yeni sürüm");
  tray.SetBalloonHint(L"Kavrelo 2.1 hazır");
  tray.SetBalloonHint(L"Kavrelo 2.1 hazır");
  CHECK(log.Messages() == Messages{NIM_MODIFY, NIM_MODIFY});
  CHECK(std::wstring(log.Last().szInfo) == L"Kavrelo 2.1 hazır");
  CHECK(std::wstring(log.Last().szInfoTitle) == L"Yeni sürüm");

  tray.SetVisibleTray(true);
  tray.BalloonFlags = bfWarning;
  tray.SetBalloonTimeout(5000);
  CHECK(log.calls.size() == 3);  // the timeout is only stored
  tray.ShowBalloon();
  CHECK((log.Last().uFlags & NIF_INFO) != 0);
  CHECK(log.Last().dwInfoFlags == static_cast<DWORD>(NIIF_WARNING));
  CHECK(log.Last().uTimeout == 5000u);

  EventLog events;
  events.Attach(tray);
  Callback(tray, NIN_BALLOONSHOW);
  CHECK((tray.Data().uFlags & NIF_INFO) == 0);
  tray.SetHintText(L"Kavrelo");
  CHECK((log.Last().uFlags & NIF_INFO) == 0);  // the balloon is not shown again

  tray.ShowBalloon();
  Callback(tray, NIN_BALLOONUSERCLICK);
  Callback(tray, NIN_BALLOONTIMEOUT);
  Callback(tray, NIN_BALLOONHIDE);
  CHECK(events.events == std::vector<std::string>{"balloon 1026", "balloon 1029", "balloon 1028", "balloon 1027"});
  CHECK((tray.Data().uFlags & NIF_INFO) == 0);
}

TEST_CASE("the tray icon owns its icon") {
  HICON first = OwnedIcon(), second = OwnedIcon();
  REQUIRE(first != nullptr);
  {
    TTrayIcon tray;
    ShellLog log;
    log.Attach(tray);
    tray.Handle();
    tray.SetIcon(UniqueIcon(first));
    CHECK(tray.Data().hIcon == first);
    CHECK(log.calls.empty());  // not visible
    tray.SetVisibleTray(true);
    tray.SetIcon(UniqueIcon(first));  // the same icon again: kept, no call
    CHECK(IconAlive(first));
    CHECK(log.Messages() == Messages{NIM_ADD});
    tray.SetIcon(UniqueIcon(second));
    CHECK_FALSE(IconAlive(first));
    CHECK(log.Messages() == Messages{NIM_ADD, NIM_MODIFY});
    CHECK(log.Last().hIcon == second);
    CHECK(IconAlive(second));
  }
  CHECK_FALSE(IconAlive(second));
}

TEST_CASE("a shared icon is borrowed: never destroyed by the tray icon") {
  // A copy stands in for a shared icon: Wine, unlike some Windows versions,
  // refuses to destroy a truly shared one, which would hide the fault.
  HICON borrowed = OwnedIcon(), owned = OwnedIcon();
  {
    TTrayIcon tray;
    ShellLog log;
    log.Attach(tray);
    tray.Handle();
    tray.SetIcon(SharedIcon(borrowed));
    CHECK(tray.Icon() == borrowed);
    tray.SetIcon(UniqueIcon(owned));  // replacing it leaves it alone
    CHECK(IconAlive(borrowed));
    tray.SetIcon(SharedIcon(borrowed));  // and an owned one it replaces goes
    CHECK_FALSE(IconAlive(owned));
  }
  CHECK(IconAlive(borrowed));
  ::DestroyIcon(borrowed);
}

TEST_CASE("the shell's callback becomes mouse events with button flags and the cursor position") {
  TTrayIcon tray;
  tray.Handle();
  EventLog log;
  log.Attach(tray);
  ::SetCursorPos(321, 123);
  POINT cursor;
  ::GetCursorPos(&cursor);

  struct Row {
    UINT lParam;
    std::vector<std::string> events;
  };
  const Row rows[] = {
      {WM_MOUSEMOVE, {"move 0"}},
      {WM_LBUTTONDOWN, {"down 1"}},
      {WM_RBUTTONDOWN, {"down 2"}},
      {WM_RBUTTONUP, {"up 2"}},
      {WM_MBUTTONDOWN, {"down 16"}},
      {WM_MBUTTONUP, {"up 16"}},
      {WM_LBUTTONDBLCLK, {"dbl 1"}},
      {WM_RBUTTONDBLCLK, {"dbl 2"}},
      {WM_MBUTTONDBLCLK, {"dbl 16"}},
      {WM_KEYDOWN, {}},
      {WM_USER + 1, {}},
  };
  for (const Row& row : rows) {
    CAPTURE(row.lParam);
    log.events.clear();
    log.at = {-1, -1};
    Callback(tray, row.lParam);
    CHECK(log.events == row.events);
    if (!row.events.empty()) {
      CHECK(log.at.x == cursor.x);
      CHECK(log.at.y == cursor.y);
    }
  }
}

TEST_CASE("a left click on the tray icon: click before the release, no position test") {
  TTrayIcon tray;
  tray.Handle();
  EventLog log;
  log.Attach(tray);
  ::SetCursorPos(5000, 5000);  // wherever the cursor is, it is a click

  SUBCASE("double click") {
    for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) Callback(tray, m);
    CHECK(log.events == std::vector<std::string>{"down 1", "click 1", "up 1", "dbl 1", "up 1"});
  }
  SUBCASE("a release without a press is no click") {
    Callback(tray, WM_LBUTTONUP);
    CHECK(log.events == std::vector<std::string>{"up 1"});
  }
  SUBCASE("the right button never clicks") {
    Callback(tray, WM_RBUTTONDOWN);
    Callback(tray, WM_RBUTTONUP);
    CHECK(log.events == std::vector<std::string>{"down 2", "up 2"});
  }
  SUBCASE("Shift and Ctrl join the button flag") {
    struct Row {
      bool shift, control;
      int keys;
    };
    for (Row row : {Row{true, false, MK_SHIFT}, Row{false, true, MK_CONTROL}, Row{true, true, MK_SHIFT | MK_CONTROL}}) {
      HeldKeys held(row.shift, row.control);
      log.events.clear();
      Callback(tray, WM_RBUTTONUP);
      CHECK(log.events == std::vector<std::string>{"up " + std::to_string(row.keys | MK_RBUTTON)});
    }
  }
}

TEST_CASE("session end and close remove the icon") {
  TTrayIcon tray;
  ShellLog log;
  log.Attach(tray);
  HICON icon = OwnedIcon();
  tray.SetIcon(UniqueIcon(icon));
  HWND w = tray.Handle();
  tray.SetVisibleTray(true);

  SUBCASE("the session may end; ending it removes the icon") {
    CHECK(::SendMessageW(w, WM_QUERYENDSESSION, 0, 0) == 1);
    ::SendMessageW(w, WM_ENDSESSION, FALSE, 0);  // cancelled
    CHECK(log.Messages() == Messages{NIM_ADD});
    ::SendMessageW(w, WM_ENDSESSION, TRUE, 0);
    CHECK(log.Messages() == Messages{NIM_ADD, NIM_DELETE});
    CHECK(::IsWindow(w));
  }
  SUBCASE("WM_CLOSE destroys the host window, deletes the icon and frees it") {
    int destroyed = 0;
    tray.OnDestroy = [&](TControl*) { ++destroyed; };
    ::SendMessageW(w, WM_CLOSE, 0, 0);
    CHECK_FALSE(::IsWindow(w));
    CHECK(destroyed == 1);
    CHECK(log.Messages() == Messages{NIM_ADD, NIM_DELETE});
    CHECK(log.Last().hWnd == w);
    CHECK_FALSE(tray.VisibleTray());
    CHECK(tray.Data().hWnd == nullptr);
    CHECK(tray.Icon() == nullptr);
    CHECK_FALSE(IconAlive(icon));
    // Nothing reaches the shell for a window that is gone.
    tray.SetVisibleTray(true);
    CHECK(log.calls.size() == 2);
  }
}

TEST_CASE("freeing a tray icon whose window is alive removes the icon") {
  ShellLog log;
  {
    TTrayIcon tray;
    log.Attach(tray);
    tray.Handle();
    tray.SetVisibleTray(true);
  }
  CHECK(log.Messages() == Messages{NIM_ADD, NIM_DELETE});
}

TEST_CASE("the real notification area accepts, changes and removes the icon") {
  TTrayIcon tray;
  ShellLog log;
  log.Forward = true;
  log.Attach(tray);
  tray.SetIcon(UniqueIcon(OwnedIcon()));
  tray.SetHintText(L"Kavrelo");
  tray.Handle();
  tray.SetVisibleTray(true);
  REQUIRE(log.calls.size() == 1);
  CHECK(log.calls[0].result);

  NOTIFYICONDATAW copy = tray.Data();
  CHECK_FALSE(::Shell_NotifyIconW(NIM_ADD, &copy));  // already there: added once
  CHECK(tray.Notify(NIM_MODIFY));
  tray.SetHintText(L"Kavrelo - Son dakika");
  CHECK(log.calls.back().message == static_cast<DWORD>(NIM_MODIFY));
  CHECK(log.calls.back().result);

  tray.SetVisibleTray(false);
  CHECK(log.calls.back().result);
  CHECK_FALSE(tray.Notify(NIM_MODIFY));  // gone

  tray.SetVisibleTray(true);
  ::SendMessageW(tray.WindowHandle(), WM_CLOSE, 0, 0);
  CHECK(log.calls.back().message == static_cast<DWORD>(NIM_DELETE));
  CHECK(log.calls.back().result);
  copy = log.calls.back().data;
  CHECK_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &copy));
}
