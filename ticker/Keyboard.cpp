// The keyboard: the focus moves through the face with Tab, the list's
// selection with the arrows and paging keys, Enter and Space act, Esc
// closes a panel, the Apps key and Shift+F10 open the menu. The window
// itself keeps the system's focus; which control has it is the ticker's own
// business, drawn with the skin and told to screen readers.
#include <windows.h>
#include <oleacc.h>

#include <algorithm>

#include "ticker/MainWindow.h"
#include "ticker/Switches.h"

TOpenPanel TMainWindow::OpenPanel() const {
  if (OptionsPanel && OptionsPanel->Visible()) return TOpenPanel::Options;
  if (AboutPanel && AboutPanel->Visible()) return TOpenPanel::About;
  return TOpenPanel::None;
}

TControlEx* TMainWindow::FocusControl(TFocusTarget target) const {
  switch (target) {
    case FocusOptionsButton: return OptionsButton.get();
    case FocusCloseButton: return CloseButton.get();
    case FocusOptionsClose: return OptionsClose.get();
    case FocusAboutLink: return AboutLink.get();
    case FocusAboutClose: return AboutClose.get();
    default: break;
  }
  const long i = target - FocusSwitch;
  if (i >= 0 && static_cast<std::size_t>(i) < SwitchBoxes.size()) return SwitchBoxes[static_cast<std::size_t>(i)].get();
  return nullptr;
}

void TMainWindow::ShowFocus() {
  if (!NewsList) return;
  const bool shown = focusCues_ && ::GetFocus() == WindowHandle() && !Closing;
  NewsList->ShowSelection(focusCues_, shown && focus_ == FocusList);
  TFocusTarget all[] = {FocusOptionsButton, FocusCloseButton, FocusOptionsClose, FocusAboutLink, FocusAboutClose};
  for (TFocusTarget t : all)
    if (TControlEx* c = FocusControl(t)) c->SetFocusShown(shown && focus_ == t);
  for (std::size_t i = 0; i < SwitchBoxes.size(); ++i)
    SwitchBoxes[i]->SetFocusShown(shown && focus_ == static_cast<TFocusTarget>(FocusSwitch + static_cast<long>(i)));
  Update();
}

long TMainWindow::FocusedId() const {
  if (focus_ == FocusList && NewsList && NewsList->Selected() >= 0) return AccessibleItemBase + NewsList->Selected();
  return focus_;
}

void TMainWindow::SetFocusTarget(TFocusTarget target) {
  focus_ = target;
  ShowFocus();
  if (::GetFocus() == WindowHandle()) NotifyReaders(EVENT_OBJECT_FOCUS, FocusedId());
}

void TMainWindow::UseKeyboard() {
  if (focusCues_) return;
  focusCues_ = true;
  // The system keeps the state for the window and its children; where it
  // does not answer, the flag above has it anyway.
  ::SendMessageW(WindowHandle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  ShowFocus();
}

void TMainWindow::WMUpdateUIState(WORD action, WORD flags) {
  TWindowEx::WMUpdateUIState(action, flags);
  if (!(flags & UISF_HIDEFOCUS)) return;
  // High contrast shows them whatever the keyboard did.
  const bool shown = action == UIS_CLEAR || (Look && Look->FocusAlwaysShown());
  if (action != UIS_CLEAR && action != UIS_SET) return;
  if (shown == focusCues_) return;
  focusCues_ = shown;
  ShowFocus();
}

void TMainWindow::WMSetFocus() {
  TWindowEx::WMSetFocus();
  ShowFocus();
  NotifyReaders(EVENT_OBJECT_FOCUS, FocusedId());
}

void TMainWindow::WMKillFocus() {
  TWindowEx::WMKillFocus();
  ShowFocus();
}

void TMainWindow::SelectHeadline(int index, bool scroll) {
  if (!NewsList) return;
  const int before = NewsList->Selected();
  NewsList->SetSelected(index);
  const int now = NewsList->Selected();
  if (now >= 0 && scroll) ScrollIntoView(static_cast<std::size_t>(now));
  Update();
  if (now < 0 || now == before) return;
  NotifyReaders(EVENT_OBJECT_SELECTION, AccessibleItemBase + now);
  if (focus_ == FocusList && ::GetFocus() == WindowHandle()) NotifyReaders(EVENT_OBJECT_FOCUS, AccessibleItemBase + now);
}

void TMainWindow::ScrollIntoView(std::size_t index) {
  RECT r = NewsList->ItemRect(index);
  if (r.bottom <= r.top) return;
  const int viewTop = -NewsList->ScrollTop();
  const int viewBottom = viewTop + ListArea->Height();
  if (r.top < viewTop)
    ScrollBy(viewTop - r.top);
  else if (r.bottom > viewBottom)
    ScrollBy(-std::min<int>(r.bottom - viewBottom, r.top - viewTop));
}

void TMainWindow::ItemsReplaced(int selectedBefore, bool changed) {
  // The same headlines again: every object a reader holds still names what
  // it named, and there is nothing to announce.
  if (!changed) return;
  NotifyReaders(EVENT_OBJECT_REORDER, FocusList);
  const int now = NewsList->Selected();
  if (now < 0 || now == selectedBefore) return;
  // The selected headline moved, or went and the first is selected.
  if (NewsList->SelectionShown()) ScrollIntoView(static_cast<std::size_t>(now));
  NotifyReaders(EVENT_OBJECT_SELECTION, AccessibleItemBase + now);
  if (focus_ == FocusList && ::GetFocus() == WindowHandle()) NotifyReaders(EVENT_OBJECT_FOCUS, AccessibleItemBase + now);
}

void TMainWindow::PanelChanged() {
  const TOpenPanel panel = OpenPanel();
  if (panel == panelShown_) return;
  const TOpenPanel before = panelShown_;
  panelShown_ = panel;
  if (panel != TOpenPanel::None) {
    if (before == TOpenPanel::None) focusBeforePanel_ = focus_;
    SetFocusTarget(FirstFocus(panel, static_cast<int>(SwitchBoxes.size())));
  } else {
    SetFocusTarget(focusBeforePanel_);
  }
}

void TMainWindow::Press(TFocusTarget target, WORD key) {
  switch (target) {
    case FocusList:
      if (NewsList->Selected() >= 0) NewsList->OpenIndex(static_cast<std::size_t>(NewsList->Selected()));
      return;
    case FocusOptionsButton: ToggleOptions(); return;
    case FocusCloseButton: CloseTicker(); return;
    case FocusOptionsClose: HideOptions(); return;
    case FocusAboutLink: OpenMakerPage(); return;
    case FocusAboutClose: HideAbout(); return;
    default: break;
  }
  const long i = target - FocusSwitch;
  // A switch flips with Space, as check boxes do.
  if (key == VK_SPACE && i >= 0 && static_cast<std::size_t>(i) < SwitchBoxes.size())
    OptionClicked(static_cast<std::size_t>(i));
}

void TMainWindow::WMKeyDown(WORD& key, TShiftState shift) {
  TWindowEx::WMKeyDown(key, shift);
  if (!NewsList || Closing || cleanedUp_) return;
  if (shift & (ssCtrl | ssAlt)) return;
  const TOpenPanel panel = OpenPanel();
  switch (key) {
    case VK_TAB:
      UseKeyboard();
      SetFocusTarget(NextFocus(focus_, panel, static_cast<int>(SwitchBoxes.size()), !(shift & ssShift)));
      return;
    case VK_ESCAPE:
      if (panel == TOpenPanel::Options) HideOptions();
      if (panel == TOpenPanel::About) HideAbout();
      return;
    case VK_APPS:
      UseKeyboard();
      ShowMenuAtSelection();
      return;
    case VK_RETURN:
    case VK_SPACE:
      UseKeyboard();
      Press(focus_, key);
      return;
    default: break;
  }
  if (focus_ != FocusList || panel != TOpenPanel::None) return;
  TListKey move;
  switch (key) {
    case VK_UP: move = TListKey::Up; break;
    case VK_DOWN: move = TListKey::Down; break;
    case VK_HOME: move = TListKey::Home; break;
    case VK_END: move = TListKey::End; break;
    case VK_PRIOR: move = TListKey::PageUp; break;
    case VK_NEXT: move = TListKey::PageDown; break;
    default: return;
  }
  UseKeyboard();
  SelectHeadline(NewsList->SelectionAfter(move));
}

bool TMainWindow::WMSysKeyDown(WORD key, TShiftState shift) {
  if (key != VK_F10 || !(shift & ssShift) || (shift & (ssCtrl | ssAlt)) || !NewsList || Closing) return false;
  UseKeyboard();
  ShowMenuAtSelection();
  return true;
}

void TMainWindow::ShowMenuAtSelection() {
  POINT at{0, 0};
  RECT area;
  ::GetWindowRect(ListArea->WindowHandle(), &area);
  at = {area.left, area.top};
  const int i = NewsList->Selected();
  if (focus_ == FocusList && i >= 0 && NewsList->ItemVisible(static_cast<std::size_t>(i))) {
    // Under the selected headline's first line, clamped to the view.
    RECT r = NewsList->ItemRect(static_cast<std::size_t>(i));
    POINT p{Scale().Px(20), std::max<LONG>(0, r.top + NewsList->ScrollTop()) + Scale().Px(12)};
    ::ClientToScreen(NewsList->WindowHandle(), &p);
    at = {p.x, std::min<LONG>(p.y, area.bottom)};
  } else if (TControlEx* c = FocusControl(focus_)) {
    RECT r;
    ::GetWindowRect(c->WindowHandle(), &r);
    at = {r.left, r.bottom};
  }
  ShowMenuAt(at);
}
