// The main window built for real in-process: a creation that fails at any
// step reports it and cleans up from whatever was made.
#include <doctest.h>

#include <windows.h>
#include <objbase.h>

#include <stdexcept>
#include <string>

#include "../settings/TestFiles.h"
#include "app/Globals.h"
#include "framework/GdiPlus.h"
#include "ticker/MainWindow.h"
#include "ticker/Registry.h"

namespace {

std::string Utf16(const std::u16string& text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::string Utf16File(const std::u16string& text) { return "\xff\xfe" + Utf16(text); }

const std::u16string UserOptions =
    u"[general]\r\nleft=123\r\ntop=45\r\n\r\n[options]\r\nalwaystop=0\r\nautoscale=0\r\nshowtray=0\r\nstartup=0\r\n\r\n";

}  // namespace

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
