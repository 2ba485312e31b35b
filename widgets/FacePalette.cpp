#include "widgets/FacePalette.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr TArgb Black = 0xFF000000, White = 0xFFFFFFFF;

double Channel(TArgb c, int shift) { return static_cast<double>((c >> shift) & 0xFF) / 255.0; }

// What the artwork puts under the list: the body's gradient near its foot
// (alpha 232), the lip under the paper, and the paper (alpha 246). Left
// translucent: the desktop shows through a little, and the contrast test
// counts the worst desktop.
TArgb Paper(TArgb body, TArgb paper) { return Over(paper, Over(0x46000000, body)); }

}  // namespace

bool TSystemColors::operator==(const TSystemColors& o) const {
  return Window == o.Window && WindowText == o.WindowText && HotLight == o.HotLight && Highlight == o.Highlight &&
         HighlightText == o.HighlightText && BtnFace == o.BtnFace && BtnText == o.BtnText;
}

TFacePalette PaletteFor(TLook look, const TSystemColors& system) {
  TFacePalette p{};
  switch (look) {
    case TLook::Light: {
      p.ListBack = Paper(0xE8141A24, 0xF6F7F8FA);
      p.Title = 0xFF0000A0;
      p.Summary = 0xFF303030;
      p.Separator = 0x40000000;
      p.Fresh = 0xFFC8102E;
      p.Selection = 0x260000A0;
      p.SelectionBar = 0xFF0000A0;
      p.Focus = 0xC00000A0;
      p.FrameBack = 0xE8171E29;
      p.Footer = 0xAFFFFFFF;
      // The options sheet is shown faded and tinted lighter than it is drawn.
      p.SheetBack = Over(0xE1E7E8EA, p.ListBack);
      p.SwitchText = 0xCF000000;
      p.AboutBack = Over(0xF0F7F8FA, p.ListBack);
      p.AboutTitle = 0xFF333333;
      p.AboutText = 0xFF404040;
      p.AboutLink = 0xFF4040FF;
      break;
    }
    case TLook::Dark: {
      p.ListBack = Paper(0xE80E1015, 0xF61C1F26);
      p.Title = 0xFF8AB4F8;
      p.Summary = 0xFFD5D9E0;
      p.Separator = 0x40FFFFFF;
      p.Fresh = 0xFFFF6B6B;
      p.Selection = 0x338AB4F8;
      p.SelectionBar = 0xFF8AB4F8;
      p.Focus = 0xE08AB4F8;
      p.FrameBack = 0xE8101318;
      p.Footer = 0xAFFFFFFF;
      // Faded as the light one, not tinted.
      p.SheetBack = Over(0xE122262E, p.ListBack);
      p.SwitchText = 0xFFE6E8EC;
      p.AboutBack = Over(0xF022262E, p.ListBack);
      p.AboutTitle = 0xFFEEEEEE;
      p.AboutText = 0xFFD5D9E0;
      p.AboutLink = 0xFF8AB4F8;
      break;
    }
    case TLook::HighContrast: {
      p.ListBack = system.Window;
      p.Title = system.HotLight;
      p.Summary = system.WindowText;
      p.Separator = system.WindowText;
      p.Fresh = system.Highlight;
      p.Selection = system.Highlight;
      p.SelectionBar = system.Highlight;
      p.SelectedText = system.HighlightText;
      p.Focus = system.WindowText;
      p.FrameBack = system.BtnFace;
      p.Footer = system.BtnText;
      p.SheetBack = system.BtnFace;
      p.SwitchText = system.BtnText;
      p.AboutBack = system.BtnFace;
      p.AboutTitle = system.BtnText;
      p.AboutText = system.BtnText;
      p.AboutLink = system.BtnText;
      p.Opaque = true;
      p.Border = system.BtnText;
      break;
    }
  }
  return p;
}

TArgb Over(TArgb top, TArgb under) {
  const double at = Channel(top, 24), au = Channel(under, 24);
  const double a = at + au * (1.0 - at);
  if (a <= 0.0) return 0;
  TArgb out = static_cast<TArgb>(std::lround(a * 255.0)) << 24;
  for (int shift : {16, 8, 0}) {
    const double c = (Channel(top, shift) * at + Channel(under, shift) * au * (1.0 - at)) / a;
    out |= static_cast<TArgb>(std::lround(c * 255.0)) << shift;
  }
  return out;
}

double RelativeLuminance(TArgb color) {
  auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
  return 0.2126 * linear(Channel(color, 16)) + 0.7152 * linear(Channel(color, 8)) + 0.0722 * linear(Channel(color, 0));
}

double ContrastRatio(TArgb a, TArgb b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::vector<TContrastPair> ContrastPairs(const TFacePalette& p) {
  const TArgb selected = Over(p.Selection, p.ListBack);
  const TArgb selectedTitle = p.SelectedText ? p.SelectedText : p.Title;
  const TArgb selectedSummary = p.SelectedText ? p.SelectedText : p.Summary;
  return {
      {"headline on the list", p.Title, p.ListBack, 4.5},
      {"summary on the list", p.Summary, p.ListBack, 4.5},
      {"selected headline", selectedTitle, selected, 4.5},
      {"selected summary", selectedSummary, selected, 4.5},
      {"selection's bar on the list", p.SelectionBar, p.ListBack, 3.0},
      {"focus frame on the selection", p.Focus, selected, 3.0},
      {"focus frame on the list", p.Focus, p.ListBack, 3.0},
      {"status line and footer link", p.Footer, p.FrameBack, 4.5},
      {"switch captions on the options sheet", p.SwitchText, p.SheetBack, 4.5},
      {"about title", p.AboutTitle, p.AboutBack, 4.5},
      {"about text", p.AboutText, p.AboutBack, 4.5},
      {"about link", p.AboutLink, p.AboutBack, 4.5},
  };
}

double WorstContrast(const TContrastPair& pair) {
  double worst = 21.0;
  for (TArgb desktop : {Black, White}) {
    const TArgb back = Over(pair.Back, desktop);
    worst = std::min(worst, ContrastRatio(Over(pair.Fore, back), back));
  }
  return worst;
}

int TextPercent(int windowsPercent, int ownPercent) {
  if (windowsPercent < 100 || windowsPercent > MaxTextPercent) windowsPercent = 100;
  if (ownPercent < 100 || ownPercent > 200) ownPercent = 100;
  const long long combined = (static_cast<long long>(windowsPercent) * ownPercent + 50) / 100;
  return static_cast<int>(std::min<long long>(combined, MaxTextPercent));
}
