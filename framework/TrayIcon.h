// The notification-area (tray) icon, hosted by a hidden window of its own
// that receives the shell's callback message and turns it into mouse and
// balloon events.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "framework/GdiControls.h"
#include "framework/RecordLayouts.h"
#include "framework/WinHandles.h"

enum TBalloonFlags { bfNone = NIIF_NONE, bfInfo = NIIF_INFO, bfWarning = NIIF_WARNING, bfError = NIIF_ERROR };

// Action is the balloon notification: 0x402 shown, 0x403 hidden, 0x404 timed
// out, 0x405 clicked.
using TBalloonActionEvent = std::function<void(TControl* sender, int action)>;

class TTrayIcon : public TWindow {
 public:
  TTrayIcon();
  ~TTrayIcon() override;

  // Tip shown while the pointer rests on the icon (127 characters at most).
  const std::wstring& HintText() const { return hintText_; }
  void SetHintText(const std::wstring& value);
  // Balloon text (255 characters at most) and title (63 at most).
  const std::wstring& BalloonHint() const { return balloonHint_; }
  void SetBalloonHint(const std::wstring& value);
  const std::wstring& BalloonTitle() const { return balloonTitle_; }
  void SetBalloonTitle(const std::wstring& value);
  // Milliseconds; used by the next ShowBalloon.
  int BalloonTimeout() const { return static_cast<int>(data_.uTimeout); }
  void SetBalloonTimeout(int value) { data_.uTimeout = static_cast<UINT>(value); }
  // NIIF_* flags of the next balloon.
  DWORD BalloonFlags = bfNone;

  HICON Icon() const { return icon_; }
  // The icon shown; an icon of our own is destroyed when it is replaced or
  // the tray icon goes, a shared one (LoadIcon's) never is.
  void SetIcon(UniqueIcon value);
  void SetIcon(SharedIcon value);

  // Whether the icon is in the notification area. Set before the window
  // exists, the icon appears when the window is created; the window's end
  // removes it and this reads false again.
  bool VisibleTray() const { return visibleTray_; }
  void SetVisibleTray(bool value);

  // OnMouseDown, OnMouseUp, OnMouseMove, OnClick and OnDblClick (inherited)
  // fire with the button flag (MK_LBUTTON 1, MK_RBUTTON 2, MK_MBUTTON 0x10),
  // MK_SHIFT and MK_CONTROL, and the cursor's screen position.
  TBalloonActionEvent OnBalloonAction;

  // Shell_NotifyIconW with the icon's record; false when the shell refuses
  // or the host window does not exist yet.
  bool Notify(DWORD message);
  // Shows BalloonHint with BalloonTitle, BalloonFlags and BalloonTimeout.
  virtual void ShowBalloon();
  // The message a new Explorer broadcasts when its taskbar is ready.
  static UINT TaskbarCreatedMessage();
  // The record as it is sent to the shell.
  const NOTIFYICONDATAW& Data() const { return data_; }

  // The shell call behind Notify (Shell_NotifyIconW); replaceable to watch
  // the calls.
  std::function<BOOL(DWORD message, NOTIFYICONDATAW* data)> ShellNotify;

 protected:
  void CreateParams(TCreateParams& params) override;
  void AfterCreate() override;
  void WMDestroy() override;
  void WMEndSession(bool ending) override;
  bool WMPrivate(UINT msg) override;
  // The shell's callback: the mouse or balloon message.
  void WMTrayNotify(UINT event) override;

 private:
  void UpdateIcon();
  bool Live() const;
  void RemoveIcon();

  std::wstring hintText_, balloonHint_, balloonTitle_;
  UniqueIcon ownIcon_;
  HICON icon_ = nullptr;
  bool visibleTray_ = false;
  bool clickPending_ = false;
  NOTIFYICONDATAW data_;
};
