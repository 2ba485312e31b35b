// Canvas costs on a window-sized (475 x 350) canvas: each operation on its
// own, then the whole-window composite of the ticker's ~20 controls.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchTools.h"
#include "framework/CanvasEx.h"
#include "framework/GdiPlus.h"

namespace {

constexpr int W = 475, H = 350;

double Now() { return BenchNow(); }

// Runs Op until about 0.4 s have passed (at least 5 times) and prints the
// median and the best time of one run in microseconds.
void Measure(const char* name, const std::function<void()>& op) {
  op();  // warm-up
  std::vector<double> times;
  double start = Now();
  while (times.size() < 5 || (Now() - start < 0.4 && times.size() < 5000)) {
    double t0 = Now();
    op();
    times.push_back((Now() - t0) * 1e6);
  }
  std::sort(times.begin(), times.end());
  std::printf("| %-46s | %10.1f | %10.1f | %6zu |\n", name, times[times.size() / 2], times.front(), times.size());
}

std::unique_ptr<TBitmapEx> Load(int id) { return TBitmapEx::CreateFromResource(GetModuleHandleW(nullptr), id, L"PNG"); }

const wchar_t* const Lines =
    L"Son dakika: Kavrelo haber listesi burada görünür\r\n"
    L"Özet metni başlığın altında gösterilir\r\n"
    L"Başlıklar her beş dakikada yenilenir\r\n"
    L"Bir başlığa tıklayınca haber tarayıcıda açılır\r\n"
    L"Pencere sürüklenebilir ve kenarlara yapışır\r\n"
    L"Seçenekler panelinde dört anahtar bulunur\r\n"
    L"Simge sistem tepsisinde de görünebilir\r\n"
    L"Otomatik boyutlandırma etkinleştirilebilir\r\n"
    L"Güncelleniyor... ğüşıöç ĞÜŞİÖÇ\r\n"
    L"Bu programın ilgili kurumlarla bir ilişkisi yoktur.";

// One control of the composite: its own canvas, repainted, then drawn into
// its parent at its place.
struct Control {
  int x, y;
  std::unique_ptr<TCanvasEx> canvas;
  std::function<void(TCanvasEx&)> paint;
};

}  // namespace

int main() {
  gdiplus::TGdiPlusSession session;
  TCanvasEx canvas(W, H);
  auto background = Load(5002);
  auto strip = Load(5003);
  auto tile = Load(5007);

  std::printf("Canvas operations on a %d x %d canvas (microseconds per call, under Wine when cross-built)\n\n", W, H);
  std::printf("| %-46s | %10s | %10s | %6s |\n", "operation", "median", "best", "runs");
  std::printf("|%s|%s|%s|%s|\n", std::string(48, '-').c_str(), std::string(12, '-').c_str(),
              std::string(12, '-').c_str(), std::string(8, '-').c_str());
  // cairo skips clearing a surface it knows to be clear, so Clear is timed
  // after a Draw (onto the cleared canvas, which cairo turns into a copy).
  Measure("Draw 475 x 350 (background)", [&] { canvas.Draw(*background, 0, 0); });
  Measure("Draw onto a cleared canvas, then Clear", [&] {
    canvas.Draw(*background, 0, 0);
    canvas.Clear();
  });
  Measure("DrawAlpha 475 x 350 at 128", [&] { canvas.DrawAlpha(*background, 0, 0, 128); });
  Measure("StretchDraw 475 x 350 -> 119 x 87 (nearest)", [&] { canvas.StretchDraw(*background, 0, 0, 119, 87); });
  Measure("StretchDraw 475 x 350 -> 451 x 332 (nearest)", [&] { canvas.StretchDraw(*background, 0, 0, 451, 332); });
  canvas.SetInterpolationMode(6);
  Measure("DrawImage 475 x 350 -> 119 x 87 (GDI+, mode 6)", [&] { canvas.DrawImage(*background, 0, 0, 119, 87); });
  canvas.SetInterpolationMode(5);
  Measure("DrawPart 18 x 18 of the busy strip", [&] { canvas.DrawPart(*strip, 26, 301, 0, 90, 18, 18); });
  Measure("TileRect 475 x 350 with a 20 x 20 tile", [&] { canvas.TileRect(*tile, 0, 0, W, H); });
  canvas.Font().SetName(L"Tahoma");
  canvas.Font().SetSize(9);
  Measure("DrawText 10-line block", [&] { canvas.DrawText(RECT{0, 0, W, H}, Lines); });
  Measure("TextExtent of one line", [&] { canvas.TextExtent(L"Son dakika haberleri"); });
  Measure("TextHeight of the 10-line block", [&] { canvas.TextHeight(Lines); });
  Measure("DrawLine 390 px", [&] { canvas.DrawLine(0, 100, 390, 100); });
  auto shadow = TBitmapEx::CreateSized(200, 20);
  Measure("Blur(2) of a 200 x 20 shadow", [&] { shadow->Blur(2); });
  auto optionsSheet = Load(5005);
  Measure("Fade + Tint of the 385 x 183 options sheet", [&] {
    optionsSheet->Fade(240);
    optionsSheet->Tint(0xFFF0F0F0);
  });
  Measure("CreateFromResource 5002 (PNG decode)", [&] { Load(5002); });
  Measure("Resize 475 x 350 (new DIB and engines)", [&] { canvas.Resize(W, H); });

  // The window composite: every control repaints into its own canvas, then
  // the window canvas is cleared and gets each control drawn at its place.
  std::vector<Control> controls;
  auto add = [&](int x, int y, int w, int h, std::function<void(TCanvasEx&)> paint) {
    controls.push_back(Control{x, y, std::make_unique<TCanvasEx>(w, h), std::move(paint)});
  };
  std::vector<std::shared_ptr<TBitmapEx>> images;
  auto image = [&](int id) {
    images.push_back(std::shared_ptr<TBitmapEx>(Load(id)));
    return images.back();
  };
  auto bg = image(5002), logo = image(5004), close = image(5012), options = image(5013), track = image(5000),
       thumb = image(5001), busy = image(5003), sheet = image(5005), box0 = image(5007), box1 = image(5008),
       mark = image(5006);
  add(0, 0, W, H, [](TCanvasEx&) {});  // ScaleHost
  add(0, 0, W, H, [bg](TCanvasEx& c) { c.Draw(*bg, 0, 0); });
  add(20, 22, 136, 34, [logo](TCanvasEx& c) { c.Draw(*logo, 0, 0); });
  add(426, 25, 20, 20, [close](TCanvasEx& c) { c.Draw(*close, 0, 0); });
  add(401, 25, 20, 20, [options](TCanvasEx& c) { c.Draw(*options, 0, 0); });
  add(30, 75, 415, 213, [](TCanvasEx&) {});  // ListArea
  add(30, 75, 390, 213, [](TCanvasEx& c) {
    c.Font().SetName(L"Tahoma");
    for (int i = 0; i < 4; ++i) {
      int y = i * 55;
      c.Font().SetStyle(1);
      c.Font().SetColor(0xFF0000A0);
      c.DrawText(RECT{0, y, 390, y + 18}, L"Son dakika: başlık metni burada görünür");
      c.Font().SetStyle(0);
      c.Font().SetColor(0xFF303030);
      c.DrawText(RECT{0, y + 18, 390, y + 50}, L"Özet metni başlığın altında iki satıra\r\nkaydırılarak gösterilir.");
      c.DrawLine(0, y + 52, 390, y + 52);
    }
  });
  add(425, 75, 20, 213, [track](TCanvasEx& c) { c.Draw(*track, 0, 0); });
  add(426, 75, 18, 70, [thumb](TCanvasEx& c) { c.Draw(*thumb, 0, 0); });
  add(44, 301, 110, 18, [](TCanvasEx& c) { c.DrawText(RECT{0, 0, 110, 18}, L"Güncelleniyor..."); });
  add(370, 300, 110, 18, [](TCanvasEx& c) { c.DrawText(RECT{0, 0, 110, 18}, L"kavrelo.example"); });
  add(26, 301, 18, 18, [busy](TCanvasEx& c) { c.DrawPart(*busy, 0, 0, 0, 36, 18, 18); });
  add(35, 61, 385, 183, [](TCanvasEx&) {});  // OptionsPanel
  add(35, 61, 385, 183, [sheet](TCanvasEx& c) { c.Draw(*sheet, 0, 0); });
  for (int i = 0; i < 4; ++i)
    add(75, 81 + i * 28, 300, 20, [box0, box1, i](TCanvasEx& c) {
      c.Draw(i % 2 ? *box0 : *box1, 0, 0);
      c.DrawText(RECT{26, 0, 300, 20}, L"Pencereyi her zaman en üstte tut.");
    });
  add(395, 214, 12, 12, [mark](TCanvasEx& c) { c.Draw(*mark, 0, 0); });
  TCanvasEx window(W, H);
  Measure(("Window composite of " + std::to_string(controls.size()) + " controls").c_str(), [&] {
    window.Clear();
    for (Control& control : controls) {
      control.canvas->Clear();
      control.paint(*control.canvas);
      window.DrawAlpha(control.canvas->Bitmap(), control.x, control.y, 240);
    }
  });
  Measure("Window composite, controls cached (draw only)", [&] {
    window.Clear();
    for (Control& control : controls) window.Draw(control.canvas->Bitmap(), control.x, control.y);
  });
  return 0;
}
