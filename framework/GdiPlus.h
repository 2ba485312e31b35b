// GDI+ for the whole process: started once before the first drawing tool is
// made, shut down at process end after the cached generic objects are freed.
#pragma once

#include "framework/GdipHandles.h"

namespace gdiplus {

// Starts GDI+ when it is not running yet. Every tool calls it, so the first
// one made starts the library; later calls cost a flag test.
void Startup();
// Frees the cached generic family and typographic format, then shuts GDI+
// down. Safe to call when GDI+ is not running; Startup may follow again.
void Shutdown();
bool Running();

// The platform's generic sans-serif family, fetched once and kept. May be
// null when the system has no sans-serif font at all.
Gdiplus::GpFontFamily* GenericSansSerif();
// The generic typographic string format, fetched once and kept.
Gdiplus::GpStringFormat* GenericTypographic();

// Holds GDI+ for a scope (the program's main block, a test run).
class TGdiPlusSession {
 public:
  TGdiPlusSession() { Startup(); }
  ~TGdiPlusSession() { Shutdown(); }
  TGdiPlusSession(const TGdiPlusSession&) = delete;
  TGdiPlusSession& operator=(const TGdiPlusSession&) = delete;
};

}  // namespace gdiplus
