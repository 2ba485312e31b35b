#include "ticker/MainWindow.h"
#include "ticker/ManifestThread.h"

#include "app/Globals.h"
#include "build/BuildConfig.h"
#include "framework/DisplayDpi.h"
#include "ticker/FeedThread.h"
#include "ticker/Messages.h"
#include "ticker/NetworkWatch.h"
#include "widgets/SkinResource.h"

namespace {
constexpr int ResourceId = 101;
}  // namespace

TMainWindow::TMainWindow() : TWindowEx(L"TMainWindow"), RefreshInterval(build::RefreshMs) {
  SetSize(475, 350);
  SetAlwaysTop(true);
}

TMainWindow::~TMainWindow() { CleanUp(); }

std::function<void(int)> TMainWindow::BuildStepHook;

void TMainWindow::BuildStep(int step) {
  if (BuildStepHook) BuildStepHook(step);
}

void TMainWindow::AfterCreate() {
  BuildStep(1);
  // The face is laid out for the DPI of the monitor the window starts on.
  Rescale(WindowDpi(WindowHandle()));
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  IconHandle.Reset(::LoadIconW(instance, MAKEINTRESOURCEW(ResourceId)));
  if (IconHandle)
    ::SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(IconHandle.Get()));
  MenuHandle.Reset(::LoadMenuW(instance, MAKEINTRESOURCEW(ResourceId)));
  BuildStep(2);
  Options = std::make_unique<TOptions>(DataFolder + L"\\options.ini");
  // The pictures are loaded in the user's look from the first.
  Look = std::make_unique<TDisplayLook>(WindowHandle(), WM_DISPLAYCHANGED);
  SetSkinLook(Look->Look(), Look->Prefs().Colors);
  BuildStep(3);
  CreateTrayAndTip();
  CreateWidgets();
  Accessible = std::make_unique<TAccessibleRoot>(WindowHandle(), static_cast<TAccessibleModel&>(*this));
  BuildStep(9);
  CreateTimers();
  NetworkWatch = std::make_unique<TNetworkWatch>(WindowHandle(), WM_NETWORKCHANGED);
}

void TMainWindow::WMButtonDown(int button, int keys, int x, int y) {
  TWindowEx::WMButtonDown(button, keys, x, y);
  MouseDownHandler(keys);
}

void TMainWindow::WMMouseWheel(int keys, int delta, int x, int y) {
  TWindowEx::WMMouseWheel(keys, delta, x, y);
  ScrollBy(Scale().Px(WheelScroll(delta)));
}

void TMainWindow::WMActivate(WORD state, HWND other) {
  TWindowEx::WMActivate(state, other);
  if (state != WA_INACTIVE) {
    // However it was activated, the keyboard starts in the news list (or
    // in the panel that covers it).
    const TOpenPanel panel = OpenPanel();
    focus_ = panel == TOpenPanel::None ? FocusList : FirstFocus(panel, static_cast<int>(SwitchBoxes.size()));
    ScaleWindow(true);
    // The user is here: what is on screen is seen, and nothing waits.
    pendingNotice_.clear();
    NoteShown();
    if (::GetFocus() == WindowHandle())
      SetFocusTarget(focus_);
    else
      ::SetFocus(WindowHandle());
  } else if (other != WindowHandle()) {
    CommitSeen();
    ScaleWindow(false);
  }
}

bool TMainWindow::WMPrivate(UINT msg) {
  switch (msg) {
    case WM_FEEDDONE: FeedDone(); return true;
    case WM_VERSIONDONE: VersionDone(); return true;
    case WM_COUNTERDONE: CounterDone(); return true;
    case WM_REMOTENOTIFY: return true;
    case WM_REMOTECLOSE: CloseTicker(); return true;
    case WM_NETWORKCHANGED:
      if (NetworkWatch) NetworkWatch->Arm();
      CatchUp();
      return true;
    case WM_DISPLAYCHANGED:
      if (Look && Look->Changed()) ApplyLook();
      return true;
    case WM_READERACTION: {
      std::vector<long> actions;
      actions.swap(readerActions_);
      for (long id : actions)
        if (!cleanedUp_) RunAction(id);
      return true;
    }
    default: return TWindowEx::WMPrivate(msg);
  }
}

void TMainWindow::WMDisplaySettings(UINT, const wchar_t*) {
  // Dark mode ("ImmersiveColorSet"), high contrast, the system's colours
  // and animations all come this way; reading everything again is cheap.
  if (Look && Look->Refresh()) ApplyLook();
}

void TMainWindow::WMQueryEndSession() {
  // The user may still cancel the log-off, so nothing stops here; the
  // options are saved in case the system ends the process without another
  // word.
  SaveOptions();
}

void TMainWindow::WMEndSession(bool ending) {
  TWindowEx::WMEndSession(ending);
  // Only now is the session really ending; after a cancelled log-off the
  // ticker simply goes on. Once cleaned up, the window goes as after any
  // close, so the process ends by itself rather than at the system's hand.
  if (!ending) return;
  CleanUp();
  DoClose();
}

void TMainWindow::WMClose() {
  // The user asked for the window to go: it goes from the screen before
  // anything is waited for.
  ::ShowWindow(WindowHandle(), SW_HIDE);
  CleanUp();
  DoClose();
}

void TMainWindow::WMDestroy() {
  TWindowEx::WMDestroy();
  ::PostQuitMessage(0);
}

void TMainWindow::WMTimer(UINT_PTR id) {
  switch (id) {
    case StartupTimerId: FirstShow(); break;
    case TrimTimerId: TrimCheck(); break;
    case RefreshTimerId: RefreshFeed(); break;
    case CounterTimerId: SendCounterHit(); break;
    case ThrobberTimerId: ThrobberStep(); break;
    case NoticeTimerId: ShowPendingNotice(); break;
    default: break;
  }
}
