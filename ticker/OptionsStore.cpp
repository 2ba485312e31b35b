// The options file and the window: applied once at creation, written back
// after every switch, at the end of the session and at clean-up.
#include "app/Globals.h"
#include "settings/WMemIniFile.h"
#include "framework/DisplayDpi.h"
#include "ticker/MainWindow.h"
#include "ticker/Monitors.h"

bool TMainWindow::OptionWidgetsReady() const { return Options && SwitchBoxes.size() == SwitchCount; }

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
    // On a monitor of another scale the face is laid out for that one.
    Rescale(WindowDpi(WindowHandle()));
  }
  if (Look && !(keepChangesOfThisRun && textSizeChanged_) && Look->OwnTextPercent() != Options->TextSize()) {
    Look->SetOwnTextPercent(Options->TextSize());
    ApplyLook();
  }
  for (std::size_t i = 0; i < SwitchCount; ++i) {
    TCheckBoxEx& box = *SwitchBoxes[i];
    if (!(keepChangesOfThisRun && changedBoxes_.count(&box))) box.SetTicked(Options->Switch(Switches[i]));
  }
  // A portable copy on a removable drive does not offer autostart: its box
  // stays unticked and cannot be ticked.
  if (!AutoStartOffered) {
    TCheckBoxEx& box = *SwitchBoxes[static_cast<std::size_t>(FindSwitch(u"startup") - Switches)];
    box.SetTicked(false);
    box.SetEnabled(false);
  }
  // The box is what the user sees: what it switches follows it (the Run
  // value with this copy's path, whatever an older copy left there). While
  // the file could not be read the box shows only the default, not the
  // user's choice, and what lives outside the file is left alone.
  const bool readable = Options->LoadResult() != TWLoadResult::Unreadable;
  for (std::size_t i = 0; i < SwitchCount; ++i)
    if (readable || !Switches[i].KeptOutside) Switches[i].Apply(*this, SwitchBoxes[i]->Ticked());
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
  if (Look) Options->WriteTextSize(Look->OwnTextPercent());
  for (std::size_t i = 0; i < SwitchCount; ++i) Options->WriteSwitch(Switches[i], SwitchBoxes[i]->Ticked());
  // A failed write (a read-only or locked file) leaves the old file whole;
  // the next save writes everything again.
  Options->UpdateFile();
}
