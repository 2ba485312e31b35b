// A DLL as an attacker would plant it beside the program, under the name of
// a system DLL (the test copies it as winmm.dll and as msimg32.dll). Loaded,
// it leaves "<its own path>.loaded" behind. Its exports are the functions a
// program may take from those two, so that a static import of it resolves
// and its DllMain does run.
// Its own declarations of the GDI functions it stands in for.
#define NOGDI
#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t path[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(self, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
      std::wstring marker = std::wstring(path, n) + L".loaded";
      HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    }
  }
  return TRUE;
}

// winmm
extern "C" __declspec(dllexport) UINT WINAPI timeGetDevCaps(void*, UINT) { return 97; }
extern "C" __declspec(dllexport) UINT WINAPI timeBeginPeriod(UINT) { return 97; }
extern "C" __declspec(dllexport) UINT WINAPI timeEndPeriod(UINT) { return 97; }
extern "C" __declspec(dllexport) DWORD WINAPI timeGetTime() { return ::GetTickCount(); }
// msimg32
extern "C" __declspec(dllexport) BOOL WINAPI AlphaBlend(HDC, int, int, int, int, HDC, int, int, int, int, DWORD) {
  return FALSE;
}
extern "C" __declspec(dllexport) BOOL WINAPI TransparentBlt(HDC, int, int, int, int, HDC, int, int, int, int, UINT) {
  return FALSE;
}
extern "C" __declspec(dllexport) BOOL WINAPI GradientFill(HDC, void*, ULONG, void*, ULONG, ULONG) { return FALSE; }
