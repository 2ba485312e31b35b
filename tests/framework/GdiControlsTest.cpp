#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/GdiControls.h"

namespace {

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

LRESULT CALLBACK RecordingDefault(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Records the fonts its window is given, through its class's default
// procedure: no row of the dispatch table takes WM_SETFONT.
class FontProbe : public TWinControl {
 public:
  FontProbe() : TWinControl(L"TTestFontProbe") { creating = this; }
  // Until its window is linked to it (after creation) the probe is found
  // here.
  static FontProbe* creating;
  std::vector<WPARAM> fonts;
  int defaults = 0;
  using TWinControl::FromWindow;

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.WindowClass.lpfnWndProc = &RecordingDefault;
  }
};

FontProbe* FontProbe::creating = nullptr;

LRESULT CALLBACK RecordingDefault(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* probe = dynamic_cast<FontProbe*>(FontProbe::FromWindow(window));
  if (probe == nullptr) probe = FontProbe::creating;
  if (probe != nullptr) {
    if (msg == WM_SETFONT) probe->fonts.push_back(wParam);
    if (msg == WM_PAINT || msg == WM_ERASEBKGND || msg == WM_NCPAINT) ++probe->defaults;
  }
  return ::DefWindowProcW(window, msg, wParam, lParam);
}

class LayeredWindow : public TWindow {
 public:
  LayeredWindow() : TWindow(L"TTestLayeredWindow") {}

 protected:
  void CreateParams(TCreateParams& p) override {
    TWindow::CreateParams(p);
    p.Style = WS_POPUP;
    p.ExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW;
  }
};

COLORREF PaintedPixel(TWindow& window, int x, int y) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, window.Width(), window.Height());
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  // A DC in wParam is painted into instead of BeginPaint's.
  ::SendMessageW(window.Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  COLORREF pixel = ::GetPixel(dc, x, y);
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return pixel;
}

}  // namespace

TEST_CASE("a GDI window: defaults, creation parameters and OnCreate") {
  TWindow window;
  CHECK(window.Width() == 320);
  CHECK(window.Height() == 240);
  CHECK(window.Opacity() == 255);
  CHECK(window.Brush().Color() == SystemColor(COLOR_BTNFACE));
  int created = 0;
  window.OnCreate = [&](TControl* sender) {
    CHECK(sender == &window);
    ++created;
  };
  HWND w = window.Handle();
  REQUIRE(w != nullptr);
  CHECK(created == 1);
  DWORD style = static_cast<DWORD>(::GetWindowLongW(w, GWL_STYLE));
  CHECK((style & WS_OVERLAPPEDWINDOW) == WS_OVERLAPPEDWINDOW);
  CHECK((style & WS_VISIBLE) == 0);
  CHECK((static_cast<DWORD>(::GetWindowLongW(w, GWL_EXSTYLE)) & 0x300u) == 0x300u);

  TWindow disabled;
  disabled.SetEnabled(false);
  CHECK((static_cast<DWORD>(::GetWindowLongW(disabled.Handle(), GWL_STYLE)) & WS_DISABLED) != 0);
}

TEST_CASE("WM_CLOSE runs OnClose, whose action decides") {
  struct Row {
    TCloseAction action;
    bool exists, visible;
  };
  const Row rows[] = {
      {caNone, true, true},
      {caHide, true, false},
      {caFree, false, false},
      {caMinimize, true, true},
  };
  for (const Row& row : rows) {
    CAPTURE(row.action);
    TWindow window;
    int destroyed = 0;
    window.OnClose = [&](TControl*, TCloseAction& action) {
      CHECK(action == caFree);  // the default offered
      action = row.action;
    };
    window.OnDestroy = [&](TControl*) { ++destroyed; };
    HWND w = window.Handle();
    window.Show();
    ::SendMessageW(w, WM_CLOSE, 0, 0);
    bool exists = ::IsWindow(w) != FALSE;
    CHECK(exists == row.exists);
    bool visible = row.exists && ::IsWindowVisible(w);
    CHECK(visible == row.visible);
    CHECK(destroyed == (row.exists ? 0 : 1));
    if (!row.exists) CHECK(window.WindowHandle() == nullptr);
  }
}

TEST_CASE("timer, activation and mouse activation become events") {
  TWindow window;
  std::vector<std::string> events;
  window.OnTimer = [&](TControl*, int id) { events.push_back("timer " + std::to_string(id)); };
  window.OnActivate = [&](TControl*, WORD state, HWND other) {
    events.push_back("activate " + std::to_string(state) + (other == nullptr ? " none" : " other"));
  };
  window.OnMouseActivate = [&](TControl*, WORD hit, WORD button, int& result) {
    events.push_back("mouseactivate " + std::to_string(hit) + " " + std::to_string(button));
    result = MA_NOACTIVATE;
  };
  HWND w = window.Handle();
  ::SendMessageW(w, WM_TIMER, 1003, 0);
  ::SendMessageW(w, WM_ACTIVATE, WA_CLICKACTIVE, 0);
  LRESULT result = ::SendMessageW(w, WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  CHECK(result == MA_NOACTIVATE);
  CHECK(events == std::vector<std::string>{"timer 1003", "activate 2 none", "mouseactivate 1 513"});

  window.OnMouseActivate = nullptr;
  CHECK(::SendMessageW(w, WM_MOUSEACTIVATE, 0, 0) == MA_ACTIVATE);
}

TEST_CASE("WM_PAINT paints the client area with the window's brush") {
  TWindow window;
  window.SetColor(0x00336699);
  CHECK(window.Color() == 0x00336699);
  window.Handle();
  COLORREF pixel = PaintedPixel(window, 5, 5);
  CHECK(pixel == 0x00336699u);
  window.SetColor(SystemColor(COLOR_WINDOW));
  CHECK(PaintedPixel(window, 5, 5) == ::GetSysColor(COLOR_WINDOW));
  // The canvas let go of the DC after painting.
  CHECK(window.Canvas().Handle() == nullptr);
}

TEST_CASE("Opacity reaches a layered window and is applied at creation") {
  LayeredWindow window;
  window.SetOpacity(100);  // no window yet: stored
  HWND w = window.Handle();
  BYTE alpha = 0;
  DWORD flags = 0;
  REQUIRE(::GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
  CHECK(alpha == 100);
  CHECK((flags & LWA_ALPHA) != 0);
  window.SetOpacity(200);
  REQUIRE(::GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
  CHECK(alpha == 200);

  // A window that is not layered ignores it without complaint.
  TWindow plain;
  plain.Handle();
  plain.SetOpacity(10);
  CHECK(plain.Opacity() == 10);
}

TEST_CASE("a GDI child gets its font at creation and whenever the font changes") {
  TWindow host;
  FontProbe probe;
  probe.SetParent(&host);
  CHECK(probe.Brush().Color() == 0x008000);
  HWND w = probe.Handle();
  REQUIRE(w != nullptr);
  REQUIRE(probe.fonts.size() == 1);
  CHECK(probe.fonts[0] == reinterpret_cast<WPARAM>(probe.Font().Handle()));
  probe.Font().SetSize(11);
  REQUIRE(probe.fonts.size() == 2);
  CHECK(probe.fonts[1] == reinterpret_cast<WPARAM>(probe.Font().Handle()));

  // Paint messages get default processing only.
  probe.defaults = 0;
  probe.Perform(WM_ERASEBKGND, 0, 0);
  probe.Perform(WM_NCPAINT, 1, 0);
  CHECK(probe.defaults == 2);

  // A brush change invalidates the live window.
  ::ValidateRect(w, nullptr);
  probe.Show();
  host.Show();
  Pump();
  RECT dirty;
  probe.SetColor(0x0000FF);
  CHECK(::GetUpdateRect(w, &dirty, FALSE));
}
