#include "framework/WindowEx.h"

#include <cstring>

TWindowEx::TWindowEx() : TControl(L"TWindowEx") {
  SetSize(320, 240);
  Cached = false;
}

TWindowEx::~TWindowEx() {
  if (dc_ && oldBitmap_) ::SelectObject(dc_.Get(), oldBitmap_);
}

void TWindowEx::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  // No caption, no border, no taskbar button.
  params.Style = WS_POPUP | WS_CLIPSIBLINGS | (Enabled() ? 0 : WS_DISABLED);
  params.ExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | (alwaysTop_ ? WS_EX_TOPMOST : 0);
}

void TWindowEx::SetAlwaysTop(bool value) {
  if (value == alwaysTop_) return;
  alwaysTop_ = value;
  HWND window = WindowHandle();
  if (window == nullptr) return;
  ::SetWindowPos(window, value ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(window);
  ::SetActiveWindow(window);
  Invalidate();
}

void TWindowEx::EnsureSurface() {
  if (pixels_ && surfaceWidth_ == Width() && surfaceHeight_ == Height()) return;
  if (dc_ && oldBitmap_) ::SelectObject(dc_.Get(), oldBitmap_);
  bitmap_.Reset();
  dc_.Reset(::CreateCompatibleDC(nullptr));
  pixels_ = nullptr;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = Width();
  info.bmiHeader.biHeight = -Height();  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.Reset(::CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || bits == nullptr) {
    surfaceWidth_ = surfaceHeight_ = 0;
    return;
  }
  oldBitmap_ = ::SelectObject(dc_.Get(), bitmap_.Get());
  pixels_ = static_cast<std::uint32_t*>(bits);
  surfaceWidth_ = Width();
  surfaceHeight_ = Height();
}

void TWindowEx::Render(std::uint32_t* pixels, HDC) {
  std::memset(pixels, 0, sizeof(std::uint32_t) * static_cast<size_t>(Width()) * static_cast<size_t>(Height()));
}

void TWindowEx::Paint() {
  EnsureSurface();
  if (pixels_ == nullptr) return;
  ::GdiFlush();
  Render(pixels_, dc_.Get());
  ::GdiFlush();
}

void TWindowEx::Present() {
  HWND window = WindowHandle();
  if (window == nullptr || pixels_ == nullptr) return;
  POINT destination{Left(), Top()};
  SIZE size{surfaceWidth_, surfaceHeight_};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, Opacity, AC_SRC_ALPHA};
  ::UpdateLayeredWindow(window, nullptr, &destination, &size, dc_.Get(), &source, 0, &blend, ULW_ALPHA);
}

void TWindowEx::Invalidate() {
  if (painting_ || !::IsWindow(WindowHandle())) return;
  painting_ = true;
  try {
    Paint();
    Present();
  } catch (...) {
    painting_ = false;
    throw;
  }
  painting_ = false;
}

void TWindowEx::DoClose() { ::DestroyWindow(WindowHandle()); }

void TWindowEx::WMTimer(TMessage&) {}

void TWindowEx::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_CREATE:
      WMCreate(message);
      AfterCreate();
      break;
    case WM_DESTROY: WMDestroy(message); break;
    case WM_CLOSE: DoClose(); break;
    case WM_MOUSEACTIVATE: message.Result = MA_ACTIVATE; break;
    case WM_TIMER: WMTimer(message); break;
    default: TControl::Dispatch(message); break;
  }
}
