// The heartbeat of the ticker: timers, the feed download on a worker thread,
// and the cache file of the last feed.
#include <windows.h>

#include "app/IdleRule.h"
#include "app/ProcessHelpers.h"
#include "app/Random.h"
#include "build/BuildConfig.h"
#include "feed/Endpoints.h"
#include "feed/InternetRoot.h"
#include "framework/InputTick.h"
#include "ticker/CatchUp.h"
#include "ticker/FeedCache.h"
#include "ticker/FeedStamp.h"
#include "ticker/FeedPath.h"
#include "ticker/FeedThread.h"
#include "ticker/MainWindow.h"
#include "ticker/Messages.h"
#include "ticker/RetryAfter.h"

void TMainWindow::CreateTimers() {
  HWND window = WindowHandle();
  StartupTimer = std::make_unique<TWinTimer>(window, build::StartupMs, StartupTimerId);
  StartupTimer->SetEnabled(true);
  TrimTimer = std::make_unique<TWinTimer>(window, build::TrimMs, TrimTimerId);
  TrimTimer->SetEnabled(true);
  ThrobberTimer = std::make_unique<TWinTimer>(window, build::ThrobberMs, ThrobberTimerId);
  NoticeTimer = std::make_unique<TWinTimer>(window, RefreshInterval / 10 > 1000 ? RefreshInterval / 10 : 1000,
                                            NoticeTimerId);
  RefreshTimer = std::make_unique<TWinTimer>(window, RefreshInterval, RefreshTimerId);
  RefreshTimer->SetEnabled(true);
  CounterTimer = std::make_unique<TWinTimer>(window, build::CounterMs, CounterTimerId);
  CounterTimer->SetEnabled(true);
}

void TMainWindow::FirstShow() {
  if (!StartupTimer) return;
  StartupTimer->SetEnabled(false);
  Update();
  FadeIn(4, 1);
  RefreshFeed();
  CheckForUpdate();
  SendCounterHit();
}

void TMainWindow::SetBusy(bool on) {
  busy_ = on;
  if (Throbber) Throbber->SetVisible(on);
  UpdateStatusLine();
  if (ThrobberTimer) ThrobberTimer->SetEnabled(on);
}

void TMainWindow::RefreshFeed() {
  if (FeedThread || cleanedUp_) return;
  lastRefreshStart_ = ::GetTickCount();
  refreshStarted_ = true;
  SetBusy(true);
  if (RefreshTimer) RefreshTimer->SetEnabled(false);
  try {
    FeedThread = std::make_unique<TFeedThread>(WindowHandle(), WM_FEEDDONE, InternetHandle, FeedCachePath());
    TRequest& request = FeedThread->Request();
    TargetEndpoint(request, build::News);
    request.SetField(rfPath, FeedRequestPath(RandomBelow(RandLimit)));
    request.TimeoutMs = build::HttpTimeoutMs;
    request.DeadlineMs = build::HttpDeadlineMs;
    request.MaxBodyBytes = build::MaxBodyBytes;
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
  unsigned nextPeriod = RefreshInterval;
  std::unique_ptr<TElementList> items;
  if (FeedThread) {
    FeedThread->WaitFor();
    const TResponse& response = FeedThread->Response();
    // The worker has already read the body with the list's own reader: only
    // a feed with entries replaces the saved copy, and its items come along
    // so the same bytes are not parsed again here. When the cache cannot be
    // written the user still sees the news. The body is not kept: news.xml
    // holds its bytes, and a copy would cost a long feed's size for as long
    // as the ticker runs.
    const TFeedOutcome outcome = FeedThread->Outcome();
    if (outcome == TFeedOutcome::Feed) {
      FeedThread->Commit();
      items = FeedThread->TakeItems();
    }
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    nextPeriod = NextRefreshMs(response.Status, response.RetryAfter, RefreshInterval, now);
    // No reply at all, or a reply cut short: the network, not the server.
    const bool network = outcome == TFeedOutcome::Failed &&
                         (response.Status == 0 || (response.Status >= 200 && response.Status < 300));
    if (outcome == TFeedOutcome::Feed || outcome == TFeedOutcome::NotModified) {
      lastUpdate_ = UtcTicksNow();
      SaveUpdateTime(FeedCachePath(), lastUpdate_);
      updatedThisRun_ = true;
      updateFailed_ = false;
      networkFailures_ = 0;
    } else {
      updateFailed_ = true;
      networkFailures_ = network ? networkFailures_ + 1 : 0;
      // Back soon after a network failure; a server's errors keep the
      // normal period (and its Retry-After).
      if (network) nextPeriod = RetryDelayMs(networkFailures_, RefreshInterval, RandomBelow(1u << 20) / double(1u << 20));
    }
    FeedThread.reset();
  }
  if (items && NewsList) {
    const int selected = NewsList->Selected();
    const bool changed = !NewsList->SameItems(*items);
    const std::vector<std::wstring> before = Identities();
    NewsList->ShowFeed(FeedCachePath(), std::move(items));
    UpdateScroller();
    ItemsReplaced(selected, changed);
    HeadlinesArrived(before);
    if (Shrunk) {
      Paint();
      Present();
    }
  }
  SetBusy(false);
  Update();
  if (RefreshTimer) {
    // A server that asked for a pause gets it for this one period.
    RefreshTimer->Interval = nextPeriod;
    RefreshTimer->SetEnabled(true);
  }
  if (Shrunk) {
    Paint();
    Present();
  }
}

void TMainWindow::TrimCheck() {
  if (!TrimTimer) return;
  TrimTimer->SetEnabled(false);
  if (NextIdleTrimStep(::GetTickCount(), LastInputTick) == TIdleTrimStep::LookAgainLater) {
    TrimTimer->SetEnabled(true);
    return;
  }
  TrimWorkingSet();
  // The trim drains the queue: a close handled in there has freed the timers.
  if (!TrimTimer) return;
  // No timer while the user is away: the next input starts the next look,
  // a full period after it.
  WaitForInput([this] {
    if (TrimTimer) TrimTimer->SetEnabled(true);
  });
}

void TMainWindow::ThrobberStep() {
  if (!ThrobberTimer) return;
  ThrobberTimer->SetEnabled(false);
  if (Throbber) Throbber->NextFrame();
  Update();
  ThrobberTimer->SetEnabled(true);
}

void TMainWindow::WMPowerBroadcast(UINT event) {
  TWindowEx::WMPowerBroadcast(event);
  // Back from sleep or hibernation: the first comes always, the second only
  // when the user woke the machine; either is worth a look at the news.
  if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) CatchUp();
}

void TMainWindow::CatchUp() {
  if (FeedThread || cleanedUp_ || !RefreshTimer) return;
  const std::uint64_t now = UtcTicksNow();
  const std::uint64_t sinceMs = now > lastUpdate_ ? (now - lastUpdate_) / (TicksPerSecond / 1000) : 0;
  if (!CatchUpNeeded(updatedThisRun_, sinceMs, RefreshInterval)) return;
  // The network may need a moment after a wake; never two refreshes closer
  // than the spacing.
  DWORD delay = RefreshInterval / 100;
  const DWORD spacing = MinRefreshSpacingMs(RefreshInterval);
  const DWORD since = ::GetTickCount() - lastRefreshStart_;
  if (refreshStarted_ && since < spacing && spacing - since > delay) delay = spacing - since;
  if (delay < 1) delay = 1;
  // Restarted, so the new interval counts from now.
  RefreshTimer->SetEnabled(false);
  RefreshTimer->Interval = delay;
  RefreshTimer->SetEnabled(true);
}
