// The face's colours: every text of the light and dark looks reaches WCAG 2
// AA against what it lies on, the focus frame and the selection's mark 3:1;
// high contrast takes the system's pairs; the text size's arithmetic.
#include <doctest.h>

#include <cstdio>
#include <string>

#include "widgets/FacePalette.h"

namespace {
std::string Hex(TArgb c) {
  char s[16];
  std::snprintf(s, sizeof s, "%08X", static_cast<unsigned>(c));
  return s;
}
}  // namespace

TEST_CASE("contrast arithmetic against known values") {
  CHECK(ContrastRatio(0xFF000000, 0xFFFFFFFF) == doctest::Approx(21.0));
  CHECK(ContrastRatio(0xFF777777, 0xFFFFFFFF) == doctest::Approx(4.48).epsilon(0.01));
  CHECK(ContrastRatio(0xFF0000A0, 0xFFEFF0F2) == doctest::Approx(ContrastRatio(0xFFEFF0F2, 0xFF0000A0)));
  // Half-transparent white over black is mid grey.
  CHECK(Over(0x80FFFFFF, 0xFF000000) == 0xFF808080);
  CHECK(Over(0x00123456, 0x80FFFFFF) == 0x80FFFFFF);
  CHECK(Over(0x80FFFFFF, 0x00000000) == 0x80FFFFFF);
}

TEST_CASE("every text of the light and dark faces keeps its contrast") {
  for (TLook look : {TLook::Light, TLook::Dark}) {
    const char* name = look == TLook::Light ? "light" : "dark";
    for (const TContrastPair& pair : ContrastPairs(PaletteFor(look))) {
      const double ratio = WorstContrast(pair);
      INFO(name << ": " << pair.What << " " << Hex(pair.Fore) << " on " << Hex(pair.Back) << " is " << ratio << ":1");
      CHECK(ratio >= pair.Needed);
    }
  }
  // The list of the light face as it always was: headlines near 12:1.
  const TFacePalette light = PaletteFor(TLook::Light);
  CHECK(WorstContrast({"", light.Title, light.ListBack, 0}) > 11.0);
}

TEST_CASE("the contrast check fails a text that is too faint") {
  TFacePalette faint = PaletteFor(TLook::Dark);
  faint.Summary = 0xFF50545C;  // grey on near-black: about 2.4:1
  bool failed = false;
  for (const TContrastPair& pair : ContrastPairs(faint))
    if (WorstContrast(pair) < pair.Needed) failed = true;
  CHECK(failed);
  // A translucent frame is counted over a white desktop as well.
  CHECK(WorstContrast({"", 0xFFFFFFFF, 0x40000000, 4.5}) < 2.0);
}

TEST_CASE("high contrast draws in the system's colours, opaque") {
  TSystemColors white;
  white.Window = 0xFFFFFFFF;
  white.WindowText = 0xFF000000;
  white.HotLight = 0xFF00009F;
  white.Highlight = 0xFF37006E;
  white.HighlightText = 0xFFFFFFFF;
  white.BtnFace = 0xFFFFFFFF;
  white.BtnText = 0xFF000000;
  const TFacePalette p = PaletteFor(TLook::HighContrast, white);
  CHECK(p.Opaque);
  CHECK(p.ListBack == white.Window);
  CHECK(p.Title == white.HotLight);
  CHECK(p.Summary == white.WindowText);
  CHECK(p.Selection == white.Highlight);
  CHECK(p.SelectedText == white.HighlightText);
  CHECK(p.FrameBack == white.BtnFace);
  CHECK(p.Footer == white.BtnText);
  CHECK(p.Border == white.BtnText);
  // Every pair is a system pair, none translucent.
  for (const TContrastPair& pair : ContrastPairs(p)) {
    INFO(pair.What);
    CHECK((pair.Fore >> 24) == 0xFF);
    CHECK((pair.Back >> 24) == 0xFF);
  }
  CHECK_FALSE(PaletteFor(TLook::Light).Opaque);
  CHECK(PaletteFor(TLook::Light).SelectedText == 0);
}

TEST_CASE("the text size: Windows' times the ticker's, at most 225%") {
  struct {
    int Windows, Own, Percent;
  } cases[] = {
      {100, 100, 100}, {150, 100, 150}, {225, 100, 225}, {100, 200, 200}, {125, 125, 156},
      {150, 150, 225}, {225, 200, 225}, {0, 150, 150},   {400, 100, 100}, {100, 90, 100},
      {100, 250, 100},
  };
  for (const auto& c : cases) {
    INFO(c.Windows << "% x " << c.Own << "%");
    CHECK(TextPercent(c.Windows, c.Own) == c.Percent);
  }
}
