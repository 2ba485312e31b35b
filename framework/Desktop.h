// The desktop object of the process: holds the screen device context for
// its whole life and reports the work area (the screen without the taskbar),
// which places the main window and snaps it to the edges.
#pragma once

#include <windows.h>

#include <string>

#include "framework/UniqueHandle.h"

struct ScreenDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::ReleaseDC(nullptr, h); }
};
using UniqueScreenDc = UniqueHandle<ScreenDcTraits>;

class TDesktop {
 public:
  TDesktop();
  TDesktop(const TDesktop&) = delete;
  TDesktop& operator=(const TDesktop&) = delete;

  // Component name, "ManagerDesktop".
  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& value) { name_ = value; }

  // The screen DC (GetDC(0)); 0 when the system gave none.
  HDC DC() const { return dc_.Get(); }
  // The work area in screen coordinates. When the system cannot say, the
  // whole primary screen, and false.
  bool GetWorkArea(RECT& r) const;
  RECT WorkArea() const;

 private:
  std::wstring name_ = L"ManagerDesktop";
  UniqueScreenDc dc_;
};
