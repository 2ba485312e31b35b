#include <doctest.h>

#include <windows.h>

#include "TestFiles.h"
#include "settings/windows/WindowsFileAccess.h"
#include "ticker/Options.h"

namespace {

const RECT Screen{0, 0, 1280, 994};

// The file SaveLoop writes in its even and odd rounds.
std::string StateBytes(bool even) {
  TWMemoryFileAccess files;
  TOptions o(L"f", Screen, files);
  o.WriteLeft(even ? 1 : -123456);
  o.WriteTop(even ? 2 : 7654321);
  // Neighbouring switches differ, so a torn write cannot pass for either state.
  for (std::size_t i = 0; i < SwitchCount; ++i) o.WriteSwitch(Switches[i], (i % 2 == 0) == even);
  return o.SaveToBytes();
}

}  // namespace

TEST_CASE("killed in the middle of saving, the options file is the old or the new one, whole") {
  TScratchFolder dir(L"crash");
  const std::wstring path = dir / L"options.ini";
  const std::string even = StateBytes(true);
  const std::string odd = StateBytes(false);
  REQUIRE(even.size() != odd.size());

  int seenEven = 0, seenOdd = 0;
  for (int round = 0; round < 6; ++round) {
    CAPTURE(round);
    std::wstring command = L"\"" + TestProgramFolder() + L"settings_save_loop.exe\" \"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    REQUIRE(::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process));
    // Let it get well into its saves, a different way into one each round.
    for (int i = 0; i < 200 && ReadBytes(path) == "<missing>"; ++i) ::Sleep(10);
    ::Sleep(150 + 37 * round);
    ::TerminateProcess(process.hProcess, 9);
    ::WaitForSingleObject(process.hProcess, 5000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);

    std::string found = ReadBytes(path);
    CHECK((found == even || found == odd));
    seenEven += found == even;
    seenOdd += found == odd;

    TOptions reread(path, Screen, WindowsFiles());
    CHECK(reread.LoadResult() == TWLoadResult::Loaded);
    CHECK((reread.Left() == 1 || reread.Left() == -123456));
  }
  MESSAGE("even ", seenEven, ", odd ", seenOdd);
}
