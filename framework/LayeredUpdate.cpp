#include "framework/LayeredUpdate.h"

namespace {

using TIndirect = BOOL(WINAPI*)(HWND, const UPDATELAYEREDWINDOWINFO*);

TIndirect Indirect() {
  static const TIndirect found = [] {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return TIndirect{nullptr};
    return reinterpret_cast<TIndirect>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "UpdateLayeredWindowIndirect")));
  }();
  return found;
}

}  // namespace

bool LayeredDirtySupported() { return Indirect() != nullptr; }

BOOL WINAPI UpdateLayeredDirty(HWND window, const UPDATELAYEREDWINDOWINFO* info) {
  if (TIndirect indirect = Indirect()) return indirect(window, info);
  // The older call takes non-const pointers but writes through none of them.
  return ::UpdateLayeredWindow(window, info->hdcDst, const_cast<POINT*>(info->pptDst),
                               const_cast<SIZE*>(info->psize), info->hdcSrc, const_cast<POINT*>(info->pptSrc),
                               info->crKey, const_cast<BLENDFUNCTION*>(info->pblend), info->dwFlags);
}
