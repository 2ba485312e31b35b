// The skin's pictures for high contrast: no artwork behind text, nothing
// translucent, every surface in the system's colours and every edge a line
// of one pixel in its text colour. Drawn at the asked scale, in the sizes
// the artwork has there, so the face lays out the same.
#pragma once

#include <memory>

#include "framework/BitmapEx.h"
#include "framework/Scale.h"
#include "widgets/FacePalette.h"

// The plain picture standing for skin image `id` (a number of the 96-DPI
// set), or null for a picture that stays as drawn (the about panel's
// emblem). `light` is the light artwork of the same image, for the busy
// indicator's frames, which are recoloured.
std::unique_ptr<TBitmapEx> PlainSkinImage(int id, const TScale& scale, const TSystemColors& colors,
                                          const TBitmapEx* light);
