// Owners for GDI+ flat-API objects: one owner each, copying does not compile.
#pragma once

#include <windows.h>
// gdiplus.h needs min/max and the COM declarations of objidl.h.
#include <algorithm>
using std::max;
using std::min;
#include <objidl.h>
#include <gdiplus.h>

#include "framework/UniqueHandle.h"

namespace gdip {
using namespace Gdiplus;
using namespace Gdiplus::DllExports;
}  // namespace gdip

template <typename T, Gdiplus::GpStatus (WINGDIPAPI* Delete)(T*)>
struct GdipTraits {
  using Handle = T*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { Delete(h); }
};

using UniqueGdipGraphics = UniqueHandle<GdipTraits<Gdiplus::GpGraphics, Gdiplus::DllExports::GdipDeleteGraphics>>;
using UniqueGdipImage = UniqueHandle<GdipTraits<Gdiplus::GpImage, Gdiplus::DllExports::GdipDisposeImage>>;
using UniqueGdipFont = UniqueHandle<GdipTraits<Gdiplus::GpFont, Gdiplus::DllExports::GdipDeleteFont>>;
using UniqueGdipFontFamily =
    UniqueHandle<GdipTraits<Gdiplus::GpFontFamily, Gdiplus::DllExports::GdipDeleteFontFamily>>;
using UniqueGdipBrush = UniqueHandle<GdipTraits<Gdiplus::GpBrush, Gdiplus::DllExports::GdipDeleteBrush>>;
using UniqueGdipPen = UniqueHandle<GdipTraits<Gdiplus::GpPen, Gdiplus::DllExports::GdipDeletePen>>;
using UniqueGdipImageAttributes =
    UniqueHandle<GdipTraits<Gdiplus::GpImageAttributes, Gdiplus::DllExports::GdipDisposeImageAttributes>>;
using UniqueGdipStringFormat =
    UniqueHandle<GdipTraits<Gdiplus::GpStringFormat, Gdiplus::DllExports::GdipDeleteStringFormat>>;
