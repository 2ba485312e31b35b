#include <doctest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "framework/GdiTools.h"

namespace {

struct ChangeCounter {
  int count = 0;
  void Attach(TGraphicObject& tool) {
    tool.OnChange = [this](TGraphicObject*) { ++count; };
  }
};

LOGFONTW FontInfo(HFONT font) {
  LOGFONTW info = {};
  ::GetObjectW(font, sizeof info, &info);
  return info;
}

// A 1x1 memory DC that owns its bitmap.
struct MemoryDc {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(::GetDC(nullptr), 1, 1);
  HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
  ~MemoryDc() {
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
  }
};

}  // namespace

TEST_CASE("tool setters act only on a different value, and then make a new object") {
  struct Row {
    const char* what;
    std::function<void(TPen&, int)> set;
  };
  const Row rows[] = {
      {"colour", [](TPen& p, int v) { p.SetColor(v); }},
      {"width", [](TPen& p, int v) { p.SetWidth(v); }},
      {"style", [](TPen& p, int v) { p.SetStyle(v == 0 ? PS_SOLID : PS_DASH); }},
  };
  for (const Row& row : rows) {
    CAPTURE(row.what);
    TPen pen;
    ChangeCounter changes;
    changes.Attach(pen);
    CHECK(pen.Handle() == nullptr);  // no pen until a property changes
    row.set(pen, 0);                 // the default value
    CHECK(changes.count == 0);
    CHECK(pen.Handle() == nullptr);
    row.set(pen, 3);
    CHECK(changes.count == 1);
    HPEN first = pen.Handle();
    REQUIRE(first != nullptr);
    CHECK(::GetObjectType(first) == OBJ_PEN);
    row.set(pen, 3);
    CHECK(changes.count == 1);
    row.set(pen, 0);
    CHECK(changes.count == 2);
    CHECK(pen.Handle() != nullptr);
    // The replaced pen was deleted.
    CHECK(::GetObjectType(first) == 0);
  }
}

TEST_CASE("system colours resolve through GetSysColor") {
  CHECK(ColorToRGB(0x00123456) == 0x00123456u);
  CHECK(ColorToRGB(SystemColor(COLOR_WINDOW)) == ::GetSysColor(COLOR_WINDOW));
  CHECK(ColorToRGB(SystemColor(COLOR_BTNFACE)) == ::GetSysColor(COLOR_BTNFACE));

  TPen pen;
  pen.SetColor(SystemColor(COLOR_WINDOWTEXT));
  LOGPEN info = {};
  REQUIRE(::GetObjectW(pen.Handle(), sizeof info, &info) != 0);
  CHECK(info.lopnColor == ::GetSysColor(COLOR_WINDOWTEXT));
}

TEST_CASE("a brush is solid until a hatch style is set") {
  TSolidBrush brush;
  CHECK(brush.Color() == -1);
  CHECK(brush.Handle() == nullptr);
  brush.SetColor(0x0000FF);
  LOGBRUSH info = {};
  REQUIRE(::GetObjectW(brush.Handle(), sizeof info, &info) != 0);
  CHECK(info.lbStyle == BS_SOLID);
  CHECK(info.lbColor == 0x0000FFu);

  // HS_HORIZONTAL is 0, the default value: setting it still hatches.
  ChangeCounter changes;
  changes.Attach(brush);
  brush.SetStyle(HS_HORIZONTAL);
  CHECK(changes.count == 1);
  REQUIRE(::GetObjectW(brush.Handle(), sizeof info, &info) != 0);
  CHECK(info.lbStyle == BS_HATCHED);
  CHECK(info.lbHatch == HS_HORIZONTAL);
  brush.SetStyle(HS_HORIZONTAL);
  CHECK(changes.count == 1);
  brush.SetColor(0x00FF00);  // stays hatched
  REQUIRE(::GetObjectW(brush.Handle(), sizeof info, &info) != 0);
  CHECK(info.lbStyle == BS_HATCHED);
  CHECK(info.lbColor == 0x00FF00u);
}

TEST_CASE("adopting a handle deletes the old object, never the adopted one") {
  TSolidBrush brush;
  brush.SetColor(0x112233);
  HBRUSH old = brush.Handle();
  HBRUSH adopted = ::CreateSolidBrush(0x445566);
  ChangeCounter changes;
  changes.Attach(brush);
  brush.SetHandle(adopted);
  CHECK(changes.count == 1);
  CHECK(::GetObjectType(old) == 0);
  brush.SetHandle(adopted);  // the same handle again: kept alive
  CHECK(changes.count == 1);
  CHECK(::GetObjectType(adopted) == OBJ_BRUSH);
}

TEST_CASE("a font is the message font with size, face, style and the Turkish character set") {
  TFont font;
  CHECK(font.Size() == 8);
  CHECK(font.Name() == L"Tahoma");
  LOGFONTW info = FontInfo(font.Handle());
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  CHECK(info.lfHeight == -::MulDiv(dpi, 8, 72));
  CHECK(info.lfCharSet == TURKISH_CHARSET);
  CHECK(std::wstring(info.lfFaceName) == L"Tahoma");
  CHECK(info.lfWeight == FW_NORMAL);

  ChangeCounter changes;
  changes.Attach(font);
  font.SetStyle(fsBold | fsItalic | fsUnderline | fsStrikeOut);
  font.SetSize(12);
  info = FontInfo(font.Handle());
  CHECK(changes.count == 2);
  CHECK(info.lfWeight == FW_BOLD);
  CHECK(info.lfItalic);
  CHECK(info.lfUnderline);
  CHECK(info.lfStrikeOut);
  CHECK(info.lfHeight == -::MulDiv(dpi, 12, 72));

  // A face name longer than the field is cut, not overrun.
  font.SetName(std::wstring(40, L'x'));
  info = FontInfo(font.Handle());
  CHECK(std::wstring(info.lfFaceName) == std::wstring(LF_FACESIZE - 1, L'x'));

  // The colour is the canvas's business: the font object stays.
  HFONT before = font.Handle();
  font.SetColor(0x0000FF);
  font.SetColor(0x0000FF);
  CHECK(changes.count == 4);
  CHECK(font.Handle() == before);
}

TEST_CASE("Assign copies from a tool of the same class only") {
  TFont source;
  source.SetName(L"Courier New");
  source.SetSize(14);
  source.SetStyle(fsBold);
  source.SetColor(0x123456);
  TFont target;
  ChangeCounter changes;
  changes.Attach(target);
  target.Assign(source);
  CHECK(changes.count == 1);
  CHECK(target.Name() == L"Courier New");
  CHECK(target.Size() == 14);
  CHECK(target.Style() == fsBold);
  CHECK(target.Color() == 0x123456);
  CHECK(target.Handle() != source.Handle());

  TSolidBrush brush;
  target.Assign(brush);  // another class: ignored
  target.Assign(target);  // itself: ignored
  CHECK(changes.count == 1);

  TSolidBrush brushSource(0x00AA00);
  brushSource.SetStyle(HS_CROSS);
  brush.Assign(brushSource);
  LOGBRUSH info = {};
  REQUIRE(::GetObjectW(brush.Handle(), sizeof info, &info) != 0);
  CHECK(info.lbStyle == BS_HATCHED);
  CHECK(info.lbHatch == HS_CROSS);

  // A pen has no Assign of its own.
  TPen penSource, pen;
  penSource.SetWidth(4);
  pen.Assign(penSource);
  CHECK(pen.Width() == 0);
}

TEST_CASE("a canvas selects its tools into its DC and gives the DC back its own") {
  MemoryDc memory;
  HGDIOBJ originalFont = ::GetCurrentObject(memory.dc, OBJ_FONT);
  HGDIOBJ originalBrush = ::GetCurrentObject(memory.dc, OBJ_BRUSH);
  HGDIOBJ originalPen = ::GetCurrentObject(memory.dc, OBJ_PEN);

  TCanvas canvas;
  CHECK(canvas.Brush().Color() == SystemColor(COLOR_WINDOW));
  int changes = 0;
  canvas.OnChange = [&](TCanvas*) { ++changes; };

  canvas.Pen().SetWidth(2);  // no DC: nothing selected, the canvas still changes
  CHECK(changes == 1);
  CHECK(::GetCurrentObject(memory.dc, OBJ_PEN) == originalPen);

  canvas.SetHandle(memory.dc);
  canvas.Font().SetColor(0x0000FF);
  canvas.Font().SetSize(10);
  canvas.Brush().SetColor(0x00FF00);
  canvas.Pen().SetColor(0xFF0000);
  CHECK(changes == 5);
  CHECK(::GetCurrentObject(memory.dc, OBJ_FONT) == canvas.Font().Handle());
  CHECK(::GetTextColor(memory.dc) == 0x0000FFu);
  CHECK(::GetCurrentObject(memory.dc, OBJ_BRUSH) == canvas.Brush().Handle());
  CHECK(::GetCurrentObject(memory.dc, OBJ_PEN) == canvas.Pen().Handle());

  // A tool replaced while selected: the DC moves to the new object first.
  HBRUSH before = canvas.Brush().Handle();
  canvas.Brush().SetColor(0x00FFFF);
  CHECK(::GetObjectType(before) == 0);
  CHECK(::GetCurrentObject(memory.dc, OBJ_BRUSH) == canvas.Brush().Handle());

  canvas.SetHandle(nullptr);
  CHECK(::GetCurrentObject(memory.dc, OBJ_FONT) == originalFont);
  CHECK(::GetCurrentObject(memory.dc, OBJ_BRUSH) == originalBrush);
  CHECK(::GetCurrentObject(memory.dc, OBJ_PEN) == originalPen);
}
