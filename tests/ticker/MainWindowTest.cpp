// The main window built for real in-process: a creation that fails at any
// step reports it and cleans up from whatever was made.
#include <doctest.h>

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "../settings/TestFiles.h"
#include "WindowTestUtil.h"
#include "app/Globals.h"
#include "framework/GdiPlus.h"
#include "ticker/MainWindow.h"
#include "ticker/Registry.h"
#include "ticker/Switches.h"

namespace {

BOOL CALLBACK CollectBox(HWND child, LPARAM found) {
  wchar_t name[64] = {};
  ::GetClassNameW(child, name, 64);
  if (std::wstring(name) == L"TCheckBoxEx") reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
  return TRUE;
}

// The option boxes of a window, top to bottom.
std::vector<HWND> OptionBoxes(HWND window) {
  std::vector<HWND> boxes;
  ::EnumChildWindows(window, &CollectBox, reinterpret_cast<LPARAM>(&boxes));
  auto top = [](HWND w) {
    RECT r;
    ::GetWindowRect(w, &r);
    return r.top;
  };
  std::sort(boxes.begin(), boxes.end(), [&](HWND a, HWND b) { return top(a) < top(b); });
  return boxes;
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  return text;
}

}  // namespace

TEST_CASE("the options panel has a row per switch of the table, and each row flips its own switch") {
  gdiplus::TGdiPlusSession gdip;
  ::CoInitialize(nullptr);
  TScratchFolder data(L"optionrows");
  DataFolder = data.Path();
  const std::wstring options = data / L"options.ini";
  REQUIRE(WriteBytes(options, Utf16File(UserOptions)));
  {
    TMainWindow window;
    window.SetParentWindow(nullptr);
    window.SetClassNameW(L"kavrelotestclass");
    window.HandleNeeded();
    window.ShowOptions();
    std::vector<HWND> boxes = OptionBoxes(window.WindowHandle());
    REQUIRE(boxes.size() == SwitchCount);
    for (std::size_t i = 0; i < SwitchCount; ++i) {
      const std::u16string key = Switches[i].Key;
      CAPTURE(std::string(key.begin(), key.end()));
      CHECK(TextOf(boxes[i]) == LoadResString(Switches[i].Caption));
      // Every switch is off in the user's file; a click on its row turns
      // on that one, in the file, and no other.
      CHECK(ReadBytes(options).find(Utf16(key + u"=0")) != std::string::npos);
      RECT r;
      ::GetWindowRect(boxes[i], &r);
      ::SetCursorPos(r.left + 5, r.top + 5);
      ::SendMessageW(boxes[i], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      ::SendMessageW(boxes[i], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      std::string after = ReadBytes(options);
      CHECK(after.find(Utf16(key + u"=1")) != std::string::npos);
      for (std::size_t j = i + 1; j < SwitchCount; ++j)
        CHECK(after.find(Utf16(std::u16string(Switches[j].Key) + u"=0")) != std::string::npos);
    }
  }
  DeleteRegValue(HKEY_CURRENT_USER, RunKeyPath, RunValueName);
  ::CoUninitialize();
}

TEST_CASE("a main window whose building fails part-way reports it and cleans up from what was made") {
  gdiplus::TGdiPlusSession gdip;
  ::CoInitialize(nullptr);
  TScratchFolder data(L"mainwindow");
  DataFolder = data.Path();
  const std::wstring options = data / L"options.ini";

  for (int step = 1; step <= 9; ++step) {
    CAPTURE(step);
    REQUIRE(WriteBytes(options, Utf16File(UserOptions)));
    TMainWindow::BuildStepHook = [step](int at) {
      if (at == step) throw std::runtime_error("step " + std::to_string(at));
    };
    {
      TMainWindow window;
      window.SetParentWindow(nullptr);
      window.SetClassNameW(L"kavrelotestclass");
      // The failure comes out of the creation as it went in, not as an abort
      // through the system's frames.
      CHECK_THROWS_WITH(window.HandleNeeded(), ("step " + std::to_string(step)).c_str());
      CHECK(window.WindowHandle() == nullptr);
    }
    // Clean-up did not write the defaults over the user's file.
    std::string after = ReadBytes(options);
    CHECK(after.find(Utf16(u"left=123")) != std::string::npos);
    CHECK(after.find(Utf16(u"showtray=0")) != std::string::npos);
  }

  TMainWindow::BuildStepHook = nullptr;
  {
    TMainWindow window;
    window.SetParentWindow(nullptr);
    window.SetClassNameW(L"kavrelotestclass");
    window.HandleNeeded();
    CHECK(::IsWindow(window.WindowHandle()));
    CHECK(window.Left() == 123);
  }
  DeleteRegValue(HKEY_CURRENT_USER, RunKeyPath, RunValueName);
  ::CoUninitialize();
}

namespace {
// Visible child windows that reach outside the window, as "class l,t,r,b".
struct TOutsideSearch {
  RECT Frame;
  std::vector<std::wstring> Found;
};

BOOL CALLBACK CollectOutside(HWND child, LPARAM p) {
  auto* s = reinterpret_cast<TOutsideSearch*>(p);
  RECT r{};
  ::GetWindowRect(child, &r);
  if (!::IsWindowVisible(child) || (r.left >= s->Frame.left && r.top >= s->Frame.top && r.right <= s->Frame.right &&
                                    r.bottom <= s->Frame.bottom))
    return TRUE;
  wchar_t name[64] = {};
  ::GetClassNameW(child, name, 64);
  s->Found.push_back(std::wstring(name) + L" " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
                     std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom));
  return TRUE;
}

std::vector<std::wstring> Outside(HWND window) {
  TOutsideSearch search{};
  ::GetWindowRect(window, &search.Frame);
  ::EnumChildWindows(window, &CollectOutside, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

SIZE SizeOf(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}
}  // namespace

TEST_CASE("a change of DPI lays the face out in the suggested place, on the same headline, and back again") {
  gdiplus::TGdiPlusSession gdip;
  ::CoInitialize(nullptr);
  TScratchFolder data(L"dpichange");
  DataFolder = data.Path();
  REQUIRE(WriteBytes(data / L"options.ini", Utf16File(UserOptions)));
  REQUIRE(WriteBytes(data / L"news.xml", Feed(12)));
  {
    TMainWindow window;
    window.SetParentWindow(nullptr);
    window.SetClassNameW(L"kavrelotestclass");
    window.HandleNeeded();
    HWND hwnd = window.WindowHandle();
    HWND list = ChildOfClass(hwnd, L"TContentEx");
    REQUIRE(list != nullptr);
    REQUIRE(SizeOf(hwnd).cx == 475);
    REQUIRE(SizeOf(list).cx == 390);
    window.ScrollBy(-400);
    const int top = window.TopHeadline();
    REQUIRE(top > 1);

    struct Step {
      int Dpi;
      RECT Suggested;
    };
    for (const Step& step : {Step{144, {200, 100, 200 + 713, 100 + 525}}, Step{96, {210, 90, 210 + 475, 90 + 350}},
                             Step{192, {0, 0, 950, 700}}, Step{96, {210, 90, 210 + 475, 90 + 350}}}) {
      CAPTURE(step.Dpi);
      const TScale s(step.Dpi);
      ::SendMessageW(hwnd, 0x02E0, MAKEWPARAM(step.Dpi, step.Dpi), reinterpret_cast<LPARAM>(&step.Suggested));
      RECT r{};
      ::GetWindowRect(hwnd, &r);
      CHECK(r.left == step.Suggested.left);
      CHECK(r.top == step.Suggested.top);
      CHECK(r.right - r.left == s.Px(475));
      CHECK(r.bottom - r.top == s.Px(350));
      // The list sits where its box lies at that scale, edges rounded as
      // everything else's.
      const TBox box = s.Box(30, 75, 0, 0, 390, 213);
      CHECK(SizeOf(list).cx == box.Width);
      CHECK(SizeOf(list).cy == box.Height);
      CHECK(window.TopHeadline() == top);
      // Each panel, shown at this scale, lies inside the window.
      CHECK(Outside(hwnd).empty());
      window.ShowOptions();
      CHECK(OptionBoxes(hwnd).size() == SwitchCount);
      for (const std::wstring& w : Outside(hwnd)) FAIL_CHECK(std::string(w.begin(), w.end()));
      window.HideOptions();
      window.ShowAbout();
      for (const std::wstring& w : Outside(hwnd)) FAIL_CHECK(std::string(w.begin(), w.end()));
      window.HideAbout();
    }
  }
  ::CoUninitialize();
}
