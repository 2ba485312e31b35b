#include "ticker/MainWindow.h"

#include <windowsx.h>

#include "app/Globals.h"
#include "build/BuildConfig.h"
#include "ticker/Messages.h"

namespace {
constexpr int WindowWidth = 475;
constexpr int WindowHeight = 350;
constexpr int ResourceId = 101;
}  // namespace

TMainWindow::TMainWindow() : TWindowEx(L"TMainWindow"), RefreshInterval(build::RefreshMs) {
  SetSize(WindowWidth, WindowHeight);
  // Centred in the work area until the options say otherwise.
  RECT work{0, 0, 1024, 768};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetLeft(work.left + (work.right - work.left - WindowWidth) / 2);
  SetTop(work.top + (work.bottom - work.top - WindowHeight) / 2);
}

TMainWindow::~TMainWindow() { CleanUp(); }

void TMainWindow::AfterCreate() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  IconHandle.Reset(::LoadIconW(instance, MAKEINTRESOURCEW(ResourceId)));
  MenuHandle.Reset(::LoadMenuW(instance, MAKEINTRESOURCEW(ResourceId)));
  if (IconHandle) {
    ::SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(IconHandle.Get()));
    ::SendMessageW(WindowHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(IconHandle.Get()));
  }
  LoadSkin();
  CreateTimers();
}

void TMainWindow::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_FEEDDONE: FeedDone(); return;
    case WM_VERSIONDONE:
    case WM_COUNTERDONE:
      // Their workers are not started yet; nothing to collect.
      return;
    case WM_COMMAND: WMCommand(message); return;
    case WM_QUERYENDSESSION:
      message.Result = 1;
      CleanUp();
      return;
    case WM_ENDSESSION:
    case WM_COPYDATA:
    case WM_DISPLAYCHANGE:
    case WM_REMOTENOTIFY: return;
    case WM_REMOTECLOSE: CloseTicker(); return;
    case WM_CLOSE:
      CleanUp();
      DoClose();
      return;
    default: TWindowEx::Dispatch(message); return;
  }
}

void TMainWindow::WMCommand(TMessage& message) {
  // Notifications from controls and accelerators carry a non-zero high word.
  if (message.WParam >= 0x10000) return;
  switch (LOWORD(message.WParam)) {
    case CmdUpdate: RefreshFeed(); break;
    case CmdClose: CloseTicker(); break;
    default: break;
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
    case CounterTimerId: break;  // the visitor counter joins with the update check
    case ThrobberTimerId: ThrobberStep(); break;
    default: break;
  }
}

void TMainWindow::LoadSkin() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  auto load = [instance](int id) -> std::unique_ptr<TBitmapEx> {
    try {
      return TBitmapEx::CreateFromResource(instance, id, L"PNG");
    } catch (const std::exception&) {
      return nullptr;  // a missing image leaves its part of the face empty
    }
  };
  background_ = load(5002);
  logo_ = load(5004);
  throbber_ = load(5003);
}

void TMainWindow::Paint() {
  TWindowEx::Paint();
  // The face until the skinned widgets take it over: background, logo, and
  // the busy indicator with its status line while a download runs.
  TCanvasEx& canvas = Canvas();
  if (background_) canvas.Draw(*background_, 0, 0);
  if (logo_) canvas.Draw(*logo_, 20, 22);
  if (!busy_) return;
  constexpr int frame = 18;
  if (throbber_ && throbber_->Height() >= frame) {
    int frames = throbber_->Height() / frame;
    canvas.DrawPart(*throbber_, 26, 301, 0, (throbberFrame_ % frames) * frame, frame, frame);
  }
  canvas.SetAntialias(false);
  canvas.Font().SetName(L"Trebuchet MS");
  canvas.Font().SetSize(8);
  canvas.Font().SetColor(0xAFFFFFFF);
  RECT line{44, 301, 44 + 110, 301 + 18};
  canvas.DrawText(line, LoadResString(301));
}
