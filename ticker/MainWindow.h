// The ticker's top-level window and the controller of everything it does:
// timers, downloads, the feed cache, commands and the orderly close.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/WinTimer.h"
#include "feed/InternetThread.h"
#include "framework/WinHandles.h"
#include "framework/WindowEx.h"
#include "widgets/ContentEx.h"
#include "widgets/ScrollMath.h"
#include "widgets/ScrollWidgets.h"

// The version a manifest text names ("/data/version"), or empty. Throws
// only when the XML service cannot be created.
std::string ManifestVersion(const std::wstring& text);

class TMainWindow : public TWindowEx {
 public:
  TMainWindow();
  ~TMainWindow() override;

  // Starts a feed download unless one is running.
  void RefreshFeed();
  // Completion of the feed download (WM_FEEDDONE).
  void FeedDone();
  // Busy indicator and status text on or off, with the throbber timer.
  void SetBusy(bool on);
  // Start-up sequence once the window is on screen (timer 1001).
  void FirstShow();
  // The Close command: fade out, then close.
  void CloseTicker();
  // Releases workers, timers, menu and icon; runs once.
  void CleanUp();

  // Scrolls the news list by delta pixels (positive: towards the first
  // item), moving the thumb with it.
  void ScrollBy(int delta);
  // Shows the scroll bar exactly when the list is taller than its viewport.
  void UpdateScroller();
  // Once per run: asks the maker's server for the newest version.
  void CheckForUpdate();
  void VersionDone();
  // Requests the visitor-counter image unless a request is running.
  void SendCounterHit();
  void CounterDone();
  // Opens the popup menu at the cursor.
  void ShowMenu();

  void FadeIn(int step, DWORD delay);
  void FadeOut(int step, DWORD delay);

  bool Busy() const { return busy_; }
  bool Closing = false;
  const unsigned RefreshInterval;
  // Body of the last feed download as received; emptied when one starts.
  std::string FeedText;

 protected:
  void Dispatch(TMessage& message) override;
  void AfterCreate() override;
  void WMTimer(TMessage& message) override;
  void WMDestroy(TMessage& message) override;
  void Paint() override;

 private:
  void CreateTimers();
  void LoadSkin();
  void CreateWidgets();
  void MouseDownHandler(int keys);
  void ScrollKey(WORD key);
  void TrackClick(int y);
  void ThumbPressed(int keys);
  void ThumbDragged(int keys);
  TScrollGeometry ScrollGeometry() const;
  void TrimCheck();
  void ThrobberStep();
  void WMCommand(TMessage& message);

  std::unique_ptr<TWinTimer> StartupTimer;
  std::unique_ptr<TWinTimer> TrimTimer;
  std::unique_ptr<TWinTimer> RefreshTimer;
  std::unique_ptr<TWinTimer> CounterTimer;
  std::unique_ptr<TWinTimer> ThrobberTimer;

  std::unique_ptr<TInternetThread> FeedThread;
  std::unique_ptr<TInternetThread> UpdateThread;
  std::unique_ptr<TInternetThread> CounterThread;

  UniqueMenu MenuHandle;
  UniqueIcon IconHandle;

  std::unique_ptr<TBitmapEx> background_, logo_, throbber_;
  std::unique_ptr<TContainerEx> ListArea;
  std::unique_ptr<TContentEx> NewsList;
  std::unique_ptr<TScrollerEx> Scroller;
  std::unique_ptr<TThumbEx> Thumb;
  int DragStartY = 0;
  int DragStartTop = 0;
  bool busy_ = false;
  bool cleanedUp_ = false;
  int throbberFrame_ = 0;
};
