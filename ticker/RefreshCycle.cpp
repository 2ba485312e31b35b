// The heartbeat of the ticker: timers, the feed download on a worker thread,
// and the cache file of the last feed.
#include <windows.h>

#include "app/AtomicFile.h"
#include "app/IdleRule.h"
#include "app/ProcessHelpers.h"
#include "app/Random.h"
#include "build/BuildConfig.h"
#include "feed/InternetRoot.h"
#include "framework/InputTick.h"
#include "ticker/FeedCache.h"
#include "ticker/FeedPath.h"
#include "ticker/MainWindow.h"
#include "ticker/Messages.h"

namespace {

// Only a 2xx reply is a feed worth keeping; anything else (an error page, a
// proxy's notice) would replace the last good feed on disk.
bool SuccessStatus(const std::string& rawHeaders) {
  // "HTTP/1.1 200 OK\r\n..."
  size_t space = rawHeaders.find(' ');
  return space != std::string::npos && space + 1 < rawHeaders.size() && rawHeaders[space + 1] == '2';
}

}  // namespace

void TMainWindow::CreateTimers() {
  HWND window = WindowHandle();
  StartupTimer = std::make_unique<TWinTimer>(window, build::StartupMs, StartupTimerId);
  StartupTimer->SetEnabled(true);
  TrimTimer = std::make_unique<TWinTimer>(window, build::TrimMs, TrimTimerId);
  TrimTimer->SetEnabled(true);
  ThrobberTimer = std::make_unique<TWinTimer>(window, build::ThrobberMs, ThrobberTimerId);
  RefreshTimer = std::make_unique<TWinTimer>(window, RefreshInterval, RefreshTimerId);
  RefreshTimer->SetEnabled(true);
  CounterTimer = std::make_unique<TWinTimer>(window, build::CounterMs, CounterTimerId);
  CounterTimer->SetEnabled(true);
}

void TMainWindow::FirstShow() {
  StartupTimer->SetEnabled(false);
  Invalidate();
  FadeIn(4, 1);
  RefreshFeed();
  CheckForUpdate();
  SendCounterHit();
}

void TMainWindow::SetBusy(bool on) {
  if (Throbber) Throbber->SetVisible(on);
  if (StatusText) StatusText->SetVisible(on);
  if (ThrobberTimer) ThrobberTimer->SetEnabled(on);
}

void TMainWindow::RefreshFeed() {
  if (FeedThread) return;
  FeedText.clear();
  SetBusy(true);
  if (RefreshTimer) RefreshTimer->SetEnabled(false);
  try {
    FeedThread = std::make_unique<TInternetThread>(WindowHandle(), WM_FEEDDONE, InternetHandle);
    TRequest& request = FeedThread->Request();
    request.SetField(rfHost, build::NewsHost);
    request.SetField(rfPath, FeedRequestPath(RandomBelow(RandLimit)));
    request.Port = build::HttpPort;
    request.TimeoutMs = build::HttpTimeoutMs;
    FeedThread->Resume();
  } catch (...) {
    // No worker means no completion message: end the busy state here and try
    // again after a full period rather than never.
    FeedThread.reset();
    SetBusy(false);
    if (RefreshTimer) RefreshTimer->SetEnabled(true);
  }
}

void TMainWindow::FeedDone() {
  if (FeedThread) {
    FeedThread->WaitFor();
    const TResponse& response = FeedThread->Response();
    // A failed exchange may still have delivered part of a body; only a
    // complete 2xx reply is a feed.
    if (FeedThread->Result() == 0 && SuccessStatus(response.RawHeaders)) FeedText = ContentAsString(response);
    // The bytes are written as received: no detour through a code page.
    if (!FeedText.empty()) SaveFileAtomically(FeedCachePath(), FeedText);
    FeedThread.reset();
  }
  if (!FeedText.empty() && NewsList) {
    NewsList->Redraw = true;
    NewsList->LoadFromFile(FeedCachePath());
    UpdateScroller();
    if (Shrunk) {
      Paint();
      Present();
    }
    NewsList->Redraw = false;
  }
  SetBusy(false);
  Invalidate();
  if (RefreshTimer) RefreshTimer->SetEnabled(true);
  if (Shrunk) {
    Paint();
    Present();
  }
}

void TMainWindow::TrimCheck() {
  TrimTimer->SetEnabled(false);
  if (IdleTrimDue(::GetTickCount(), LastInputTick)) TrimWorkingSet();
  TrimTimer->SetEnabled(true);
}

void TMainWindow::ThrobberStep() {
  ThrobberTimer->SetEnabled(false);
  if (Throbber) Throbber->NextFrame();
  Invalidate();
  ThrobberTimer->SetEnabled(true);
}
