#include <doctest.h>

#include <windows.h>

#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "framework/Control.h"
#include "framework/InputMessages.h"

namespace {

// A top-level host for child controls under test.
class Host : public TControl {
 public:
  Host() : TControl(L"TTestHost") { SetSize(200, 100); }

 protected:
  void CreateParams(TCreateParams& p) override {
    TControl::CreateParams(p);
    p.Style = WS_POPUP | WS_CLIPCHILDREN;
    p.ExStyle = 0;
  }
};

LRESULT CALLBACK RecordingDefault(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// A control whose class's default procedure records what reaches it.
class Probe : public TControl {
 public:
  Probe() : TControl(L"TTestProbe") {}
  int defaults = 0;
  std::map<UINT, int> defaulted;  // what reached the default procedure
  std::map<UINT, int> seen;       // notifications reflected to this control
  bool createdAfterDefault = false;
  using TControl::FromWindow;

 protected:
  void CreateParams(TCreateParams& p) override {
    TControl::CreateParams(p);
    p.WindowClass.lpfnWndProc = &RecordingDefault;
  }
  void WMCreate() override { createdAfterDefault = defaulted[WM_CREATE] == 1; }
  void WMCommand(WORD, WORD, HWND) override { ++seen[WM_COMMAND]; }
  void WMCtlColor(HDC, LRESULT&) override { ++seen[WM_CTLCOLORSTATIC]; }
};

// During WM_CREATE the control is not yet linked to its window: it is the
// one being created.
Probe* creating = nullptr;

LRESULT CALLBACK RecordingDefault(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* probe = dynamic_cast<Probe*>(Probe::FromWindow(window));
  if (probe == nullptr) probe = creating;
  if (probe != nullptr) {
    ++probe->defaults;
    ++probe->defaulted[msg];
  }
  return ::DefWindowProcW(window, msg, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

struct Recorder {
  std::vector<std::string> events;
  void Attach(TControl& c) {
    auto rec = [this](const char* name) {
      return [this, name](TControl*, int keys, int x, int y) {
        events.push_back(std::string(name) + " " + std::to_string(keys) + " " + std::to_string(x) + " " +
                         std::to_string(y));
      };
    };
    c.OnMouseMove = rec("move");
    c.OnMouseEnter = rec("enter");
    c.OnMouseLeave = rec("leave");
    c.OnMouseDown = rec("down");
    c.OnMouseUp = rec("up");
    c.OnClick = rec("click");
    c.OnDblClick = rec("dbl");
    c.OnDrag = rec("drag");
  }
};

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

TEST_CASE("controls are named in creation order and have no window until needed") {
  TControl a, b;
  std::wstring na = a.Name().substr(7), nb = b.Name().substr(7);
  CHECK(a.Name().rfind(L"Widget_", 0) == 0);
  CHECK(std::stoi(nb) == std::stoi(na) + 1);
  CHECK(a.WindowHandle() == nullptr);
  CHECK(a.Width() == 1);
  CHECK(a.Height() == 1);
  CHECK(a.Enabled());
  CHECK(a.Opacity() == 255);
}

TEST_CASE("a child control without any parent refuses to create its window") {
  TControl orphan;
  CHECK_THROWS_AS(orphan.Handle(), EInvalidOperation);
  CHECK(orphan.WindowHandle() == nullptr);
}

TEST_CASE("window life: property, caption kept across re-creation, parents first") {
  Host host;
  TControl child;
  child.SetParent(&host);
  child.SetParent(&child);  // never its own parent
  CHECK(child.Parent() == &host);
  child.SetCaption(L"Başlık");
  CHECK(child.Caption() == L"Başlık");

  HWND window = child.Handle();  // creates the host first
  REQUIRE(window != nullptr);
  CHECK(host.WindowHandle() != nullptr);
  CHECK(::GetParent(window) == host.WindowHandle());
  // The property is named "Widget" and the process id in eight hex digits.
  wchar_t expected[32];
  std::swprintf(expected, 32, L"Widget%08X", static_cast<unsigned>(::GetCurrentProcessId()));
  CHECK(std::wstring(ControlPropertyName()) == expected);
  CHECK(::GetPropW(window, expected) == &child);
  wchar_t text[32] = {};
  ::GetWindowTextW(window, text, 32);
  CHECK(std::wstring(text) == L"Başlık");
  CHECK(host.ControlCount() == 1);
  // A child with no id of its own is identified by its handle.
  CHECK(::GetWindowLongPtrW(window, GWL_ID) == reinterpret_cast<LONG_PTR>(window));

  child.SetCaption(L"Yeni");
  child.DestroyHandle();
  CHECK(child.WindowHandle() == nullptr);
  CHECK_FALSE(::IsWindow(window));
  CHECK(child.Caption() == L"Yeni");
  child.HandleNeeded();
  ::GetWindowTextW(child.WindowHandle(), text, 32);
  CHECK(std::wstring(text) == L"Yeni");
}

TEST_CASE("property setters store without a window and move a live one") {
  Host host;
  TControl child;
  child.SetParent(&host);
  child.SetBounds(5, 6, 70, 80);  // no window: nothing changes
  CHECK(child.Left() == 0);
  CHECK(child.Width() == 1);

  child.SetLeft(10);
  child.SetTop(20);
  child.SetSize(30, 40);
  HWND w = child.Handle();
  RECT r;
  ::GetWindowRect(w, &r);
  CHECK(r.right - r.left == 30);
  CHECK(r.bottom - r.top == 40);
  child.SetBounds(1, 2, 50, 60);
  ::GetWindowRect(w, &r);
  CHECK(r.right - r.left == 50);
  CHECK(child.Left() == 1);

  child.SetCursor(13);
  child.SetCursor(16);
  CHECK(child.Cursor() == 13);
  child.SetCursor(-1);
  CHECK(child.Cursor() == 13);

  CHECK((child.Style() & WS_CHILD) != 0);
  child.SetVisible(true);
  CHECK(child.Visible());
  child.SetEnabled(false);
  CHECK_FALSE(::IsWindowEnabled(w));
}

TEST_CASE("mouse messages become events in the documented order") {
  Host host;
  TControl child;
  child.SetParent(&host);
  child.SetSize(100, 50);
  Recorder rec;
  rec.Attach(child);
  HWND w = child.Handle();
  // The real pointer away from the window, wherever an earlier run (or the
  // click case below) left it: over the window it would add moves of its own.
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  host.Show();
  child.Show();
  Pump();

  SUBCASE("first move: move, then enter with zeros; later moves only move") {
    ::SendMessageW(w, WM_MOUSEMOVE, 0, Point(3, 4));
    CHECK(rec.events == std::vector<std::string>{"move 0 3 4"});
    Pump();
    ::SendMessageW(w, WM_MOUSEMOVE, 0, Point(5, 6));
    CHECK(rec.events == std::vector<std::string>{"move 0 3 4", "enter 0 0 0", "move 0 5 6"});
    ::SendMessageW(w, WM_MOUSELEAVE, 0, 0);
    ::SendMessageW(w, WM_MOUSEMOVE, 0, Point(7, 8));
    Pump();
    CHECK(rec.events.back() == "enter 0 0 0");
  }
  SUBCASE("left button alone drags; with Shift it is a move") {
    ::SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, Point(1, 2));
    ::SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, Point(3, 4));
    REQUIRE(rec.events.size() >= 2);
    CHECK(rec.events[0] == "drag 1 1 2");
    CHECK(rec.events[1] == "move 5 3 4");
  }
  SUBCASE("click needs a plain left press and a release inside") {
    RECT r;
    ::GetWindowRect(w, &r);
    ::SetCursorPos(r.left + 10, r.top + 10);
    ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 10));
    ::SendMessageW(w, WM_LBUTTONUP, 0, Point(10, 10));
    CHECK(rec.events == std::vector<std::string>{"down 1 10 10", "up 1 10 10", "click 1 10 10"});

    rec.events.clear();
    ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, Point(10, 10));
    ::SendMessageW(w, WM_LBUTTONUP, MK_CONTROL, Point(10, 10));
    CHECK(rec.events == std::vector<std::string>{"down 9 10 10", "up 9 10 10"});

    rec.events.clear();
    ::SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, Point(10, 10));
    ::SendMessageW(w, WM_RBUTTONUP, 0, Point(10, 10));
    CHECK(rec.events == std::vector<std::string>{"down 2 10 10", "up 2 10 10"});

    // Released outside: no click, and the press stays pending.
    rec.events.clear();
    ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 10));
    ::SetCursorPos(r.right + 40, r.bottom + 40);
    ::SendMessageW(w, WM_LBUTTONUP, 0, Point(140, 90));
    ::SetCursorPos(r.left + 10, r.top + 10);
    ::SendMessageW(w, WM_LBUTTONUP, 0, Point(10, 10));
    CHECK(rec.events == std::vector<std::string>{"down 1 10 10", "up 1 140 90", "up 1 10 10", "click 1 10 10"});
  }
}

TEST_CASE("keyboard events can rewrite or swallow their key") {
  Host host;
  Probe child;
  child.SetParent(&host);
  HWND w = child.Handle();
  child.OnChar = [](TControl*, int& code) {
    if (code == 'x') code = 0;
  };
  int before = child.defaults;
  ::SendMessageW(w, WM_CHAR, 'x', 0);
  CHECK(child.defaults == before);  // swallowed
  ::SendMessageW(w, WM_CHAR, 'y', 0);
  CHECK(child.defaults == before + 1);

  WORD seen = 0;
  TShiftState shift = 99;
  child.OnKeyDown = [&](TControl*, WORD& key, TShiftState s) {
    seen = key;
    shift = s;
  };
  ::SendMessageW(w, WM_KEYDOWN, VK_DOWN, 0x20000000);  // context code: Alt
  CHECK(seen == VK_DOWN);
  CHECK(shift == ssAlt);
}

TEST_CASE("input messages record the time of the last input") {
  Host host;
  TControl child;
  child.SetParent(&host);
  HWND w = child.Handle();
  LastInputTick = 0;
  ::SendMessageW(w, WM_SIZE, 0, 0);
  CHECK(LastInputTick == 0);
  ::SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  CHECK(LastInputTick != 0);
}

TEST_CASE("a wait for input ends at the next input message, once, and can be called off") {
  Host host;
  TControl child;
  child.SetParent(&host);
  HWND w = child.Handle();
  int calls = 0;
  WaitForInput([&] { ++calls; });
  ::SendMessageW(w, WM_SIZE, 0, 0);
  ::SendMessageW(w, WM_TIMER, 1, 0);
  CHECK(calls == 0);
  ::SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
  CHECK(calls == 1);
  ::SendMessageW(w, WM_KEYDOWN, VK_SPACE, 0);
  CHECK(calls == 1);  // once
  // A callback may wait again from inside itself.
  WaitForInput([&] {
    ++calls;
    WaitForInput([&] { calls += 10; });
  });
  ::SendMessageW(w, WM_LBUTTONDOWN, 0, 0);
  ::SendMessageW(w, WM_LBUTTONUP, 0, 0);
  CHECK(calls == 12);
  WaitForInput([&] { ++calls; });
  WaitForInput(nullptr);
  ::SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  CHECK(calls == 12);
}

TEST_CASE("a freed control takes its window with it") {
  Host host;
  HWND w;
  {
    TControl child;
    child.SetParent(&host);
    w = child.Handle();
  }
  CHECK_FALSE(::IsWindow(w));
  CHECK(host.ControlCount() == 0);
}

TEST_CASE("a child's notification is reflected to it once, not back and forth") {
  Host host;
  Probe child;
  child.SetParent(&host);
  HWND w = child.Handle();
  int before = child.defaults;
  // What a STATIC child sends its parent when it paints.
  child.seen.clear();
  ::SendMessageW(host.WindowHandle(), WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(w));
  ::SendMessageW(host.WindowHandle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(w));
  // Each reaches the child exactly once: reflected, and not sent back.
  CHECK(child.seen[WM_CTLCOLORSTATIC] == 1);
  CHECK(child.seen[WM_COMMAND] == 1);
  CHECK(child.defaults == before);  // handled by reflection, no default processing
  // A notification from a window that is no control goes nowhere.
  HWND plain = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, host.WindowHandle(), nullptr, nullptr, nullptr);
  child.seen.clear();
  ::SendMessageW(host.WindowHandle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(plain));
  CHECK(child.seen[WM_COMMAND] == 0);
  ::DestroyWindow(plain);
}

TEST_CASE("the dispatch table decides what the default procedure sees") {
  Host host;
  Probe child;
  child.SetParent(&host);
  creating = &child;
  HWND w = child.Handle();
  creating = nullptr;
  REQUIRE(w != nullptr);
  // Creation: the default procedure first, then the control's handler.
  CHECK(child.defaulted[WM_CREATE] == 1);
  CHECK(child.createdAfterDefault);

  struct Row {
    const char* what;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool reachesDefault;
  };
  const Row rows[] = {
      {"watched: a move", WM_MOVE, 0, MAKELPARAM(3, 4), true},
      {"watched: a timer", WM_TIMER, 9, 0, true},
      {"watched: a key", WM_KEYDOWN, VK_DOWN, 0, true},
      {"watched: a press", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1), true},
      {"a message without a row", WM_ERASEBKGND, 0, 0, true},
      {"a private message nobody answers", WM_USER + 5, 0, 0, true},
      {"a child asks its parent about activation", WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN), true},
      {"hit test of a control the mouse does not pass", WM_NCHITTEST, 0, 0, true},
      {"a cursor the control does not choose", WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, 0), true},
      {"a notification format re-query", WM_NOTIFYFORMAT, 0, NF_REQUERY, true},
      {"answered: activation", WM_ACTIVATE, WA_ACTIVE, 0, false},
      {"answered: the session may end", WM_QUERYENDSESSION, 0, 0, false},
      {"answered: a menu command", WM_COMMAND, 40000, 0, false},
      {"answered: the notification format", WM_NOTIFYFORMAT, 0, NF_QUERY, false},
      {"answered: data from another process", WM_COPYDATA, 0, 0, false},
      {"answered: a font change of the framework", CM_FONTCHANGED, 0, 0, false},
  };
  for (const Row& row : rows) {
    CAPTURE(row.what);
    int before = child.defaulted[row.msg];
    ::SendMessageW(w, row.msg, row.wParam, row.lParam);
    CHECK(child.defaulted[row.msg] == before + (row.reachesDefault ? 1 : 0));
  }
  CHECK(::SendMessageW(w, WM_QUERYENDSESSION, 0, 0) == TRUE);
  CHECK(::SendMessageW(w, WM_NOTIFYFORMAT, 0, NF_QUERY) == NFR_UNICODE);

  SUBCASE("a handler's answer skips the default procedure") {
    child.MouseTransparent = true;
    int before = child.defaulted[WM_NCHITTEST];
    CHECK(::SendMessageW(w, WM_NCHITTEST, 0, 0) == HTTRANSPARENT);
    CHECK(child.defaulted[WM_NCHITTEST] == before);
    child.SetCursor(13);
    before = child.defaulted[WM_SETCURSOR];
    CHECK(::SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, 0)) == TRUE);
    CHECK(child.defaulted[WM_SETCURSOR] == before);
  }
  SUBCASE("a close destroys the window without the default procedure") {
    int before = child.defaulted[WM_CLOSE];
    ::SendMessageW(w, WM_CLOSE, 0, 0);
    CHECK(child.defaulted[WM_CLOSE] == before);
    CHECK_FALSE(::IsWindow(w));
    CHECK(child.WindowHandle() == nullptr);
  }
}

TEST_CASE("every keyboard and mouse message counts as input, and nothing else does") {
  for (UINT msg = 0; msg < 0x400; ++msg) {
    bool keyboard = msg >= WM_KEYDOWN && msg <= WM_UNICHAR;
    bool mouse = msg >= WM_MOUSEMOVE && msg <= WM_MOUSEHWHEEL;
    bool frame = msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK;
    CAPTURE(msg);
    CHECK(IsInputMessage(msg) == (keyboard || mouse || frame));
  }
  for (UINT msg : {WM_XBUTTONDOWN, WM_XBUTTONUP, WM_XBUTTONDBLCLK, WM_MOUSEHWHEEL, WM_SYSKEYDOWN, WM_SYSCHAR,
                   WM_UNICHAR, WM_NCLBUTTONDOWN, WM_NCXBUTTONUP})
    CHECK(IsInputMessage(msg));
  // Events of the system, not of the user.
  for (UINT msg : {WM_MOUSEHOVER, WM_MOUSELEAVE, WM_TIMER, WM_PAINT, WM_SETCURSOR, WM_NCHITTEST, WM_CAPTURECHANGED})
    CHECK_FALSE(IsInputMessage(msg));

  Host host;
  TControl child;
  child.SetParent(&host);
  HWND w = child.Handle();
  LastInputTick = 0;
  ::SendMessageW(w, WM_MOUSEHOVER, 0, 0);
  CHECK(LastInputTick == 0);
  ::SendMessageW(w, WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON1), 0);
  CHECK(LastInputTick != 0);
}
