// Skin images are PNG resources of the program itself, drawn for five
// display scales: 96 DPI at their own numbers, and 120, 144, 168 and 192 DPI
// at the number plus 100, 200, 300 and 400.
#pragma once

#include <memory>

#include "framework/BitmapEx.h"
#include "framework/Scale.h"
#include "widgets/FacePalette.h"

// Decodes PNG resource Id of the running program. A resource that is missing
// or does not decode gives null: a widget without its picture paints nothing,
// which is better than a face that cannot be built at all.
std::unique_ptr<TBitmapEx> LoadSkinImage(int id);

// The look LoadSkinImage(id, scale) hands pictures out in: the light
// artwork; the dark artwork (the same numbers plus 1000) where one is
// drawn, the light one elsewhere; or, for high contrast, plain pictures in
// `colors` (PlainSkin.h). The window sets it before it loads its pictures
// again.
void SetSkinLook(TLook look, const TSystemColors& colors = {});
TLook SkinLook();

// Skin image Id for a display scale: the one drawn for it where there is one;
// between the drawn scales, the next larger one scaled down (above the
// largest, that one scaled up) to the scaled size of the 96-DPI image. A
// strip of `frames` frames, top to bottom, is scaled frame by frame, so every frame
// has the scaled frame size.
std::unique_ptr<TBitmapEx> LoadSkinImage(int id, const TScale& scale, int frames = 1);

// The resource number of image Id drawn for `dpi`, or 0 when no set is drawn
// for it.
int SkinImageId(int id, int dpi);

// source resampled to width x height with a high-quality filter; edges keep
// their own colour instead of fading into the transparent outside.
std::unique_ptr<TBitmapEx> ResampledImage(const TBitmapEx& source, int width, int height);
