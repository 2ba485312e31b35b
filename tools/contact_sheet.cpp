// Draws every skin image of the program onto one canvas and saves it as a
// PNG: the composed ticker face, the two panels, and each resource on its own
// with its id and size. Loads the images through the program's own loader.
//
//   contact_sheet.exe [output.png]      (default: out/contact-sheet.png)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/CanvasEx.h"
#include "framework/GdiPlus.h"
#include "framework/Streams.h"

using namespace gdip;

namespace {

constexpr int SheetWidth = 1320;
constexpr int SheetHeight = 1150;

std::unique_ptr<TBitmapEx> Load(int id) { return TBitmapEx::CreateFromResource(GetModuleHandleW(nullptr), id, L"PNG"); }

std::wstring String(UINT id) {
  wchar_t buffer[2048] = {};
  int n = LoadStringW(GetModuleHandleW(nullptr), id, buffer, 2048);
  return std::wstring(buffer, n > 0 ? n : 0);
}

// A light checkerboard shows which pixels are transparent.
void Checkerboard(TCanvasEx& canvas) {
  TCanvasEx painter(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      std::uint32_t value = ((x < 8) == (y < 8)) ? 0xFFE8E8E8 : 0xFFCFCFCF;
      std::memcpy(painter.Bitmap().Data() + y * painter.Bitmap().Stride() + x * 4, &value, 4);
    }
  cairo_surface_mark_dirty(painter.Bitmap().Image());
  canvas.TileRect(painter.Bitmap(), 0, 0, canvas.Width(), canvas.Height());
}

void Label(TCanvasEx& canvas, int x, int y, int width, const std::wstring& text, bool bold = false) {
  canvas.Font().SetStyle(bold ? 1 : 0);
  canvas.Font().SetColor(0xFF202020);
  canvas.DrawText(RECT{x, y, x + width, y + 18}, text);
}

// The main face as the program composes it: background, logo, buttons,
// scroller and the first busy frame, with a few sample headlines.
void Face(TCanvasEx& sheet, int left, int top) {
  TCanvasEx face(475, 350);
  face.Draw(*Load(5002), 0, 0);
  face.Draw(*Load(5004), 20, 22);
  face.Draw(*Load(5012), 426, 25);
  face.Draw(*Load(5013), 401, 25);
  face.Draw(*Load(5000), 30 + 395, 75);
  face.Draw(*Load(5001), 30 + 396, 75);
  face.DrawPart(*Load(5003), 26, 301, 0, 0, 18, 18);
  face.Font().SetName(L"Trebuchet MS");
  face.SetAntialias(false);
  const wchar_t* titles[] = {L"Kavrelo haber listesi burada görünür", L"Başlıklar her beş dakikada yenilenir",
                             L"Bir başlığa tıklayınca haber açılır"};
  for (int i = 0; i < 3; ++i) {
    int y = 80 + i * 62;
    face.Font().SetStyle(1);
    face.Font().SetSize(10);
    face.Font().SetColor(0xFF0000A0);
    face.DrawText(RECT{36, y, 420, y + 20}, titles[i]);
    face.Font().SetStyle(0);
    face.Font().SetSize(9);
    face.Font().SetColor(0xFF303030);
    face.DrawText(RECT{36, y + 20, 420, y + 52}, L"Özet metni başlığın altında, sözcük sınırında kaydırılarak gösterilir.");
    face.Pen().SetColor(0x40000000);
    face.DrawLine(30, y + 55, 420, y + 55);
  }
  face.Font().SetSize(8);
  face.Font().SetColor(0xAFFFFFFF);
  face.DrawText(RECT{46, 301, 160, 319}, String(301));
  face.StringFormat().SetAlignment(2);
  face.DrawText(RECT{300, 300, 455, 318}, L"kavrelo.example");
  sheet.Draw(face.Bitmap(), left, top);
}

void OptionsPanel(TCanvasEx& sheet, int left, int top) {
  auto options = Load(5005);
  // The program darkens the sheet a little the same way.
  options->Fade(240);
  options->Tint(0xFFF0F0F0);
  TCanvasEx panel(385, 183);
  panel.Draw(*options, 0, 0);
  panel.Font().SetName(L"Trebuchet MS");
  panel.Font().SetSize(9);
  panel.Font().SetColor(0xCF000000);
  panel.StringFormat().SetLineAlignment(1);
  for (int i = 0; i < 4; ++i) {
    int y = 20 + i * 28;
    panel.Draw(*Load(i % 2 ? 5007 : 5008), 40, y);
    panel.DrawText(RECT{66, y, 340, y + 20}, String(104 + i));
  }
  panel.Draw(*Load(5006), 360, 153);
  sheet.Draw(panel.Bitmap(), left, top);
}

void AboutPanel(TCanvasEx& sheet, int left, int top) {
  TCanvasEx panel(342, 224);
  panel.Draw(*Load(5009), 0, 0);
  panel.Draw(*Load(5010), 35, 35);
  panel.Draw(*Load(5011), 296, 20);
  panel.Font().SetName(L"Impact");
  panel.Font().SetSize(20);
  panel.Font().SetColor(0xFF333333);
  panel.StringFormat().SetLineAlignment(1);
  panel.DrawText(RECT{130, 45, 279, 91}, String(100));
  panel.StringFormat().SetLineAlignment(0);
  panel.Font().SetName(L"Trebuchet MS");
  panel.Font().SetSize(8);
  panel.Font().SetColor(0xFF404040);
  panel.DrawText(RECT{138, 85, 318, 155}, String(101));
  panel.Font().SetStyle(1);
  panel.Font().SetColor(0xFF4040FF);
  panel.DrawText(RECT{138, 165, 318, 190}, String(102));
  sheet.Draw(panel.Bitmap(), left, top);
}

// Each resource as it is, in id order, wrapped into rows.
void Resources(TCanvasEx& sheet, int top) {
  int x = 20, y = top, rowHeight = 0;
  for (int id = 5000; id <= 5013; ++id) {
    auto image = Load(id);
    if (x + image->Width() > SheetWidth - 20 && x > 20) {
      x = 20;
      y += rowHeight + 44;
      rowHeight = 0;
    }
    sheet.Draw(*image, x, y);
    Label(sheet, x, y + image->Height() + 4, 150, std::to_wstring(id), true);
    Label(sheet, x, y + image->Height() + 20, 150,
          std::to_wstring(image->Width()) + L" x " + std::to_wstring(image->Height()));
    x += std::max(image->Width(), 60) + 24;
    rowHeight = std::max(rowHeight, image->Height());
  }
}

bool SavePng(TBitmapEx& bitmap, const std::wstring& path) {
  // GDI+'s PNG encoder.
  const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  UniqueGdipImage image = bitmap.AsGdipBitmap();
  return image && GdipSaveImageToFile(image.Get(), path.c_str(), &png, nullptr) == Ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  gdiplus::TGdiPlusSession session;
  std::wstring path = argc > 1 ? argv[1] : L"out\\contact-sheet.png";
  size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  try {
    TCanvasEx sheet(SheetWidth, SheetHeight);
    Checkerboard(sheet);
    sheet.Font().SetName(L"Tahoma");
    sheet.Font().SetSize(10);
    Label(sheet, 20, 12, 400, L"Ticker face (composed)", true);
    Label(sheet, 520, 12, 300, L"Options panel", true);
    Label(sheet, 930, 12, 300, L"About panel", true);
    Label(sheet, 20, 410, 400, L"PNG resources", true);
    Face(sheet, 20, 36);
    OptionsPanel(sheet, 520, 36);
    AboutPanel(sheet, 930, 36);
    Resources(sheet, 436);
    if (!SavePng(sheet.Bitmap(), path)) {
      std::fprintf(stderr, "contact_sheet: could not write %ls\n", path.c_str());
      return 1;
    }
  } catch (const EResNotFound& error) {
    std::fprintf(stderr, "contact_sheet: %s\n", error.what());
    return 1;
  }
  std::printf("contact_sheet: wrote %ls\n", path.c_str());
  return 0;
}
