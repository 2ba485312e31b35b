#include <doctest.h>

#include <windows.h>

#include <cwchar>
#include <commctrl.h>

#include <memory>
#include <string>

#include "framework/ToolTip.h"

namespace {

void InitControls() {
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
  ::InitCommonControlsEx(&init);
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

class Host : public TControl {
 public:
  Host() : TControl(L"TTipTestHost") { SetSize(200, 100); }

 protected:
  void CreateParams(TCreateParams& p) override {
    TControl::CreateParams(p);
    p.Style = WS_POPUP | WS_CLIPCHILDREN;
    p.ExStyle = WS_EX_TOOLWINDOW;
  }
};

// The application tooltip as the main window sets it up.
struct AppTip {
  std::unique_ptr<TToolTip> tip = std::make_unique<TToolTip>();
  AppTip() {
    InitControls();
    tip->HandleNeeded();
    ApplicationToolTip = tip->Handle();
    tip->EnableTip = true;
  }
  ~AppTip() { ApplicationToolTip = nullptr; }
};

// The tooltip's own text request for one tool, as the tooltip sends it.
std::wstring Request(HWND tip, HWND tool) {
  NMTTDISPINFOW info = {};
  info.hdr.hwndFrom = tip;
  info.hdr.idFrom = reinterpret_cast<UINT_PTR>(tool);
  info.hdr.code = TTN_GETDISPINFOW;
  info.lpszText = info.szText;
  info.uFlags = TTF_IDISHWND;
  ::SendMessageW(tip, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  return info.lpszText != nullptr ? std::wstring(info.lpszText) : std::wstring();
}

int ToolCount(HWND tip) { return static_cast<int>(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0)); }

}  // namespace

TEST_CASE("the tooltip is a subclassed common-controls tooltip") {
  AppTip app;
  HWND w = app.tip->WindowHandle();
  REQUIRE(w != nullptr);
  wchar_t className[64] = {};
  ::GetClassNameW(w, className, 64);
  CHECK(std::wstring(className) == TOOLTIPS_CLASSW);
  wchar_t property[32];
  std::swprintf(property, 32, L"Widget%08X", static_cast<unsigned>(::GetCurrentProcessId()));
  CHECK(::GetPropW(w, property) == app.tip.get());
  DWORD style = static_cast<DWORD>(::GetWindowLongW(w, GWL_STYLE));
  CHECK((style & (WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP)) == static_cast<DWORD>(WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP));
  CHECK((static_cast<DWORD>(::GetWindowLongW(w, GWL_EXSTYLE)) & WS_EX_TOPMOST) != 0);
  // The tooltip is its tools' notified window: it asks for Unicode requests.
  CHECK(::SendMessageW(w, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(w), NF_QUERY) == NFR_UNICODE);
}

TEST_CASE("controls register and leave through ShowHint; the tooltip supplies their Hint") {
  AppTip app;
  HWND tip = app.tip->WindowHandle();
  Host host;
  TControl close, options, bare;
  for (TControl* c : {&close, &options, &bare}) {
    c->SetParent(&host);
    c->HandleNeeded();
  }
  close.SetHint(L"Kapat");
  close.SetShowHint(true);
  options.SetShowHint(true);
  options.SetHint(L"Seçenekler");
  bare.SetShowHint(true);  // no hint text
  CHECK(ToolCount(tip) == 3);

  SUBCASE("text per tool") {
    struct Row {
      TControl* control;
      std::wstring text;
    };
    const Row rows[] = {{&close, L"Kapat"}, {&options, L"Seçenekler"}, {&bare, L""}};
    for (const Row& row : rows) CHECK(Request(tip, row.control->WindowHandle()) == row.text);
    CHECK(::SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0) == 300);
  }
  SUBCASE("the text stays valid and may be longer than the notification's buffer") {
    std::wstring longHint(200, L'ğ');
    close.SetHint(longHint);
    CHECK(Request(tip, close.WindowHandle()) == longHint);
  }
  SUBCASE("EnableTip false: no control gets a text") {
    app.tip->EnableTip = false;
    CHECK(Request(tip, close.WindowHandle()).empty());
    CHECK(Request(tip, options.WindowHandle()).empty());
  }
  SUBCASE("ShowHint off: the tool is gone and asks for nothing") {
    close.SetShowHint(false);
    CHECK(ToolCount(tip) == 2);
    CHECK(Request(tip, close.WindowHandle()).empty());
  }
  SUBCASE("requests for dead or foreign windows are ignored") {
    HWND dead = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    CHECK(Request(tip, dead).empty());  // not a framework window
    ::DestroyWindow(dead);
    CHECK(Request(tip, dead).empty());
    CHECK(Request(tip, nullptr).empty());
  }
}

TEST_CASE("a control whose ShowHint came on before its window is not registered later") {
  AppTip app;
  Host host;
  TControl early;
  early.SetParent(&host);
  early.SetShowHint(true);
  early.SetHint(L"Kapat");
  early.HandleNeeded();
  CHECK(ToolCount(app.tip->WindowHandle()) == 0);
}

TEST_CASE("colours are live properties of the tooltip window") {
  TToolTip lonely;  // no window: reads 0, writes nothing
  lonely.SetBackColor(0x00FFFFFF);
  CHECK(lonely.BackColor() == 0u);
  CHECK(lonely.WindowHandle() == nullptr);

  AppTip app;
  app.tip->SetBackColor(0x00E0FFFF);
  app.tip->SetTextColor(0x00202020);
  CHECK(app.tip->BackColor() == 0x00E0FFFFu);
  CHECK(app.tip->TextColor() == 0x00202020u);
}

TEST_CASE("the tooltip's end clears the application tooltip handle") {
  AppTip app;
  HWND w = app.tip->WindowHandle();
  ::SendMessageW(w, WM_CLOSE, 0, 0);
  CHECK_FALSE(::IsWindow(w));
  CHECK(ApplicationToolTip == nullptr);

  AppTip second;
  CHECK(ApplicationToolTip != nullptr);
  second.tip.reset();
  CHECK(ApplicationToolTip == nullptr);
}

TEST_CASE("resting the pointer on a control shows its hint") {
  AppTip app;
  HWND tip = app.tip->WindowHandle();
  ::SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
  Host host;
  host.SetLeft(100);
  host.SetTop(100);
  TControl button;
  button.SetParent(&host);
  button.SetSize(50, 30);
  button.SetLeft(10);
  button.SetTop(10);
  host.Show();
  button.Show();
  button.SetShowHint(true);
  button.SetHint(L"Web sitemizi ziyaret edin...");
  Pump();

  RECT r;
  ::GetWindowRect(button.WindowHandle(), &r);
  ::SetCursorPos(r.left + 20, r.top + 15);
  // The tooltip watches the control's mouse messages (it subclassed it).
  ::PostMessageW(button.WindowHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
  DWORD until = ::GetTickCount() + 3000;
  while (!::IsWindowVisible(tip) && ::GetTickCount() < until) {
    Pump();
    ::Sleep(10);
  }
  REQUIRE(::IsWindowVisible(tip));
  wchar_t text[100] = {};
  ::SendMessageW(tip, WM_GETTEXT, 100, reinterpret_cast<LPARAM>(text));
  CHECK(std::wstring(text) == L"Web sitemizi ziyaret edin...");
}
