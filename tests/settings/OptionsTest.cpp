#include <doctest.h>

#include <windows.h>

#include "TestFiles.h"
#include "settings/windows/WindowsFileAccess.h"
#include "ticker/Options.h"

namespace {

const RECT Screen{0, 0, 1280, 994};

const TSwitch& Switch(const char16_t* key) {
  const TSwitch* found = FindSwitch(key);
  REQUIRE(found != nullptr);
  return *found;
}

// What the main window's save does: all six options, then the file.
bool SaveAll(TOptions& o, int left, int top, bool startup, bool alwaysTop, bool tray, bool autoScale) {
  o.WriteLeft(left);
  o.WriteTop(top);
  o.WriteSwitch(Switch(u"startup"), startup);
  o.WriteSwitch(Switch(u"alwaystop"), alwaysTop);
  o.WriteSwitch(Switch(u"showtray"), tray);
  o.WriteSwitch(Switch(u"autoscale"), autoScale);
  return o.UpdateFile();
}

}  // namespace

TEST_CASE("default position centres the window in a work area taken from the screen's origin") {
  struct Row {
    RECT area;
    int left, top;
  };
  const Row rows[] = {
      {{0, 0, 1280, 994}, 402, 322},
      {{100, 50, 1380, 1044}, 402, 322},  // the area's own origin is not added
      {{0, 0, 1024, 737}, 274, 193},       // odd sizes round toward zero
      {{0, 0, 300, 200}, -87, -75},        // smaller than the window: toward zero too
  };
  TWMemoryFileAccess files;
  for (const Row& r : rows) {
    CAPTURE(r.left);
    TOptions o(L"x", r.area, files);
    CHECK(o.DefaultLeft == r.left);
    CHECK(o.DefaultTop == r.top);
  }
}

TEST_CASE("the work area is the system's") {
  RECT expected{};
  REQUIRE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &expected, 0));
  RECT area = CurrentWorkArea();
  CHECK(area.right == expected.right);
  CHECK(area.bottom == expected.bottom);
  TOptions o(L"C:\\nowhere\\options.ini");
  CHECK(o.DefaultLeft == (expected.right - expected.left - 475) / 2);
}

TEST_CASE("first run: no file, every option at its default") {
  TScratchFolder dir(L"options-first");
  TOptions o(dir / L"options.ini", Screen, WindowsFiles());
  CHECK(o.LoadResult() == TWLoadResult::Missing);
  CHECK(o.Left() == 402);
  CHECK(o.Top() == 322);
  CHECK(o.Switch(Switch(u"alwaystop")));
  CHECK(o.Switch(Switch(u"autoscale")));
  CHECK(o.Switch(Switch(u"showtray")));
  CHECK(o.Switch(Switch(u"startup")));
  CHECK(ReadBytes(dir / L"options.ini") == "<missing>");  // reading writes nothing
}

TEST_CASE("a file with only the general section: position from the file, switches on") {
  TScratchFolder dir(L"options-general");
  REQUIRE(WriteBytes(dir / L"options.ini", EncodeUtf16Le(u"[general]\r\nleft=-40\r\ntop=0x20\r\n\r\n")));
  TOptions o(dir / L"options.ini", Screen, WindowsFiles());
  CHECK(o.Left() == -40);
  CHECK(o.Top() == 32);
  CHECK(o.Switch(Switch(u"alwaystop")));
  CHECK(o.Switch(Switch(u"autoscale")));
  CHECK(o.Switch(Switch(u"showtray")));
  CHECK(o.Switch(Switch(u"startup")));
}

TEST_CASE("malformed values fall back to the defaults one by one") {
  TScratchFolder dir(L"options-bad");
  REQUIRE(WriteBytes(dir / L"options.ini",
                     EncodeUtf16Le(u"[general]\r\nleft=abc\r\ntop=5\r\n[options]\r\nalwaystop=no\r\nshowtray=0\r\n")));
  TOptions o(dir / L"options.ini", Screen, WindowsFiles());
  CHECK(o.Left() == 402);
  CHECK(o.Top() == 5);
  CHECK(o.Switch(Switch(u"alwaystop")));
  CHECK_FALSE(o.Switch(Switch(u"showtray")));
}

TEST_CASE("every save leaves all six keys on disk, and the next run reads them back") {
  TScratchFolder dir(L"options-save");
  std::wstring path = dir / L"options.ini";
  {
    TOptions o(path, Screen, WindowsFiles());
    REQUIRE(SaveAll(o, 402, 322, true, true, true, true));
    CHECK(ReadBytes(path) ==
          EncodeUtf16Le(u"[general]\r\nleft=402\r\ntop=322\r\n\r\n"
                        u"[options]\r\nstartup=1\r\nalwaystop=1\r\nshowtray=1\r\nautoscale=1\r\n\r\n"));
    // The window was dragged and two boxes unticked.
    REQUIRE(SaveAll(o, -15, 7000, false, true, false, true));
  }
  CHECK(ReadBytes(path) ==
        EncodeUtf16Le(u"[general]\r\nleft=-15\r\ntop=7000\r\n\r\n"
                      u"[options]\r\nstartup=0\r\nalwaystop=1\r\nshowtray=0\r\nautoscale=1\r\n\r\n"));
  TOptions next(path, Screen, WindowsFiles());
  CHECK(next.Left() == -15);
  CHECK(next.Top() == 7000);  // kept even off today's work area
  CHECK_FALSE(next.Switch(Switch(u"startup")));
  CHECK(next.Switch(Switch(u"alwaystop")));
  CHECK_FALSE(next.Switch(Switch(u"showtray")));
  CHECK(next.Switch(Switch(u"autoscale")));
}

TEST_CASE("an unreadable options file starts with defaults instead of failing") {
  TScratchFolder dir(L"options-folder");
  REQUIRE(::CreateDirectoryW((dir / L"options.ini").c_str(), nullptr));
  TOptions o(dir / L"options.ini", Screen, WindowsFiles());
  CHECK(o.LoadResult() == TWLoadResult::Unreadable);
  CHECK(o.Left() == 402);
  CHECK(o.Switch(Switch(u"startup")));
  CHECK_FALSE(SaveAll(o, 1, 2, false, false, false, false));
}
