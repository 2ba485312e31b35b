#include "framework/GdiPlus.h"

namespace gdiplus {
namespace {

struct State {
  ULONG_PTR token = 0;
  bool running = false;
  UniqueGdipFontFamily sansSerif;
  bool sansSerifFetched = false;
  UniqueGdipStringFormat typographic;

  // A program that never calls Shutdown itself still frees the cached
  // objects before GDI+ goes away.
  ~State() { Shutdown(); }
};

State& TheState() {
  static State state;
  return state;
}

}  // namespace

void Startup() {
  State& s = TheState();
  if (s.running) return;
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, no suppression
  if (Gdiplus::GdiplusStartup(&s.token, &input, nullptr) == Gdiplus::Ok) s.running = true;
}

void Shutdown() {
  State& s = TheState();
  if (!s.running) return;
  s.sansSerif.Reset();
  s.sansSerifFetched = false;
  s.typographic.Reset();
  Gdiplus::GdiplusShutdown(s.token);
  s.running = false;
}

bool Running() { return TheState().running; }

Gdiplus::GpFontFamily* GenericSansSerif() {
  Startup();
  State& s = TheState();
  // A failed fetch (no sans-serif font installed) is not retried for every
  // font that falls back.
  if (!s.sansSerifFetched && s.running) {
    Gdiplus::GpFontFamily* family = nullptr;
    if (gdip::GdipGetGenericFontFamilySansSerif(&family) == Gdiplus::Ok) s.sansSerif.Reset(family);
    s.sansSerifFetched = true;
  }
  return s.sansSerif.Get();
}

Gdiplus::GpStringFormat* GenericTypographic() {
  Startup();
  State& s = TheState();
  if (!s.typographic && s.running) {
    Gdiplus::GpStringFormat* format = nullptr;
    if (gdip::GdipStringFormatGetGenericTypographic(&format) == Gdiplus::Ok) s.typographic.Reset(format);
  }
  return s.typographic.Get();
}

}  // namespace gdiplus
