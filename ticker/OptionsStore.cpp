// The options file and the window: applied once at creation, written back
// after every switch and at clean-up.
#include "ticker/MainWindow.h"

void TMainWindow::ApplyOptions() {
  if (!Options) return;
  // The saved position is used as it is, even outside today's work area.
  SetLeft(Options->Left());
  SetTop(Options->Top());
  StartupBox->SetTicked(Options->AutoStart());
  AlwaysTopBox->SetTicked(Options->AlwaysTop());
  TrayBox->SetTicked(Options->ShowTray());
  AutoScaleBox->SetTicked(Options->AutoScale());
  TrayIcon->SetVisibleTray(TrayBox->Ticked());
  AutoScaleOn = AutoScaleBox->Ticked();
  SetAlwaysTop(AlwaysTopBox->Ticked());
}

void TMainWindow::SaveOptions() {
  if (!Options) return;
  Options->WriteLeft(Left());
  Options->WriteTop(Top());
  Options->WriteAutoStart(StartupBox->Ticked());
  Options->WriteAlwaysTop(AlwaysTopBox->Ticked());
  Options->WriteShowTray(TrayBox->Ticked());
  Options->WriteAutoScale(AutoScaleBox->Ticked());
  Options->UpdateFile();
}
