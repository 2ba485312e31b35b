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
#include "ticker/FeedCache.h"
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
  if (Throbber) Throbber->SetVisible(on);
  if (StatusText && StatusText->Visible() != on) {
    StatusText->SetVisible(on);
    NotifyReaders(on ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, AccessibleStatusId);
    if (on) NotifyReaders(EVENT_OBJECT_NAMECHANGE, AccessibleStatusId);
  }
  if (ThrobberTimer) ThrobberTimer->SetEnabled(on);
}

void TMainWindow::RefreshFeed() {
  if (FeedThread || cleanedUp_) return;
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
    if (FeedThread->Outcome() == TFeedOutcome::Feed) {
      FeedThread->Commit();
      items = FeedThread->TakeItems();
    }
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    nextPeriod = NextRefreshMs(response.Status, response.RetryAfter, RefreshInterval, now);
    FeedThread.reset();
  }
  if (items && NewsList) {
    const int selected = NewsList->Selected();
    const bool changed = !NewsList->SameItems(*items);
    NewsList->ShowFeed(FeedCachePath(), std::move(items));
    UpdateScroller();
    ItemsReplaced(selected, changed);
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
  if (IdleTrimDue(::GetTickCount(), LastInputTick)) TrimWorkingSet();
  // The trim drains the queue: a close handled in there has freed the timers.
  if (TrimTimer) TrimTimer->SetEnabled(true);
}

void TMainWindow::ThrobberStep() {
  if (!ThrobberTimer) return;
  ThrobberTimer->SetEnabled(false);
  if (Throbber) Throbber->NextFrame();
  Update();
  ThrobberTimer->SetEnabled(true);
}
