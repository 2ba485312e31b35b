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

TMainWindow::TMainWindow() : RefreshInterval(build::RefreshMs) {
  SetClassNameW(L"TMainWindow");
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

void TMainWindow::Render(std::uint32_t* pixels, HDC dc) {
  const int Width = this->Width(), Height = this->Height();
  // A plain rounded face with the title and the status line; the skinned
  // face replaces it.
  constexpr int radius = 14;
  const std::uint32_t face = 0xFF23364Fu;
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x) {
      int dx = x < radius ? radius - x : (x >= Width - radius ? x - (Width - radius - 1) : 0);
      int dy = y < radius ? radius - y : (y >= Height - radius ? y - (Height - radius - 1) : 0);
      pixels[y * Width + x] = dx * dx + dy * dy <= radius * radius ? face : 0;
    }
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(255, 255, 255));
  HFONT font = ::CreateFontW(-22, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, L"Tahoma");
  HGDIOBJ old = ::SelectObject(dc, font);
  RECT title{24, 22, Width - 24, 60};
  ::DrawTextW(dc, AppTitle.c_str(), -1, &title, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::DeleteObject(font);
  if (busy_) {
    font = ::CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, L"Tahoma");
    old = ::SelectObject(dc, font);
    std::wstring status = LoadResString(301);
    RECT line{44, 301, Width - 24, 320};
    ::DrawTextW(dc, status.c_str(), -1, &line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    // A small spinning mark stands in for the busy strip.
    int cx = 32, cy = 310;
    static const int offsets[8][2] = {{0, -6}, {4, -4}, {6, 0}, {4, 4}, {0, 6}, {-4, 4}, {-6, 0}, {-4, -4}};
    const int* o = offsets[throbberFrame_ % 8];
    for (int y = -2; y <= 2; ++y)
      for (int x = -2; x <= 2; ++x) pixels[(cy + o[1] + y) * Width + cx + o[0] + x] = 0xFFFFFFFFu;
  }
  ::GdiFlush();
  // GDI clears the alpha byte of what it draws; the face is opaque, so every
  // pixel inside it gets alpha 255 back.
  for (int i = 0; i < Width * Height; ++i)
    if (pixels[i] != 0) pixels[i] |= 0xFF000000u;
}
