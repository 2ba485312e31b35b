#include "widgets/SkinResource.h"

#include <windows.h>

#include "framework/Streams.h"

std::unique_ptr<TBitmapEx> LoadSkinImage(int id) {
  std::unique_ptr<TBitmapEx> image;
  try {
    image = TBitmapEx::CreateFromResource(::GetModuleHandleW(nullptr), id, L"PNG");
  } catch (const EResNotFound&) {
    return nullptr;
  }
  if (!image || image->Empty()) return nullptr;
  return image;
}
