// Skin images are PNG resources of the program itself.
#pragma once

#include <memory>

#include "framework/BitmapEx.h"

// Decodes PNG resource Id of the running program. A resource that is missing
// or does not decode gives null: a widget without its picture paints nothing,
// which is better than a face that cannot be built at all.
std::unique_ptr<TBitmapEx> LoadSkinImage(int id);
