#include "widgets/PlainSkin.h"

#include <algorithm>

#include "framework/CanvasEx.h"

namespace {

// Lines of `px` pixels along the inside of `r`.
void Border(TCanvasEx& c, const RECT& r, TArgb color, int px) {
  c.Brush().SetColor(color);
  c.FillRect(RECT{r.left, r.top, r.right, r.top + px});
  c.FillRect(RECT{r.left, r.bottom - px, r.right, r.bottom});
  c.FillRect(RECT{r.left, r.top, r.left + px, r.bottom});
  c.FillRect(RECT{r.right - px, r.top, r.right, r.bottom});
}

void Fill(TCanvasEx& c, const RECT& r, TArgb color) {
  c.Brush().SetColor(color);
  c.FillRect(r);
}

// A cross or three bars, centred, reaching `half` 96-DPI pixels each way.
void Cross(TCanvasEx& c, const TScale& s, int w, int h, TArgb color, int half) {
  c.SetSmoothingMode(4);  // anti-aliased
  c.Pen().SetColor(color);
  c.Pen().SetWidth(static_cast<float>(s.Px(2)));
  const int cx = w / 2, cy = h / 2, d = s.Px(half);
  c.DrawLine(cx - d, cy - d, cx + d, cy + d);
  c.DrawLine(cx - d, cy + d, cx + d, cy - d);
}

void Bars(TCanvasEx& c, const TScale& s, int w, int h, TArgb color) {
  const int x0 = w / 2 - s.Px(5), x1 = w / 2 + s.Px(5), t = std::max(1, s.Px(2));
  for (int k = -1; k <= 1; ++k) {
    const int y = h / 2 + k * s.Px(4) - t / 2;
    Fill(c, RECT{x0, y, x1, y + t}, color);
  }
}

// A square button: the face's colour, a frame, and its mark.
void Button(TCanvasEx& c, int w, int h, const TSystemColors& k, const TScale& s) {
  Fill(c, RECT{0, 0, w, h}, k.BtnFace);
  Border(c, RECT{0, 0, w, h}, k.BtnText, s.Px(1));
}

std::unique_ptr<TBitmapEx> Picture(TCanvasEx& c) { return TBitmapEx::CreateCopy(c.Bitmap()); }

}  // namespace

std::unique_ptr<TBitmapEx> PlainSkinImage(int id, const TScale& s, const TSystemColors& k, const TBitmapEx* light) {
  struct TSize {
    int Id, W, H;
  };
  static constexpr TSize Sizes[] = {{5000, 20, 213}, {5001, 18, 70},  {5002, 475, 350}, {5004, 136, 34},
                                    {5005, 385, 211}, {5006, 12, 12}, {5007, 20, 20},   {5008, 20, 20},
                                    {5009, 342, 224}, {5011, 21, 21}, {5012, 20, 20},   {5013, 20, 20}};
  if (id == 5003) {
    // The busy indicator: white dots, shown in the frame's text colour.
    if (!light) return nullptr;
    auto strip = TBitmapEx::CreateCopy(*light);
    strip->Tint(k.BtnText);
    return strip;
  }
  const TSize* size = nullptr;
  for (const TSize& z : Sizes)
    if (z.Id == id) size = &z;
  if (!size) return nullptr;
  const int w = s.Px(size->W), h = s.Px(size->H), one = s.Px(1);
  TCanvasEx c(w, h);
  switch (id) {
    case 5002: {
      // The frame, and the list's area (the list and its scroller, 30,75
      // 415 x 213) in the window's colours with a line around it.
      Fill(c, RECT{0, 0, w, h}, k.BtnFace);
      Border(c, RECT{0, 0, w, h}, k.BtnText, one);
      const RECT list{s.Px(30) - one, s.Px(75) - one, s.Px(445) + one, s.Px(288) + one};
      Fill(c, list, k.Window);
      Border(c, list, k.WindowText, one);
      Fill(c, RECT{s.Px(24), s.Px(297), w - s.Px(24), s.Px(297) + one}, k.BtnText);
      Fill(c, RECT{s.Px(20), s.Px(63), w - s.Px(20), s.Px(63) + one}, k.BtnText);
      break;
    }
    case 5000:
      Fill(c, RECT{0, 0, w, h}, k.Window);
      Fill(c, RECT{0, 0, one, h}, k.WindowText);
      break;
    case 5001:
      Fill(c, RECT{s.Px(4), s.Px(1), w - s.Px(4), h - s.Px(1)}, k.WindowText);
      break;
    case 5004: {
      c.Font().SetName(L"Trebuchet MS");
      c.Font().SetDpi(s.Dpi());
      c.Font().SetSize(16);
      c.Font().SetStyle(1);
      c.Font().SetColor(k.BtnText);
      c.StringFormat().SetLineAlignment(1);
      c.SetAntialias(true);
      c.DrawText(RECT{0, 0, w, h}, L"Kavrelo");
      break;
    }
    case 5005:
    case 5009:
      Fill(c, RECT{0, 0, w, h}, k.BtnFace);
      Border(c, RECT{0, 0, w, h}, k.BtnText, one);
      break;
    case 5006: Cross(c, s, w, h, k.BtnText, 4); break;
    case 5007:
    case 5008: {
      const RECT box{s.Px(2), s.Px(2), w - s.Px(2), h - s.Px(2)};
      Fill(c, box, id == 5008 ? k.Highlight : k.Window);
      Border(c, box, id == 5008 ? k.HighlightText : k.WindowText, one);
      if (id == 5008) {
        c.SetSmoothingMode(4);
        c.Pen().SetColor(k.HighlightText);
        c.Pen().SetWidth(static_cast<float>(s.Px(2)));
        c.DrawLine(s.Px(6), s.Px(10), s.Px(9), s.Px(13));
        c.DrawLine(s.Px(9), s.Px(13), s.Px(14), s.Px(7));
      }
      break;
    }
    case 5011:
    case 5012:
      Button(c, w, h, k, s);
      Cross(c, s, w, h, k.BtnText, 4);
      break;
    case 5013:
      Button(c, w, h, k, s);
      Bars(c, s, w, h, k.BtnText);
      break;
    default: return nullptr;
  }
  return Picture(c);
}
