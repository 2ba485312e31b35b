// What screen readers see of the face: the news list with one item per
// headline, the buttons, the status line and, while a panel is open, its
// switches or link. Ids are the focus targets' numbers; a headline is
// ItemBase + its index. Texts come from the string table.
#include <windows.h>
#include <oleacc.h>

#include "app/Globals.h"
#include "ticker/Links.h"
#include "ticker/MainWindow.h"
#include "ticker/Messages.h"
#include "ticker/Switches.h"

namespace {

constexpr long RootId = 0;
constexpr long StatusId = AccessibleStatusId;
constexpr long ItemBase = AccessibleItemBase;

// String-table texts of the objects.
constexpr UINT ListNameText = 120;
constexpr UINT OpenActionText = 121;
constexpr UINT PressActionText = 122;
constexpr UINT ToggleActionText = 123;
constexpr UINT WindowNameText = 100;
constexpr UINT OptionsText = 109;
constexpr UINT CloseText = 103;

RECT ScreenRect(const TControl* c) {
  RECT r{};
  if (c != nullptr && c->WindowHandle() != nullptr) ::GetWindowRect(c->WindowHandle(), &r);
  return r;
}

bool Shown(const TControl* c) { return c != nullptr && c->WindowHandle() != nullptr && ::IsWindowVisible(c->WindowHandle()); }

}  // namespace

void TMainWindow::NotifyReaders(DWORD event, long id) const {
  if (Accessible) Accessible->Notify(event, id);
}

bool TMainWindow::WMGetObject(DWORD objectId, WPARAM flags, LRESULT& result) {
  if (!Accessible || !NewsList || cleanedUp_) return false;
  result = Accessible->Answer(objectId, flags);
  return result != 0;
}

std::vector<long> TMainWindow::AccessibleChildren(long id) {
  std::vector<long> children;
  if (id == RootId) {
    children = {FocusList, FocusOptionsButton, FocusCloseButton, StatusId};
    switch (OpenPanel()) {
      case TOpenPanel::Options:
        for (std::size_t i = 0; i < SwitchBoxes.size(); ++i) children.push_back(FocusSwitch + static_cast<long>(i));
        children.push_back(FocusOptionsClose);
        break;
      case TOpenPanel::About:
        children.push_back(FocusAboutLink);
        children.push_back(FocusAboutClose);
        break;
      case TOpenPanel::None: break;
    }
  } else if (id == FocusList && NewsList) {
    const long n = static_cast<long>(NewsList->Count());
    children.reserve(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) children.push_back(ItemBase + i);
  }
  return children;
}

long TMainWindow::AccessibleParent(long id) {
  if (id == RootId) return -1;
  return id >= ItemBase ? FocusList : RootId;
}

bool TMainWindow::Describe(long id, TAccessibleInfo& info) {
  if (!NewsList || cleanedUp_) return false;
  const bool windowFocused = ::GetFocus() == WindowHandle();
  const long focused = windowFocused ? FocusedId() : -1;
  auto control = [&](long role, const std::wstring& name, const TControl* c, const std::wstring& action) {
    info.Role = role;
    info.Name = name;
    info.DefaultAction = action;
    info.State = STATE_SYSTEM_FOCUSABLE | (focused == id ? STATE_SYSTEM_FOCUSED : 0);
    if (!Shown(c)) info.State |= STATE_SYSTEM_INVISIBLE;
    info.Screen = ScreenRect(c);
    return true;
  };
  if (id == RootId) {
    info.Role = ROLE_SYSTEM_CLIENT;
    info.Name = LoadResString(WindowNameText);
    info.State = STATE_SYSTEM_FOCUSABLE | (windowFocused ? STATE_SYSTEM_FOCUSED : 0);
    info.Screen = ScreenRect(this);
    return true;
  }
  if (id >= ItemBase) {
    const std::size_t i = static_cast<std::size_t>(id - ItemBase);
    if (i >= NewsList->Count()) return false;
    info.Role = ROLE_SYSTEM_LISTITEM;
    info.Name = NewsList->ItemTitle(i);
    info.Description = NewsList->ItemSummary(i);
    info.Value = NewsList->AddressOf(i);
    info.DefaultAction = LoadResString(OpenActionText);
    info.State = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    if (NewsList->Selected() == static_cast<int>(i)) info.State |= STATE_SYSTEM_SELECTED;
    if (focused == id) info.State |= STATE_SYSTEM_FOCUSED;
    if (!NewsList->ItemVisible(i) || !Shown(NewsList.get())) info.State |= STATE_SYSTEM_OFFSCREEN;
    if (!info.Value.empty()) info.State |= STATE_SYSTEM_LINKED;
    RECT r = NewsList->ItemRect(i);
    POINT corners[2] = {{r.left, r.top + NewsList->ScrollTop()}, {r.right, r.bottom + NewsList->ScrollTop()}};
    ::MapWindowPoints(NewsList->WindowHandle(), nullptr, corners, 2);
    info.Screen = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return true;
  }
  switch (id) {
    case FocusList:
      control(ROLE_SYSTEM_LIST, LoadResString(ListNameText), ListArea.get(), L"");
      // The list has the focus through its selected headline.
      if (focus_ == FocusList && windowFocused && NewsList->Selected() < 0) info.State |= STATE_SYSTEM_FOCUSED;
      return true;
    case FocusOptionsButton:
      return control(ROLE_SYSTEM_PUSHBUTTON, LoadResString(OptionsText), OptionsButton.get(),
                     LoadResString(PressActionText));
    case FocusCloseButton:
      return control(ROLE_SYSTEM_PUSHBUTTON, LoadResString(CloseText), CloseButton.get(), LoadResString(PressActionText));
    case StatusId:
      info.Role = ROLE_SYSTEM_STATICTEXT;
      info.Name = StatusText ? StatusText->Data() : std::wstring();
      info.State = STATE_SYSTEM_READONLY | (Shown(StatusText.get()) ? 0 : STATE_SYSTEM_INVISIBLE);
      info.Screen = ScreenRect(StatusText.get());
      return true;
    default: break;
  }
  const TOpenPanel panel = OpenPanel();
  if (panel == TOpenPanel::Options) {
    if (id == FocusOptionsClose)
      return control(ROLE_SYSTEM_PUSHBUTTON, LoadResString(CloseText), OptionsClose.get(), LoadResString(PressActionText));
    const long s = id - FocusSwitch;
    if (s >= 0 && static_cast<std::size_t>(s) < SwitchBoxes.size()) {
      const TCheckBoxEx& box = *SwitchBoxes[static_cast<std::size_t>(s)];
      control(ROLE_SYSTEM_CHECKBUTTON, box.Caption(), &box, LoadResString(ToggleActionText));
      if (box.Ticked()) info.State |= STATE_SYSTEM_CHECKED;
      return true;
    }
  }
  if (panel == TOpenPanel::About) {
    if (id == FocusAboutLink) {
      control(ROLE_SYSTEM_LINK, MakerDomain(), AboutLink.get(), LoadResString(OpenActionText));
      info.State |= STATE_SYSTEM_LINKED;
      return true;
    }
    if (id == FocusAboutClose)
      return control(ROLE_SYSTEM_PUSHBUTTON, LoadResString(CloseText), AboutClose.get(), LoadResString(PressActionText));
  }
  return false;
}

bool TMainWindow::DoDefaultAction(long id) {
  if (id == RootId || id == FocusList || id == StatusId) return false;
  readerActions_.push_back(id);
  ::PostMessageW(WindowHandle(), WM_READERACTION, 0, 0);
  return true;
}

void TMainWindow::RunAction(long id) {
  TAccessibleInfo info;
  // The object may have gone since the reader asked (a panel closed, a
  // refresh shortened the list).
  if (!Describe(id, info)) return;
  if (id >= ItemBase) {
    NewsList->OpenIndex(static_cast<std::size_t>(id - ItemBase));
    return;
  }
  // As Space on the control, without moving the keyboard focus there.
  Press(static_cast<TFocusTarget>(id), VK_SPACE);
}

bool TMainWindow::Select(long id, long flags) {
  TAccessibleInfo info;
  if (!Describe(id, info) || !(info.State & STATE_SYSTEM_FOCUSABLE)) return false;
  if (id >= ItemBase) {
    if (flags & (SELFLAG_TAKESELECTION | SELFLAG_ADDSELECTION | SELFLAG_TAKEFOCUS))
      SelectHeadline(static_cast<int>(id - ItemBase));
    if (flags & SELFLAG_TAKEFOCUS) SetFocusTarget(FocusList);
    return true;
  }
  if (flags & ~SELFLAG_TAKEFOCUS) return false;  // only headlines are selectable
  if (flags & SELFLAG_TAKEFOCUS) SetFocusTarget(static_cast<TFocusTarget>(id));
  return true;
}

long TMainWindow::FocusedObject() { return ::GetFocus() == WindowHandle() ? FocusedId() : -1; }

long TMainWindow::SelectedChild(long id) {
  if (id != FocusList || !NewsList || NewsList->Selected() < 0) return -1;
  return ItemBase + NewsList->Selected();
}

long TMainWindow::ObjectAt(POINT screen) {
  RECT window = ScreenRect(this);
  if (!::PtInRect(&window, screen)) return -1;
  // Innermost first: a panel's controls lie over the list.
  for (long id : AccessibleChildren(RootId)) {
    if (id == FocusList) continue;
    TAccessibleInfo info;
    if (Describe(id, info) && !(info.State & STATE_SYSTEM_INVISIBLE) && ::PtInRect(&info.Screen, screen)) return id;
  }
  if (OpenPanel() == TOpenPanel::None) {
    RECT list = ScreenRect(ListArea.get());
    if (::PtInRect(&list, screen)) {
      POINT p = screen;
      ::ScreenToClient(NewsList->WindowHandle(), &p);
      const int i = NewsList->ItemAtRow(NewsList->ListY(p.y));
      return i >= 0 ? ItemBase + i : FocusList;
    }
  }
  return RootId;
}
