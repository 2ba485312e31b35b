#include "ticker/FocusOrder.h"

#include <cstddef>
#include <vector>

namespace {

// The panel's controls in reading order: top to bottom, then the close
// button in the corner.
std::vector<TFocusTarget> Cycle(TOpenPanel panel, int switchCount) {
  switch (panel) {
    case TOpenPanel::Options: {
      std::vector<TFocusTarget> cycle;
      for (int i = 0; i < switchCount; ++i) cycle.push_back(static_cast<TFocusTarget>(FocusSwitch + i));
      cycle.push_back(FocusOptionsClose);
      return cycle;
    }
    case TOpenPanel::About: return {FocusAboutLink, FocusAboutClose};
    case TOpenPanel::None: break;
  }
  return {FocusList, FocusOptionsButton, FocusCloseButton};
}

}  // namespace

TFocusTarget NextFocus(TFocusTarget current, TOpenPanel panel, int switchCount, bool forward) {
  const std::vector<TFocusTarget> cycle = Cycle(panel, switchCount);
  const std::size_t n = cycle.size();
  for (std::size_t i = 0; i < n; ++i)
    if (cycle[i] == current) return cycle[forward ? (i + 1) % n : (i + n - 1) % n];
  return forward ? cycle.front() : cycle.back();
}

TFocusTarget FirstFocus(TOpenPanel panel, int switchCount) { return Cycle(panel, switchCount).front(); }
