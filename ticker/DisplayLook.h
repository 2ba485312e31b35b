// The face's look as the user's display preferences make it: which
// palette and pictures, how large the list's texts are, whether the face
// animates. The window owns one, asks it again whenever the system tells
// of a change, and lays the face out anew when the answer differs.
#pragma once

#include <windows.h>

#include <memory>

#include "ticker/DisplayPrefs.h"
#include "widgets/FacePalette.h"

class TDisplayWatch;

class TDisplayLook {
 public:
  // With a window, the registry values behind the preferences are watched
  // and `message` is posted to it after a change (see Changed).
  TDisplayLook(HWND window = nullptr, UINT message = 0);
  ~TDisplayLook();
  TDisplayLook(const TDisplayLook&) = delete;
  TDisplayLook& operator=(const TDisplayLook&) = delete;

  // Reads the preferences again; true when they differ from the last ones.
  bool Refresh();
  // The watch told of a change: asks for the next one and reads again.
  bool Changed();
  // As Refresh, from given preferences (tests).
  bool Take(const TDisplayPrefs& prefs);

  const TDisplayPrefs& Prefs() const { return prefs_; }
  TLook Look() const { return prefs_.Look(); }
  TFacePalette Palette() const { return PaletteFor(prefs_.Look(), prefs_.Colors); }
  bool Animations() const { return prefs_.Animations; }
  // High contrast shows focus rectangles from the start, not only once the
  // keyboard was used.
  bool FocusAlwaysShown() const { return prefs_.HighContrast; }

  // The ticker's own text size (one of OwnTextPercents), chosen on its
  // menu and kept in the options; and the list's, with Windows' own.
  int OwnTextPercent() const { return own_; }
  // False when `percent` is not one the menu offers (it is not taken).
  bool SetOwnTextPercent(int percent);
  int ListTextPercent() const { return TextPercent(prefs_.TextPercent, own_); }

 private:
  std::unique_ptr<TDisplayWatch> watch_;
  TDisplayPrefs prefs_;
  int own_ = 100;
};
