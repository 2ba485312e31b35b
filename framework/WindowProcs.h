// Reading and replacing a window's procedure. The procedure travels as a
// LONG_PTR, and a cast to that would take any function: these take and give
// WNDPROC, so the compiler checks that a procedure has the system's
// signature and calling convention. In the 32-bit program a procedure of
// the wrong convention unbalances the stack on its first message; in the
// 64-bit one there is a single convention and nothing would show.
#pragma once

#include <windows.h>

inline WNDPROC WindowProcOf(HWND window) {
  return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
}

// Returns the procedure it replaced.
inline WNDPROC SetWindowProc(HWND window, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}
