// The switches of the options panel, described once: loading, saving, the
// panel's rows and applying a switch all read this table, in its order.
#pragma once

#include <cstddef>
#include <string_view>

class TMainWindow;

struct TSwitch {
  // Its line in the [options] section of options.ini.
  const char16_t* Key;
  bool Default;
  // String resource of the switch's row in the options panel.
  unsigned Caption;
  // Makes the ticker follow the switch: at start, when an options file that
  // could not be read turns readable, and when the user flips it.
  void (*Apply)(TMainWindow& ticker, bool on);
  // What the switch sets is also kept outside the options file (the Run
  // value): a default shown only because the file could not be read is not
  // applied to it.
  bool KeptOutside;
  // The default of a portable copy: nothing it was not asked for.
  bool PortableDefault;
};

extern const TSwitch Switches[];
extern const std::size_t SwitchCount;

// The switch stored under key; null for none.
const TSwitch* FindSwitch(std::u16string_view key);
