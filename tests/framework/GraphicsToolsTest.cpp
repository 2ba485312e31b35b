// Drawing tools: defaults, change notifications, font colour rule, Assign.
#include <doctest.h>

#include <cstdint>

#include "framework/FontEx.h"
#include "framework/GdiPlus.h"
#include "framework/GraphicsTools.h"

using namespace gdip;

namespace {

// Counts change notifications of one tool.
struct ChangeCounter {
  int count = 0;
  TGraphicObjectEx* last = nullptr;
  explicit ChangeCounter(TGraphicObjectEx& tool) {
    tool.OnChange = [this](TGraphicObjectEx* sender) {
      ++count;
      last = sender;
    };
  }
};

std::uint32_t BrushColor(GpBrush* brush) {
  ARGB color = 0;
  GdipGetSolidFillColor(static_cast<GpSolidFill*>(brush), &color);
  return color;
}

}  // namespace

TEST_CASE("tool defaults") {
  TSolidBrushEx brush;
  CHECK(brush.Color() == 0xFF808080);
  CHECK(brush.Kind() == TBrushEx::SolidKind);
  CHECK(BrushColor(brush.Handle()) == 0xFF808080);

  TPenEx pen;
  CHECK(pen.Color() == 0xFF000000);
  CHECK(pen.Width() == 1.0f);
  CHECK(pen.Style() == 0);
  REQUIRE(pen.Handle() != nullptr);
  PenAlignment alignment = PenAlignmentCenter;
  GdipGetPenMode(pen.Handle(), &alignment);
  CHECK(alignment == PenAlignmentInset);
  LineJoin join = LineJoinMiter;
  GdipGetPenLineJoin(pen.Handle(), &join);
  CHECK(join == LineJoinMiterClipped);

  TStringFormatEx format;
  CHECK(format.FormatFlags() == 0);
  CHECK(format.Alignment() == 0);
  CHECK(format.LineAlignment() == 0);
  CHECK(format.HotkeyPrefix() == 0);
  CHECK(format.Trimming() == 1);
  StringTrimming trimming = StringTrimmingNone;
  GdipGetStringFormatTrimming(format.Handle(), &trimming);
  CHECK(trimming == StringTrimmingCharacter);

  TFontEx font;
  CHECK(font.Name() == L"Arial");
  CHECK(font.Size() == 10);
  CHECK(font.Style() == 0);
  CHECK(font.Color() == 0xFE000000);
  CHECK(font.Handle() != nullptr);
  CHECK(BrushColor(font.Brush()) == 0xFE000000);
}

TEST_CASE("font colour: alpha 255 is stored as 254, other alphas unchanged") {
  struct Row {
    std::uint32_t set, stored;
  };
  const Row rows[] = {
      {0xFF123456, 0xFE123456}, {0x80123456, 0x80123456}, {0xFEFFFFFF, 0xFEFFFFFF},
      {0x00000000, 0x00000000}, {0xFFFFFFFF, 0xFEFFFFFF},
  };
  TFontEx font;
  for (const Row& row : rows) {
    CAPTURE(row.set);
    font.SetColor(row.set);
    CHECK(font.Color() == row.stored);
    CHECK(BrushColor(font.Brush()) == row.stored);
  }
}

TEST_CASE("setting a value that does not change sends no notification") {
  TSolidBrushEx brush;
  TPenEx pen;
  TStringFormatEx format;
  TFontEx font;
  ChangeCounter b(brush), p(pen), f(format), t(font);

  brush.SetColor(0xFF808080);
  pen.SetColor(0xFF000000);
  pen.SetWidth(1.0f);
  pen.SetStyle(0);
  format.SetFormatFlags(0);
  format.SetAlignment(0);
  format.SetLineAlignment(0);
  format.SetHotkeyPrefix(0);
  format.SetTrimming(1);
  font.SetName(L"Arial");
  font.SetSize(10);
  font.SetStyle(0);
  CHECK(b.count + p.count + f.count + t.count == 0);

  SUBCASE("each real change sends one notification with the tool as sender") {
    brush.SetColor(0x01020304);
    CHECK(b.count == 1);
    CHECK(b.last == &brush);
    CHECK(BrushColor(brush.Handle()) == 0x01020304);
    pen.SetColor(0xFF00FF00);
    pen.SetWidth(2.5f);
    pen.SetStyle(1);
    CHECK(p.count == 3);
    REAL width = 0;
    GdipGetPenWidth(pen.Handle(), &width);
    CHECK(width == 2.5f);
    format.SetAlignment(1);
    format.SetLineAlignment(2);
    format.SetTrimming(0);
    CHECK(f.count == 3);
    font.SetName(L"Tahoma");
    font.SetSize(12);
    font.SetStyle(1);
    CHECK(t.count == 3);
    CHECK(t.last == &font);
  }
  SUBCASE("font colour changes never notify") {
    font.SetColor(0xFF102030);
    font.SetColor(0x80102030);
    CHECK(t.count == 0);
  }
}

TEST_CASE("a missing font family falls back to the generic sans-serif family") {
  TFontEx font;
  font.SetName(L"No Such Family 4711");
  REQUIRE(font.Handle() != nullptr);
  GpFontFamily* family = nullptr;
  REQUIRE(GdipGetFamily(font.Handle(), &family) == Ok);
  WCHAR name[LF_FACESIZE] = {};
  GdipGetFamilyName(family, name, LANG_NEUTRAL);
  GdipDeleteFontFamily(family);
  WCHAR generic[LF_FACESIZE] = {};
  GdipGetFamilyName(gdiplus::GenericSansSerif(), generic, LANG_NEUTRAL);
  CHECK(std::wstring(name) == std::wstring(generic));
  // The requested size, in pixels at the font's DPI.
  REAL size = 0;
  GdipGetFontSize(font.Handle(), &size);
  CHECK(size == doctest::Approx(10.0 * 96 / 72));
  Unit unit = UnitWorld;
  GdipGetFontUnit(font.Handle(), &unit);
  CHECK(unit == UnitPixel);
  font.SetDpi(144);
  GdipGetFontSize(font.Handle(), &size);
  CHECK(size == doctest::Approx(20.0));
}

TEST_CASE("Assign copies from its own class only") {
  SUBCASE("font") {
    TFontEx source, target;
    source.SetName(L"Tahoma");
    source.SetSize(20);
    source.SetStyle(1);
    source.SetColor(0x80FF0000);
    source.Format().SetAlignment(2);
    ChangeCounter changes(target);
    target.Assign(source);
    CHECK(target.Name() == L"Tahoma");
    CHECK(target.Size() == 20);
    CHECK(target.Style() == 1);
    CHECK(target.Color() == 0x80FF0000);
    CHECK(BrushColor(target.Brush()) == 0x80FF0000);
    CHECK(target.Format().Alignment() == 2);
    CHECK(changes.count == 1);
    TPenEx pen;
    target.Assign(pen);  // ignored
    CHECK(target.Size() == 20);
    CHECK(changes.count == 1);
  }
  SUBCASE("pen, brush and string format") {
    TPenEx pen, penCopy;
    pen.SetColor(0x40000000);
    pen.SetWidth(3.0f);
    pen.SetStyle(2);
    penCopy.Assign(pen);
    CHECK(penCopy.Color() == 0x40000000);
    CHECK(penCopy.Width() == 3.0f);
    CHECK(penCopy.Style() == 2);
    ARGB color = 0;
    GdipGetPenColor(penCopy.Handle(), &color);
    CHECK(color == 0x40000000);

    TSolidBrushEx brush(0x11223344), brushCopy;
    brushCopy.Assign(brush);
    CHECK(brushCopy.Color() == 0x11223344);
    CHECK(BrushColor(brushCopy.Handle()) == 0x11223344);
    brushCopy.Assign(pen);
    CHECK(brushCopy.Color() == 0x11223344);

    TStringFormatEx format, formatCopy;
    format.SetFormatFlags(0x1000);
    format.SetAlignment(1);
    format.SetHotkeyPrefix(2);
    format.SetLineAlignment(1);
    format.SetTrimming(0);
    ChangeCounter changes(formatCopy);
    formatCopy.Assign(format);
    CHECK(formatCopy.FormatFlags() == 0x1000);
    CHECK(formatCopy.Alignment() == 1);
    CHECK(formatCopy.HotkeyPrefix() == 2);
    CHECK(formatCopy.LineAlignment() == 1);
    CHECK(formatCopy.Trimming() == 0);
    CHECK(changes.count == 5);  // one per setter that changed
    StringAlignment align = StringAlignmentNear;
    GdipGetStringFormatLineAlign(formatCopy.Handle(), &align);
    CHECK(align == StringAlignmentCenter);
  }
}
