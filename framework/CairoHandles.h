// Owners for cairo objects: one owner each, copying does not compile.
#pragma once

#include <cairo-win32.h>
#include <cairo.h>

#include "framework/UniqueHandle.h"

struct CairoContextTraits {
  using Handle = cairo_t*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { cairo_destroy(h); }
};
using UniqueCairoContext = UniqueHandle<CairoContextTraits>;

struct CairoSurfaceTraits {
  using Handle = cairo_surface_t*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { cairo_surface_destroy(h); }
};
using UniqueCairoSurface = UniqueHandle<CairoSurfaceTraits>;

struct CairoPatternTraits {
  using Handle = cairo_pattern_t*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { cairo_pattern_destroy(h); }
};
using UniqueCairoPattern = UniqueHandle<CairoPatternTraits>;
