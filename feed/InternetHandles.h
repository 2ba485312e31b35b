// Owner of one WinInet handle (root, connection or request).
#pragma once

#include <windows.h>
#include <wininet.h>

#include "framework/UniqueHandle.h"

struct InternetHandleTraits {
  using Handle = HINTERNET;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::InternetCloseHandle(h); }
};
using UniqueInternetHandle = UniqueHandle<InternetHandleTraits>;
