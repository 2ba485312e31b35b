// The face as a screen reader sees it, asked in-process through the same
// WM_GETOBJECT path a reader in another process takes, and driven with the
// keys a user presses.
#include <doctest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "../settings/TestFiles.h"
#include "WindowTestUtil.h"
#include "app/Globals.h"
#include "framework/ComPtr.h"
#include "framework/GdiPlus.h"
#include "ticker/MainWindow.h"
#include "ticker/Registry.h"
#include "ticker/Switches.h"

namespace {

VARIANT Self() {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

// What a reader reads of one object.
struct TRead {
  long Role = 0, State = 0;
  std::wstring Name, Description, Value;
  RECT Place{};
};

TRead Read(IAccessible* a) {
  TRead r;
  VARIANT self = Self();
  UniqueVariant role, state;
  if (a->get_accRole(self, role.Put()) == S_OK) r.Role = role.Get().lVal;
  if (a->get_accState(self, state.Put()) == S_OK) r.State = state.Get().lVal;
  UniqueBstr name, description, value;
  a->get_accName(self, name.Put());
  a->get_accDescription(self, description.Put());
  a->get_accValue(self, value.Put());
  r.Name = name.Str();
  r.Description = description.Str();
  r.Value = value.Str();
  long x = 0, y = 0, w = 0, h = 0;
  if (a->accLocation(&x, &y, &w, &h, self) == S_OK) r.Place = RECT{x, y, x + w, y + h};
  return r;
}

// The children through AccessibleChildren, as readers list them.
std::vector<ComPtr<IAccessible>> Children(IAccessible* a) {
  long count = 0;
  REQUIRE(a->get_accChildCount(&count) == S_OK);
  std::vector<VARIANT> found(static_cast<size_t>(count));
  long got = 0;
  std::vector<ComPtr<IAccessible>> children;
  if (count == 0) return children;
  REQUIRE(SUCCEEDED(::AccessibleChildren(a, 0, count, found.data(), &got)));
  REQUIRE(got == count);
  for (VARIANT& v : found) {
    REQUIRE(v.vt == VT_DISPATCH);  // every object is one of its own
    ComPtr<IAccessible> child;
    v.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(child.Put()));
    ::VariantClear(&v);
    children.push_back(std::move(child));
  }
  return children;
}

ComPtr<IAccessible> Root(HWND window) {
  ComPtr<IAccessible> root;
  REQUIRE(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                       reinterpret_cast<void**>(root.Put())) == S_OK);
  return root;
}

// The object a VARIANT answer names, CHILDID_SELF meaning `from` itself.
TRead ReadAnswer(IAccessible* from, VARIANT& v) {
  TRead r;
  if (v.vt == VT_DISPATCH) {
    ComPtr<IAccessible> a;
    v.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(a.Put()));
    r = Read(a.Get());
  } else if (v.vt == VT_I4 && v.lVal == CHILDID_SELF) {
    r = Read(from);
  }
  ::VariantClear(&v);
  return r;
}

TRead Focused(IAccessible* root) {
  VARIANT v;
  ::VariantInit(&v);
  root->get_accFocus(&v);
  return ReadAnswer(root, v);
}

void Key(HWND window, WORD key) {
  ::SendMessageW(window, WM_KEYDOWN, key, 1);
  ::SendMessageW(window, WM_KEYUP, key, 0xC0000001);
}

// Runs what the window posted to itself (a reader's action) for a moment.
void Pump(DWORD ms) {
  const DWORD start = ::GetTickCount();
  MSG msg;
  while (::GetTickCount() - start < ms) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(10);
  }
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom && inner.right > inner.left && inner.bottom > inner.top;
}

struct TWindowFixture {
  gdiplus::TGdiPlusSession Gdip;
  ComSession Com;
  TScratchFolder Data{L"accesstree"};
  TMainWindow Window;
  HWND Handle = nullptr;

  explicit TWindowFixture(int items) {
    DataFolder = Data.Path();
    REQUIRE(WriteBytes(Data / L"options.ini", Utf16File(UserOptions)));
    REQUIRE(WriteBytes(Data / L"news.xml", Feed(items)));
    Window.SetParentWindow(nullptr);
    Window.SetClassNameW(L"kavrelotestclass");
    Window.HandleNeeded();
    Handle = Window.WindowHandle();
    ::ShowWindow(Handle, SW_SHOW);
    ::SetForegroundWindow(Handle);
    ::SetFocus(Handle);
  }
  ~TWindowFixture() { DeleteRegValue(HKEY_CURRENT_USER, RunKeyPath, RunValueName); }
};

constexpr long Focusable = STATE_SYSTEM_FOCUSABLE;

}  // namespace

TEST_CASE("a reader finds the list, its headlines in order with their summaries, the buttons and the status") {
  TWindowFixture f(12);
  ComPtr<IAccessible> root = Root(f.Handle);
  CHECK(Read(root.Get()).Role == ROLE_SYSTEM_CLIENT);
  auto top = Children(root.Get());
  REQUIRE(top.size() == 4);
  struct Want {
    long Role;
    std::wstring Name;
  };
  const Want want[] = {{ROLE_SYSTEM_LIST, LoadResString(120)},
                       {ROLE_SYSTEM_PUSHBUTTON, L"Seçenekler"},
                       {ROLE_SYSTEM_PUSHBUTTON, L"Kapat"},
                       {ROLE_SYSTEM_STATICTEXT, L"Güncelleniyor..."}};
  for (size_t i = 0; i < 4; ++i) {
    TRead r = Read(top[i].Get());
    CAPTURE(i);
    CHECK(r.Role == want[i].Role);
    CHECK(r.Name == want[i].Name);
  }
  CHECK(LoadResString(120) == L"Son dakika haberleri");
  // Not refreshing: the status line is hidden, and says so.
  CHECK((Read(top[3].Get()).State & STATE_SYSTEM_INVISIBLE) != 0);

  RECT frame;
  ::GetWindowRect(f.Handle, &frame);
  auto items = Children(top[0].Get());
  REQUIRE(items.size() == 12);
  for (size_t i = 0; i < items.size(); ++i) {
    TRead r = Read(items[i].Get());
    CAPTURE(i);
    CHECK(r.Role == ROLE_SYSTEM_LISTITEM);
    CHECK(r.Name == L"Haber " + std::to_wstring(i));
    CHECK(r.Description == L"Özet " + std::to_wstring(i) + L" ile biraz daha metin.");
    CHECK(r.Value.rfind(L"http://example.com/" + std::to_wstring(i) + L"?ref=", 0) == 0);
    CHECK((r.State & (Focusable | STATE_SYSTEM_SELECTABLE)) == (Focusable | STATE_SYSTEM_SELECTABLE));
  }
  // The first headline is on screen, inside the window; the last one is
  // below the view.
  TRead first = Read(items[0].Get()), last = Read(items[11].Get());
  CHECK((first.State & STATE_SYSTEM_OFFSCREEN) == 0);
  CHECK(Inside(first.Place, frame));
  CHECK((last.State & STATE_SYSTEM_OFFSCREEN) != 0);
  CHECK((first.State & STATE_SYSTEM_SELECTED) != 0);

  // Pointing at the first headline finds it; navigation walks the tree.
  VARIANT hit;
  ::VariantInit(&hit);
  CHECK(root->accHitTest((first.Place.left + first.Place.right) / 2, first.Place.top + 3, &hit) == S_OK);
  CHECK(ReadAnswer(root.Get(), hit).Name == L"Haber 0");
  VARIANT next, self = Self();
  ::VariantInit(&next);
  CHECK(top[0]->accNavigate(NAVDIR_NEXT, self, &next) == S_OK);
  CHECK(ReadAnswer(top[0].Get(), next).Name == L"Seçenekler");
  CHECK(top[0]->accNavigate(NAVDIR_FIRSTCHILD, self, &next) == S_OK);
  CHECK(ReadAnswer(top[0].Get(), next).Name == L"Haber 0");
  CHECK(items[11]->accNavigate(NAVDIR_NEXT, self, &next) == S_FALSE);  // nothing after the last
}

TEST_CASE("keys move the selection and the focus, and the tree follows them") {
  TWindowFixture f(40);
  REQUIRE(::GetFocus() == f.Handle);
  ComPtr<IAccessible> root = Root(f.Handle);
  // Activated: the list has the focus, through its first headline.
  CHECK(Focused(root.Get()).Name == L"Haber 0");

  Key(f.Handle, VK_DOWN);
  Key(f.Handle, VK_DOWN);
  TRead focused = Focused(root.Get());
  CHECK(focused.Name == L"Haber 2");
  CHECK((focused.State & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED)) ==
        (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED));

  // End goes to the last headline, and scrolls it into the view.
  Key(f.Handle, VK_END);
  focused = Focused(root.Get());
  CHECK(focused.Name == L"Haber 39");
  CHECK((focused.State & STATE_SYSTEM_OFFSCREEN) == 0);
  RECT frame;
  ::GetWindowRect(f.Handle, &frame);
  CHECK(Inside(focused.Place, frame));
  Key(f.Handle, VK_PRIOR);
  const std::wstring paged = Focused(root.Get()).Name;
  CHECK(paged != L"Haber 39");
  CHECK(paged != L"Haber 38");  // a page is more than one headline here
  Key(f.Handle, VK_HOME);
  CHECK(Focused(root.Get()).Name == L"Haber 0");

  // Tab: the options button; Enter opens the panel and the focus goes in.
  Key(f.Handle, VK_TAB);
  focused = Focused(root.Get());
  CHECK(focused.Role == ROLE_SYSTEM_PUSHBUTTON);
  CHECK(focused.Name == L"Seçenekler");
  Key(f.Handle, VK_RETURN);
  auto top = Children(root.Get());
  REQUIRE(top.size() == 4 + SwitchCount + 1);
  focused = Focused(root.Get());
  CHECK(focused.Role == ROLE_SYSTEM_CHECKBUTTON);
  CHECK(focused.Name == LoadResString(Switches[0].Caption));
  // Tab to the second switch; Space flips it, in the tree and in the file.
  Key(f.Handle, VK_TAB);
  TRead second = Read(top[5].Get());
  CHECK(second.Name == LoadResString(Switches[1].Caption));
  CHECK((second.State & STATE_SYSTEM_FOCUSED) != 0);
  CHECK((second.State & STATE_SYSTEM_CHECKED) == 0);
  const std::string key(Switches[1].Key, Switches[1].Key + std::char_traits<char16_t>::length(Switches[1].Key));
  CHECK(ReadBytes(f.Data / L"options.ini").find(Utf16(std::u16string(Switches[1].Key) + u"=0")) != std::string::npos);
  Key(f.Handle, VK_SPACE);
  CHECK((Read(top[5].Get()).State & STATE_SYSTEM_CHECKED) != 0);
  CHECK(ReadBytes(f.Data / L"options.ini").find(Utf16(std::u16string(Switches[1].Key) + u"=1")) != std::string::npos);
  // A reader's default action flips it back, once the window gets to it.
  CHECK(top[5]->accDoDefaultAction(Self()) == S_OK);
  Pump(300);
  CHECK((Read(top[5].Get()).State & STATE_SYSTEM_CHECKED) == 0);
  // Esc closes the panel; the focus is back on the options button, and
  // the panel's objects are gone from the tree.
  Key(f.Handle, VK_ESCAPE);
  CHECK(Children(root.Get()).size() == 4);
  CHECK(Focused(root.Get()).Name == L"Seçenekler");
  VARIANT self = Self();
  UniqueBstr gone;
  CHECK(top[5]->get_accName(self, gone.Put()) == CO_E_OBJNOTCONNECTED);
  // Tab on: the close button, then round to the list's selected headline.
  Key(f.Handle, VK_TAB);
  CHECK(Focused(root.Get()).Name == L"Kapat");
  Key(f.Handle, VK_TAB);
  CHECK(Focused(root.Get()).Name == L"Haber 0");
}

TEST_CASE("objects a reader holds fail cleanly once the window is gone") {
  ComPtr<IAccessible> root, item;
  {
    TWindowFixture f(3);
    root = Root(f.Handle);
    auto top = Children(root.Get());
    auto items = Children(top[0].Get());
    REQUIRE(items.size() == 3);
    item = std::move(items[1]);
    CHECK(Read(item.Get()).Name == L"Haber 1");
  }
  VARIANT self = Self();
  UniqueBstr name;
  CHECK(item->get_accName(self, name.Put()) == CO_E_OBJNOTCONNECTED);
  long count = -1;
  CHECK(root->get_accChildCount(&count) == CO_E_OBJNOTCONNECTED);
  CHECK(item->accDoDefaultAction(self) == CO_E_OBJNOTCONNECTED);
}
