// The ticker's top-level window and the controller of everything it does:
// timers and downloads (RefreshCycle.cpp), the face and its animations
// (Composition.cpp), commands and panels (Commands.cpp), scrolling
// (Scrolling.cpp), the update check (UpdateCheck.cpp) and the options
// (OptionsStore.cpp).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/WinTimer.h"
#include "framework/Accessible.h"
#include "feed/InternetThread.h"
#include "framework/ToolTip.h"
#include "framework/TrayIcon.h"
#include "framework/WinHandles.h"
#include "framework/WindowEx.h"
#include "ticker/DisplayLook.h"
#include "ticker/FocusOrder.h"
#include "ticker/NewHeadlines.h"
#include "ticker/Options.h"
#include "widgets/ContentEx.h"
#include "widgets/ScrollMath.h"
#include "widgets/ScrollWidgets.h"
#include "widgets/SkinWidgets.h"

class TFeedThread;
class TNetworkWatch;
class TManifestThread;

class TMainWindow : public TWindowEx, private TAccessibleModel {
 public:
  TMainWindow();
  ~TMainWindow() override;

  // Called with 1 to 9 as the window is built (icon and menu, options, tray
  // and tip, face, options panel, about panel, status, applied options,
  // timers); a test throws from it to fail the creation at that point.
  static std::function<void(int step)> BuildStepHook;

  // --- refresh cycle ---
  // Starts a feed download unless one is running.
  void RefreshFeed();
  // Completion of the feed download (WM_FEEDDONE).
  void FeedDone();
  // Busy indicator and status text on or off, with the throbber timer.
  void SetBusy(bool on);
  // Start-up sequence once the window is on screen (timer 1001).
  void FirstShow();

  // --- face ---
  void FadeIn(int step, DWORD delay);
  void FadeOut(int step, DWORD delay);
  void ShowOptions();
  void HideOptions();
  void ShowAbout();
  void HideAbout();
  // The auto-size animation: shrink to the miniature or grow back.
  void ScaleWindow(bool activated);

  // --- commands ---
  void ToggleAbout();
  void ToggleOptions();
  // The Close command: fade out, then close.
  void CloseTicker();
  // Releases workers, timers, tray icon, tooltip, options, menu and icon;
  // runs once.
  void CleanUp();
  // Opens the popup menu at the cursor.
  void ShowMenu();
  void OpenMakerPage();

  // --- scrolling ---
  // Scrolls the news list by delta pixels (positive: towards the first
  // item), moving the thumb with it.
  void ScrollBy(int delta);
  // The headline at the top of the list's view, or -1 without headlines.
  int TopHeadline() const;
  // Shows the scroll bar exactly when the list is taller than its viewport.
  void UpdateScroller();

  // --- keyboard (Keyboard.cpp) ---
  // Where the keyboard focus rests in the face.
  TFocusTarget Focus() const { return focus_; }
  // Moves the focus, shows it when focus rectangles show, and tells readers.
  void SetFocusTarget(TFocusTarget target);
  // Whether focus rectangles and the selection show: only once the keyboard
  // has been used, as the system does for dialogs.
  bool FocusCues() const { return focusCues_; }
  // Selects headline `index`, scrolls it into view (unless told not to)
  // and tells readers.
  void SelectHeadline(int index, bool scroll = true);
  // Scrolls the list just enough for the item's row to be seen whole (its
  // top, when it is taller than the view).
  void ScrollIntoView(std::size_t index);
  // The popup menu at the selected headline (or the list's corner).
  void ShowMenuAtSelection();

  // --- freshness (StatusLine.cpp) ---
  // The status line and the tray tip as the list's state is now.
  void UpdateStatusLine();
  // The line's text: empty when it has nothing to say.
  std::wstring StatusLineText();
  // A time of the last update as the user reads it: "14:05", "dün 22:10"
  // or a date and time, in the user's formats.
  static std::wstring WhenText(std::uint64_t utcTicks);
  // When the list last came from the server (UTC ticks), 0 for never.
  std::uint64_t LastUpdate() const { return lastUpdate_; }

  // --- new headlines (NewsNotice.cpp) ---
  // After a refresh replaced a list whose identities were `before`: marks
  // and, when the user is elsewhere, a balloon.
  void HeadlinesArrived(const std::vector<std::wstring>& before);
  // The identities of the shown items, in order.
  std::vector<std::wstring> Identities() const;

  // --- catching up (RefreshCycle.cpp) ---
  // Waking from sleep or a network coming back: a refresh soon, unless the
  // list is fresh, one runs, or one started too recently.
  void CatchUp();

  // --- update check and counter ---
  void CheckForUpdate();
  void VersionDone();
  // Requests the visitor-counter image unless a request is running.
  void SendCounterHit();
  void CounterDone();

  // --- options ---
  // The stored options to the window, the Run value brought in line.
  void ApplyOptions();
  // The window's options to the file, unless the file could not be read
  // (then it is read again first, and left alone while it still cannot).
  void SaveOptions();
  // The notification-area icon shown or removed.
  void ShowTrayIcon(bool on);
  // The list's own text size (a menu choice, in percent), applied and kept.
  void SetOwnTextSize(int percent);

  float SizeFactor = 1.0f;
  const float MaxScale = 1.0f;
  const float MinScale = 0.2f;
  const float ScaleStep = 0.05f;
  bool AutoScaleOn = true;
  // Balloons for new headlines.
  bool NotifyOn = true;
  bool Shrunk = false;
  bool ShrinkDone = false;
  int Corner = 0;
  bool Closing = false;
  const unsigned RefreshInterval;

 protected:
  void AfterCreate() override;
  void WMTimer(UINT_PTR id) override;
  void WMDestroy() override;
  void WMClose() override;
  void WMActivate(WORD state, HWND other) override;
  void WMButtonDown(int button, int keys, int x, int y) override;
  void WMMouseWheel(int keys, int delta, int x, int y) override;
  void WMWindowPosChanging(WINDOWPOS& pos) override;
  void WMCommand(WORD id, WORD code, HWND from) override;
  void WMQueryEndSession() override;
  void WMEndSession(bool ending) override;
  void WMPowerBroadcast(UINT event) override;
  void WMDisplaySettings(UINT msg, const wchar_t* area) override;
  bool WMPrivate(UINT msg) override;
  void Paint() override;
  // Shrunk, the face shows scaled from the background's canvas: any change
  // under it redraws the whole miniature.
  void ChildChanged(const RECT& area) override;
  void WMKeyDown(WORD& key, TShiftState shift) override;
  bool WMSysKeyDown(WORD key, TShiftState shift) override;
  void WMUpdateUIState(WORD action, WORD flags) override;
  void WMSetFocus() override;
  void WMKillFocus() override;
  bool WMGetObject(DWORD objectId, WPARAM flags, LRESULT& result) override;

 private:
  void BuildStep(int step);
  void CreateTimers();
  void CreateWidgets();
  void CreateFace();
  // The face's layout: every widget's box at 96 DPI, in creation order
  // (parents first), applied at the window's scale now and whenever the
  // scale changes.
  struct TDesign {
    TControlEx* Control;
    int Left, Top, Width, Height;  // 0 width or height: the widget's own
  };
  std::vector<TDesign> Designs;
  void Lay(TControlEx& c, int left, int top, int width = 0, int height = 0);
  void LayOut(const TDesign& d);
  // The skin pictures the face hands its widgets, for the window's scale.
  void LoadFaceImages();
  // Lays the face out, and draws it, for another DPI.
  void Rescale(int dpi);
  // The face in the look the display preferences give it now: pictures,
  // colours, the list's text size, focus rectangles.
  void ApplyLook();
  void WMDpiChanged(int dpi, const RECT& suggested) override;
  void CreateOptionsPanel();
  void CreateAboutPanel();
  void CreateTrayAndTip();
  void SlideIn(TControlEx& holder, TControlEx& sheet);
  void SlideOut(TControlEx& holder, TControlEx& sheet);
  void MouseDownHandler(int keys);
  void TrayMouseUp(int keys);
  void OptionClicked(std::size_t index);
  void ApplyStoredOptions(bool keepChangesOfThisRun);
  bool OptionWidgetsReady() const;
  void TrackClick(int y);
  void ThumbPressed(int keys);
  void ThumbDragged(int keys);
  TScrollGeometry ScrollGeometry() const;
  void TrimCheck();
  void ThrobberStep();

  // Keyboard.cpp
  TOpenPanel OpenPanel() const;
  // The widget standing for a focus target; null for the list and none.
  TControlEx* FocusControl(TFocusTarget target) const;
  // The focus and selection drawn as they are now.
  void ShowFocus();
  void UseKeyboard();
  // Enter or Space on a control (the list: its selected headline).
  void Press(TFocusTarget target, WORD key);
  // After a panel opened or closed: the focus goes into it, or back.
  void PanelChanged();
  // After a refresh replaced the items; `changed` when any headline or
  // address differs from the list before.
  void ItemsReplaced(int selectedBefore, bool changed);
  void ShowMenuAt(POINT screen);

  // NewsNotice.cpp
  void LoadUnseen();
  void SaveUnseen();
  void ShowFreshMarks();
  // Whether the window is the active one at full size.
  bool UserLooking() const;
  // Notes the marked headlines in view while the user looks.
  void NoteShown();
  // The headlines noted so lose their marks (when the user leaves).
  void CommitSeen();
  void ShowPendingNotice();
  void NoticeClicked();

  // AccessTree.cpp: what screen readers see.
  std::vector<long> AccessibleChildren(long id) override;
  long AccessibleParent(long id) override;
  bool Describe(long id, TAccessibleInfo& info) override;
  bool DoDefaultAction(long id) override;
  bool Select(long id, long flags) override;
  long FocusedObject() override;
  long SelectedChild(long id) override;
  long ObjectAt(POINT screen) override;
  // The accessible id of the focused object (a headline when the list has
  // the focus).
  long FocusedId() const;
  void NotifyReaders(DWORD event, long id) const;
  // A default action asked for by a reader runs from the message loop.
  void RunAction(long id);

  std::unique_ptr<TWinTimer> StartupTimer;
  std::unique_ptr<TWinTimer> TrimTimer;
  std::unique_ptr<TWinTimer> RefreshTimer;
  std::unique_ptr<TWinTimer> CounterTimer;
  std::unique_ptr<TWinTimer> ThrobberTimer;
  // Asks again whether a waiting balloon may be shown.
  std::unique_ptr<TWinTimer> NoticeTimer;

  // Cancels every running exchange and waits for the workers, at most
  // WorkerExitMs in all; a worker still blocked in the network after that
  // is left to the end of the process.
  void StopWorkers();
  static constexpr DWORD WorkerExitMs = 1500;

  std::unique_ptr<TFeedThread> FeedThread;
  std::unique_ptr<TManifestThread> UpdateThread;
  std::unique_ptr<TInternetThread> CounterThread;
  std::unique_ptr<TNetworkWatch> NetworkWatch;

  std::unique_ptr<TOptions> Options;
  // The user's display preferences, and what they make of the face.
  std::unique_ptr<TDisplayLook> Look;
  std::unique_ptr<TToolTip> ToolTip;
  std::unique_ptr<TTrayIcon> TrayIcon;
  UniqueMenu MenuHandle;
  // The program's icon is shared: loaded, never destroyed.
  SharedIcon IconHandle;

  // The face, parents before children (the tree is torn down in reverse).
  std::unique_ptr<TControlEx> ScaleHost;
  std::unique_ptr<TBackgroundEx> Background;
  std::unique_ptr<TImageEx> Logo, CloseButton, OptionsButton;
  std::unique_ptr<TContainerEx> ListArea;
  std::unique_ptr<TContentEx> NewsList;
  std::unique_ptr<TScrollerEx> Scroller;
  std::unique_ptr<TThumbEx> Thumb;
  std::unique_ptr<TControlEx> OptionsPanel;
  std::unique_ptr<TImageEx> OptionsSheet;
  // One box per switch, in the order of Switches.
  std::vector<std::unique_ptr<TCheckBoxEx>> SwitchBoxes;
  std::unique_ptr<TImageEx> OptionsClose;
  std::unique_ptr<TControlEx> AboutPanel, AboutSheet;
  std::unique_ptr<TImageEx> AboutImage, AboutLogo, AboutClose;
  std::unique_ptr<TSkinText> AboutTitle, AboutText, AboutLink;
  std::unique_ptr<TSkinText> StatusText, FooterLink;
  std::unique_ptr<TThrobberEx> Throbber;

  std::unique_ptr<TAccessibleRoot> Accessible;
  TFocusTarget focus_ = FocusList;
  // Where Esc sends the focus back to when it closes a panel.
  TFocusTarget focusBeforePanel_ = FocusList;
  TOpenPanel panelShown_ = TOpenPanel::None;
  bool focusCues_ = false;

  // The refresh cycle's state.
  std::uint64_t lastUpdate_ = 0;
  bool updatedThisRun_ = false;
  bool updateFailed_ = false;
  bool busy_ = false;
  unsigned networkFailures_ = 0;
  DWORD lastRefreshStart_ = 0;
  bool refreshStarted_ = false;

  // New headlines.
  TUnseen unseen_;
  std::set<std::wstring> shownWhileActive_;
  // Identities a balloon is still to tell of, newest first.
  std::vector<std::wstring> pendingNotice_;
  // The headline the last balloon named.
  std::wstring noticeIdentity_;
  // What the record of unseen marks holds on disk.
  std::string unseenSaved_;
  bool downloadedThisRun_ = false;
  // Default actions readers asked for, oldest first.
  std::vector<long> readerActions_;

  // What the user changed in this run, kept when the options file turns
  // out readable only later.
  std::set<const TCheckBoxEx*> changedBoxes_;
  bool textSizeChanged_ = false;
  bool movedByUser_ = false;
  bool optionsApplied_ = false;
  int DragStartY = 0;
  int DragStartTop = 0;
  bool cleanedUp_ = false;
};
