// Owners for the kernel and user handles used across the program.
#pragma once

#include <windows.h>

#include "framework/UniqueHandle.h"

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// CreateFile reports failure as INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::RegCloseKey(h); }
};
using UniqueRegKey = UniqueHandle<RegKeyTraits>;

struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DestroyMenu(h); }
};
using UniqueMenu = UniqueHandle<MenuTraits>;

// One type for both kinds of icon: an icon we made or copied is ours to
// destroy; a shared icon (LoadIcon, LoadImage with LR_SHARED) belongs to the
// system and must never be destroyed, only borrowed.
template <bool Owned>
struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) {
    if (Owned) ::DestroyIcon(h);
  }
};
using UniqueIcon = UniqueHandle<IconTraits<true>>;
using SharedIcon = UniqueHandle<IconTraits<false>>;

struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DeleteObject(h); }
};
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;

struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::FreeLibrary(h); }
};
using UniqueModule = UniqueHandle<ModuleTraits>;
