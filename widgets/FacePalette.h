// The colours the face draws its texts and marks with, in each of its looks
// (light, dark, high contrast), and the contrast each text needs against
// what it lies on. No window is needed: the contrast test reads the same
// table the widgets draw from.
#pragma once

#include <cstdint>
#include <vector>

// 0xAARRGGBB, straight (not premultiplied) alpha.
using TArgb = std::uint32_t;

enum class TLook { Light, Dark, HighContrast };

// The system colours a high-contrast face is drawn in, as 0xFFRRGGBB.
struct TSystemColors {
  TArgb Window = 0xFF000000, WindowText = 0xFFFFFFFF;
  TArgb HotLight = 0xFFFFFF00;
  TArgb Highlight = 0xFF1AEBFF, HighlightText = 0xFF000000;
  TArgb BtnFace = 0xFF000000, BtnText = 0xFFFFFFFF;
  bool operator==(const TSystemColors& o) const;
  bool operator!=(const TSystemColors& o) const { return !(*this == o); }
};

struct TFacePalette {
  // The news list: what its texts lie on (the artwork's paper seen over the
  // darkest desktop, or the system's window colour), headlines, summaries,
  // the rule between them, the mark of a new headline.
  TArgb ListBack, Title, Summary, Separator, Fresh;
  // The selected item: a wash behind it, a bar at its left edge that tells
  // it apart from its neighbours, its texts (0: as unselected), and the
  // dotted focus frame.
  TArgb Selection, SelectionBar, SelectedText, Focus;
  // The frame: what the status line and the footer link lie on, and them.
  TArgb FrameBack, Footer;
  // The panels: the options sheet as shown and its switches' captions, the
  // about sheet and its texts.
  TArgb SheetBack, SwitchText, AboutBack, AboutTitle, AboutText, AboutLink;
  // High contrast only: everything opaque, borders of one pixel in Border.
  bool Opaque;
  TArgb Border;
};

TFacePalette PaletteFor(TLook look, const TSystemColors& system = {});

// `top` laid over `under` (source over); the result has `under`'s alpha
// when `top` is transparent, and is opaque when either is.
TArgb Over(TArgb top, TArgb under);
// WCAG 2's relative luminance of an opaque colour, and the contrast ratio
// of two opaque colours (1 to 21).
double RelativeLuminance(TArgb color);
double ContrastRatio(TArgb a, TArgb b);

// One text or mark and what it lies on, with the contrast it must reach:
// 4.5 for text, 3 for the focus frame and the selection's mark. A
// background that is not opaque lies over the desktop, whatever it shows:
// the ratio counted is the worse of a black and a white desktop.
struct TContrastPair {
  const char* What;
  TArgb Fore, Back;
  double Needed;
};
std::vector<TContrastPair> ContrastPairs(const TFacePalette& palette);
double WorstContrast(const TContrastPair& pair);

// The list's text size as a percentage of its design size: Windows' Text
// size times the ticker's own choice, never above 225%. Values out of
// their ranges count as 100%.
int TextPercent(int windowsPercent, int ownPercent);
inline constexpr int MaxTextPercent = 225;
// The sizes the ticker offers on its menu.
inline constexpr int OwnTextPercents[] = {100, 125, 150, 175, 200};
