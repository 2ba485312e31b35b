#include "ticker/MainWindow.h"
#include "ticker/ManifestThread.h"

#include "app/Globals.h"
#include "build/BuildConfig.h"
#include "ticker/FeedThread.h"
#include "ticker/Messages.h"

namespace {
constexpr int ResourceId = 101;
}  // namespace

TMainWindow::TMainWindow() : TWindowEx(L"TMainWindow"), RefreshInterval(build::RefreshMs) {
  SetSize(475, 350);
  SetAlwaysTop(true);
  OnMouseDown = [this](TControl*, int keys, int, int) { MouseDownHandler(keys); };
  OnMouseWheel = [this](TControl*, int, int delta, int, int) { ScrollBy(WheelScroll(delta)); };
  OnActivate = [this](TControl*, WORD state, HWND other) {
    if (state != WA_INACTIVE)
      ScaleWindow(true);
    else if (other != WindowHandle())
      ScaleWindow(false);
  };
}

TMainWindow::~TMainWindow() { CleanUp(); }

std::function<void(int)> TMainWindow::BuildStepHook;

void TMainWindow::BuildStep(int step) {
  if (BuildStepHook) BuildStepHook(step);
}

void TMainWindow::AfterCreate() {
  BuildStep(1);
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  IconHandle.Reset(::LoadIconW(instance, MAKEINTRESOURCEW(ResourceId)));
  if (IconHandle)
    ::SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(IconHandle.Get()));
  MenuHandle.Reset(::LoadMenuW(instance, MAKEINTRESOURCEW(ResourceId)));
  BuildStep(2);
  Options = std::make_unique<TOptions>(DataFolder + L"\\options.ini");
  BuildStep(3);
  CreateTrayAndTip();
  CreateWidgets();
  BuildStep(9);
  CreateTimers();
}

void TMainWindow::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_FEEDDONE: FeedDone(); return;
    case WM_VERSIONDONE: VersionDone(); return;
    case WM_COUNTERDONE: CounterDone(); return;
    case WM_COMMAND: WMCommand(message); return;
    case WM_QUERYENDSESSION:
      // The user may still cancel the log-off, so nothing stops here; the
      // options are saved in case the system ends the process without
      // another word.
      message.Result = 1;
      SaveOptions();
      return;
    case WM_ENDSESSION:
      // Only now is the session really ending; after a cancelled log-off
      // (wParam FALSE) the ticker simply goes on.
      // Once cleaned up, the window goes as after any close, so the process
      // ends by itself rather than at the system's hand.
      if (message.WParam) {
        CleanUp();
        DoClose();
      }
      return;
    case WM_COPYDATA:
    case WM_DISPLAYCHANGE:
    case WM_REMOTENOTIFY: return;
    case WM_REMOTECLOSE: CloseTicker(); return;
    case WM_CLOSE:
      // The user asked for the window to go: it goes from the screen before
      // anything is waited for.
      ::ShowWindow(WindowHandle(), SW_HIDE);
      CleanUp();
      DoClose();
      return;
    default: TWindowEx::Dispatch(message); return;
  }
}

void TMainWindow::WMDestroy(TMessage& message) {
  TWindowEx::WMDestroy(message);
  ::PostQuitMessage(0);
}

void TMainWindow::WMTimer(TMessage& message) {
  switch (message.WParam) {
    case StartupTimerId: FirstShow(); break;
    case TrimTimerId: TrimCheck(); break;
    case RefreshTimerId: RefreshFeed(); break;
    case CounterTimerId: SendCounterHit(); break;
    case ThrobberTimerId: ThrobberStep(); break;
    default: break;
  }
}
