#include <doctest.h>

#include "ticker/FocusOrder.h"

TEST_CASE("Tab and Shift+Tab cycle through the face or the open panel in reading order") {
  struct Row {
    TOpenPanel panel;
    TFocusTarget from;
    bool forward;
    TFocusTarget to;
  };
  const auto S = [](int i) { return static_cast<TFocusTarget>(FocusSwitch + i); };
  const Row rows[] = {
      {TOpenPanel::None, FocusList, true, FocusOptionsButton},
      {TOpenPanel::None, FocusOptionsButton, true, FocusCloseButton},
      {TOpenPanel::None, FocusCloseButton, true, FocusList},
      {TOpenPanel::None, FocusList, false, FocusCloseButton},
      {TOpenPanel::None, FocusCloseButton, false, FocusOptionsButton},
      {TOpenPanel::Options, S(0), true, S(1)},
      {TOpenPanel::Options, S(3), true, FocusOptionsClose},
      {TOpenPanel::Options, FocusOptionsClose, true, S(0)},
      {TOpenPanel::Options, S(0), false, FocusOptionsClose},
      // The options button opened the panel: Tab goes into it, not past it.
      {TOpenPanel::Options, FocusOptionsButton, true, S(0)},
      {TOpenPanel::Options, FocusOptionsButton, false, FocusOptionsClose},
      {TOpenPanel::About, FocusAboutLink, true, FocusAboutClose},
      {TOpenPanel::About, FocusAboutClose, true, FocusAboutLink},
      {TOpenPanel::About, FocusList, true, FocusAboutLink},
      // A panel closed under a focused switch: back into the face's cycle.
      {TOpenPanel::None, S(2), true, FocusList},
      {TOpenPanel::None, FocusNone, false, FocusCloseButton},
  };
  for (const Row& r : rows) {
    CAPTURE(static_cast<int>(r.panel));
    CAPTURE(static_cast<long>(r.from));
    CAPTURE(r.forward);
    CHECK(NextFocus(r.from, r.panel, 4, r.forward) == r.to);
  }
}

TEST_CASE("the focus starts on the list, or on the first control of an open panel") {
  CHECK(FirstFocus(TOpenPanel::None, 4) == FocusList);
  CHECK(FirstFocus(TOpenPanel::Options, 4) == FocusSwitch);
  CHECK(FirstFocus(TOpenPanel::About, 4) == FocusAboutLink);
  // Without switches the options panel still has its close button.
  CHECK(FirstFocus(TOpenPanel::Options, 0) == FocusOptionsClose);
}
