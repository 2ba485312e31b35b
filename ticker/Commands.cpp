// What the user can do beyond reading and clicking headlines: the popup
// menu, dragging, the panels, the option switches, the maker's page, and the
// orderly close with its clean-up.
#include <windows.h>
#include <shellapi.h>

#include "app/ProcessHelpers.h"
#include "framework/InputTick.h"
#include "ticker/FeedThread.h"
#include "ticker/Links.h"
#include "ticker/MainWindow.h"
#include "ticker/ManifestThread.h"
#include "ticker/Messages.h"
#include "ticker/NetworkWatch.h"

void TMainWindow::WMCommand(WORD id, WORD code, HWND from) {
  // Only the menu's commands: accelerators carry code 1, and a control's
  // notification names the control.
  if (code != 0 || from != nullptr) return;
  switch (id) {
    case CmdAbout: ToggleAbout(); break;
    case CmdOptions: ToggleOptions(); break;
    case CmdUpdate: RefreshFeed(); break;
    case CmdClose: CloseTicker(); break;
    default:
      if (id >= CmdTextSizeFirst && id <= CmdTextSizeLast) SetOwnTextSize(OwnTextPercents[id - CmdTextSizeFirst]);
      break;
  }
}

void TMainWindow::SetOwnTextSize(int percent) {
  if (!Look || percent == Look->OwnTextPercent() || !Look->SetOwnTextPercent(percent)) return;
  textSizeChanged_ = true;
  ApplyLook();
  SaveOptions();
}

void TMainWindow::ShowMenu() {
  POINT cursor;
  ::GetCursorPos(&cursor);
  ShowMenuAt(cursor);
}

void TMainWindow::ShowMenuAt(POINT screen) {
  if (!MenuHandle) return;
  HMENU menu = ::GetSubMenu(MenuHandle.Get(), 0);
  // The text size in use carries the radio mark.
  for (int i = 0, n = ::GetMenuItemCount(menu); i < n && Look; ++i) {
    HMENU sizes = ::GetSubMenu(menu, i);
    if (sizes == nullptr || ::GetMenuItemID(sizes, 0) != CmdTextSizeFirst) continue;
    for (UINT id = CmdTextSizeFirst; id <= CmdTextSizeLast; ++id)
      if (OwnTextPercents[id - CmdTextSizeFirst] == Look->OwnTextPercent())
        ::CheckMenuRadioItem(sizes, CmdTextSizeFirst, CmdTextSizeLast, id, MF_BYCOMMAND);
  }
  ::TrackPopupMenuEx(menu, TPM_VERTICAL, screen.x, screen.y, WindowHandle(), nullptr);
}

void TMainWindow::MouseDownHandler(int keys) {
  if (keys & MK_LBUTTON) {
    // The system's move loop drags the window until the button goes up;
    // every position on the way passes through the edge snapping.
    ::ReleaseCapture();
    int left = Left(), top = Top();
    ::SendMessageW(WindowHandle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    if (Left() != left || Top() != top) movedByUser_ = true;
  } else if (keys & MK_RBUTTON) {
    ShowMenu();
  }
}

void TMainWindow::TrayMouseUp(int keys) {
  if (!(keys & MK_RBUTTON) || !MenuHandle) return;
  // Without this the menu would not close when the user clicks elsewhere.
  ::SetForegroundWindow(WindowHandle());
  // A close handled in there leaves nothing to show a menu for.
  if (!ProcessMessages() || cleanedUp_) return;
  ShowMenu();
}

void TMainWindow::ToggleAbout() {
  if (OptionsPanel->Visible()) HideOptions();
  if (AboutPanel->Visible())
    HideAbout();
  else
    ShowAbout();
}

void TMainWindow::ToggleOptions() {
  if (AboutPanel->Visible()) HideAbout();
  if (OptionsPanel->Visible())
    HideOptions();
  else
    ShowOptions();
}

void TMainWindow::OpenMakerPage() {
  ::ShellExecuteW(nullptr, L"open", MakerAddress(MakerPageLink).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TMainWindow::OptionClicked(std::size_t index) {
  TCheckBoxEx& box = *SwitchBoxes[index];
  // A switch not offered here (autostart on a removable drive) stays off,
  // whether clicked or pressed from the keyboard.
  if (!box.Enabled()) return;
  // The box does not toggle itself.
  box.SetTicked(!box.Ticked());
  changedBoxes_.insert(&box);
  Switches[index].Apply(*this, box.Ticked());
  Update();
  NotifyReaders(EVENT_OBJECT_STATECHANGE, FocusSwitch + static_cast<long>(index));
  SaveOptions();
}

void TMainWindow::ShowTrayIcon(bool on) {
  if (TrayIcon) TrayIcon->SetVisibleTray(on);
}

void TMainWindow::CloseTicker() {
  Closing = true;
  FadeOut(4, 1);
  ::SendMessageW(WindowHandle(), WM_CLOSE, 0, 0);
}

void TMainWindow::StopWorkers() {
  TInetThread* workers[] = {FeedThread.get(), UpdateThread.get(), CounterThread.get()};
  // Closing a worker's connection is what makes a blocked WinInet call
  // return, so every worker is told first and waited for after.
  for (TInetThread* worker : workers)
    if (worker) worker->Cancel();
  const DWORD started = ::GetTickCount();
  bool ended = true;
  for (TInetThread* worker : workers) {
    if (!worker) continue;
    DWORD spent = ::GetTickCount() - started;
    ended = worker->WaitFor(spent >= WorkerExitMs ? 0 : WorkerExitMs - spent) && ended;
  }
  if (!ended) {
    // Some WinInet builds only notice a closed handle when the blocked call
    // returns by itself. Such a worker touches nothing but its own request
    // and posts only to a live window; the process ends without waiting for
    // it, so it is deliberately not freed.
    auto abandon = [](auto& owner) {
      if (owner && !owner->WaitFor(0)) (void)owner.release();
    };
    abandon(FeedThread);
    abandon(UpdateThread);
    abandon(CounterThread);
  }
  FeedThread.reset();
  UpdateThread.reset();
  CounterThread.reset();
}

void TMainWindow::CleanUp() {
  if (cleanedUp_) return;
  cleanedUp_ = true;
  // Screen readers holding objects get "not connected" from now on.
  if (Accessible) Accessible->Disconnect();
  NetworkWatch.reset();
  // Workers first: each may still be on the network.
  StopWorkers();
  // Seen before the window went.
  if (UserLooking()) NoteShown();
  CommitSeen();
  for (auto* timer : {&RefreshTimer, &ThrobberTimer, &StartupTimer, &TrimTimer, &CounterTimer, &NoticeTimer}) {
    if (*timer) (*timer)->SetEnabled(false);
    timer->reset();
  }
  WaitForInput(nullptr);  // the idle trim's wait points at this window
  // The tray window removes its notification-area icon as it closes.
  if (TrayIcon && TrayIcon->WindowHandle()) ::SendMessageW(TrayIcon->WindowHandle(), WM_CLOSE, 0, 0);
  if (ToolTip && ToolTip->WindowHandle()) ::SendMessageW(ToolTip->WindowHandle(), WM_CLOSE, 0, 0);
  // Every earlier failed save is tried once more here.
  SaveOptions();
  Options.reset();
  MenuHandle.Reset();
  IconHandle.Reset();
}
