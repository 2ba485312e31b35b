// A layered window with solid-colour children, for the composition tests.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/GdiPlus.h"
#include "framework/WindowEx.h"

// A child that paints itself one solid colour and counts its paints.
class Solid : public TControlEx {
 public:
  explicit Solid(std::uint32_t color) : color_(color) {}
  int paints = 0;
  void Paint() override {
    TControlEx::Paint();
    ++paints;
    auto bitmap = TBitmapEx::CreateSized(Width(), Height());
    auto* px = reinterpret_cast<std::uint32_t*>(bitmap->Data());
    for (int i = 0; i < Width() * Height(); ++i) px[i] = color_;
    bitmap->MarkDirty();
    Canvas().Draw(*bitmap, 0, 0);
  }

 private:
  std::uint32_t color_;
};

struct Fixture {
  gdiplus::TGdiPlusSession gdip;
  TWindowEx window;
  Fixture() {
    window.SetSize(60, 40);
    window.HandleNeeded();
  }
  std::uint32_t Pixel(int x, int y) { return window.Canvas().Bitmap().Pixel(x, y); }
};

inline void Place(TControlEx& c, TControl& parent, int x, int y, int w, int h) {
  c.SetParent(&parent);
  c.SetLeft(x);
  c.SetTop(y);
  c.SetSize(w, h);
  c.Show();
}

