// The options file and the window: applied once at creation, written back
// after every switch, at the end of the session and at clean-up.
#include "settings/WMemIniFile.h"
#include "ticker/MainWindow.h"
#include "ticker/Monitors.h"
#include "ticker/Registry.h"

bool TMainWindow::OptionWidgetsReady() const { return Options && StartupBox && AlwaysTopBox && TrayBox && AutoScaleBox; }

void TMainWindow::ApplyOptions() { ApplyStoredOptions(false); }

void TMainWindow::ApplyStoredOptions(bool keepChangesOfThisRun) {
  if (!OptionWidgetsReady()) return;
  if (!(keepChangesOfThisRun && movedByUser_)) {
    int left = Options->Left(), top = Options->Top();
    // A position on a monitor that is gone would open the ticker where
    // nobody can reach it.
    PlaceOnScreen(AllWorkAreas(), Width(), Height(), left, top);
    SetLeft(left);
    SetTop(top);
  }
  auto apply = [&](TCheckBoxEx& box, bool stored) {
    if (!(keepChangesOfThisRun && changedBoxes_.count(&box))) box.SetTicked(stored);
  };
  apply(*StartupBox, Options->AutoStart());
  apply(*AlwaysTopBox, Options->AlwaysTop());
  apply(*TrayBox, Options->ShowTray());
  apply(*AutoScaleBox, Options->AutoScale());
  if (TrayIcon) TrayIcon->SetVisibleTray(TrayBox->Ticked());
  AutoScaleOn = AutoScaleBox->Ticked();
  SetAlwaysTop(AlwaysTopBox->Ticked());
  // The box is what the user sees: the Run value follows it, with this
  // copy's path, whatever an older copy left there. While the file could
  // not be read the box shows only the default, not the user's choice.
  if (Options->LoadResult() != TWLoadResult::Unreadable) SetAutoStart(StartupBox->Ticked());
  optionsApplied_ = true;
}

void TMainWindow::SaveOptions() {
  // A window whose building stopped before the options reached it shows
  // defaults, not the user's settings: nothing of it is worth saving.
  if (!OptionWidgetsReady() || !optionsApplied_) return;
  if (Options->LoadResult() == TWLoadResult::Unreadable) {
    // A file that could not be read may hold the user's settings (a backup
    // program had it locked): it is never written over unread.
    if (Options->LoadValues() == TWLoadResult::Unreadable) return;
    // It reads now. Its values are the user's, except what they changed in
    // this run.
    ApplyStoredOptions(true);
  }
  Options->WriteLeft(Left());
  Options->WriteTop(Top());
  Options->WriteAutoStart(StartupBox->Ticked());
  Options->WriteAlwaysTop(AlwaysTopBox->Ticked());
  Options->WriteShowTray(TrayBox->Ticked());
  Options->WriteAutoScale(AutoScaleBox->Ticked());
  // A failed write (a read-only or locked file) leaves the old file whole;
  // the next save writes everything again.
  Options->UpdateFile();
}
