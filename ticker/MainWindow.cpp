#include "ticker/MainWindow.h"

#include <windowsx.h>

#include "app/Globals.h"
#include "build/BuildConfig.h"
#include "ticker/FeedCache.h"
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
  CreateWidgets();
  CreateTimers();
}

void TMainWindow::CreateWidgets() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  auto skin = [instance](int id) -> std::unique_ptr<TBitmapEx> {
    try {
      return TBitmapEx::CreateFromResource(instance, id, L"PNG");
    } catch (const std::exception&) {
      return nullptr;
    }
  };
  Canvas().SetInterpolationMode(6);
  OnMouseDown = [this](TControl*, int keys, int, int) { MouseDownHandler(keys); };
  OnMouseWheel = [this](TControl*, int, int delta, int, int) { ScrollBy(WheelScroll(delta)); };

  ListArea = std::make_unique<TContainerEx>();
  ListArea->SetParent(this);
  ListArea->SetLeft(30);
  ListArea->SetTop(75);
  ListArea->SetSize(415, 213);
  ListArea->Show();

  NewsList = std::make_unique<TContentEx>();
  NewsList->SetParent(ListArea.get());
  NewsList->SetSize(415 - 25, 213);
  NewsList->Canvas().SetAntialias(false);
  NewsList->Font().SetName(L"Trebuchet MS");
  NewsList->Font().SetSize(9);
  NewsList->LoadFromFile(FeedCachePath());
  NewsList->Show();
  NewsList->Cached = true;
  NewsList->OnDrag = [this](TControl*, int keys, int, int) { MouseDownHandler(keys & MK_LBUTTON); };
  NewsList->OnMouseDown = [this](TControl*, int keys, int, int) {
    if (keys & MK_RBUTTON) ShowMenu();
  };
  NewsList->OnKeyDown = [this](TControl*, WORD& key, TShiftState) { ScrollKey(key); };

  Scroller = std::make_unique<TScrollerEx>();
  Scroller->SetParent(ListArea.get());
  Scroller->SetLeft(415 - 20);
  Scroller->SetSize(20, 213);
  Scroller->SetBitmap(skin(5000));
  Scroller->OnMouseDown = [this](TControl*, int, int, int y) { TrackClick(y); };
  Scroller->Show();

  Thumb = std::make_unique<TThumbEx>();
  Thumb->SetParent(Scroller.get());
  Thumb->SetLeft(1);
  Thumb->SetSize(18, 70);
  Thumb->SetBitmap(skin(5001));
  Thumb->OnKeyDown = [this](TControl*, WORD& key, TShiftState) { ScrollKey(key); };
  Thumb->OnMouseDown = [this](TControl*, int keys, int, int) { ThumbPressed(keys); };
  Thumb->OnDrag = [this](TControl*, int keys, int, int) { ThumbDragged(keys); };
  Thumb->Show();
  UpdateScroller();
}

void TMainWindow::MouseDownHandler(int keys) {
  if (keys & MK_LBUTTON) {
    // The system's move loop drags the window until the button goes up.
    ::ReleaseCapture();
    ::SendMessageW(WindowHandle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  } else if (keys & MK_RBUTTON) {
    ShowMenu();
  }
}

void TMainWindow::ShowMenu() {
  if (!MenuHandle) return;
  POINT cursor;
  ::GetCursorPos(&cursor);
  ::TrackPopupMenuEx(::GetSubMenu(MenuHandle.Get(), 0), TPM_VERTICAL, cursor.x, cursor.y, WindowHandle(), nullptr);
}

void TMainWindow::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_FEEDDONE: FeedDone(); return;
    case WM_VERSIONDONE: VersionDone(); return;
    case WM_COUNTERDONE: CounterDone(); return;
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
    case CounterTimerId: SendCounterHit(); break;
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
