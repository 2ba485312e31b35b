// Saves the options over and over, alternating two states, until killed:
// the crash-safety test terminates it in the middle of a save.
#include <windows.h>

#include "settings/windows/WindowsFileAccess.h"
#include "ticker/Options.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const RECT screen{0, 0, 1280, 994};
  TOptions options(argv[1], screen, WindowsFiles());
  for (int i = 0;; ++i) {
    bool even = i % 2 == 0;
    // The two states differ in length, so a torn write cannot pass for
    // either of them.
    options.WriteLeft(even ? 1 : -123456);
    options.WriteTop(even ? 2 : 7654321);
    // Neighbouring switches differ, so a torn write cannot pass for either state.
    for (std::size_t i = 0; i < SwitchCount; ++i) options.WriteSwitch(Switches[i], (i % 2 == 0) == even);
    options.UpdateFile();
  }
}
