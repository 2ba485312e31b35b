// Looks at the ticker from another process, as the end-to-end tests and the
// demo need:
//   winprobe info          prints "count=N visible=0|1 x=.. y=.. w=.. h=.. exstyle=0x.."
//   winprobe post MSG [W L] posts MSG (decimal) to the ticker window
//   winprobe msgbox [ID]    prints the text of the ticker's message box
//                          ("Kavrelo" caption); with ID, presses that button
//   winprobe ping MS [EVERY] sends WM_NULL every EVERY ms (default 100) for
//                          MS ms, each with a 500 ms limit, and prints
//                          "pings=N late=N max_ms=N gone=0|1": how often the
//                          window thread did not answer in time, the slowest
//                          answer, and whether the window went away
//   winprobe tray [HOST]    prints "tray=1 host=N" when the ticker's
//                          notification icon is there, "tray=0 host=N" when
//                          not; with HOST (a window handle printed earlier)
//                          asks for that window's icon even after it is gone
//   winprobe tray-click MSG posts the shell's callback for a mouse message
//                          (e.g. 517, WM_RBUTTONUP) on the icon
//   winprobe menu           prints "menu=1" while a popup menu is open
//   winprobe balloon        prints "balloon=1" and the shown balloon's title and
//                          text (UTF-8, one line each) while the shell shows
//                          a notification balloon, "balloon=0" when none
//   winprobe tips           prints "tip=TEXT" (UTF-8) for every tooltip of another
//                          process that is not a balloon: the shell's tips of
//                          its notification icons among them
//   winprobe tray-drop      removes that icon, as a dying Explorer loses it
//   winprobe hold PATH MS   opens PATH with no sharing (as a backup program
//                          may), keeps it MS ms, closes it; PATH.held exists
//                          while it is held
//   winprobe taskbar-created broadcasts "TaskbarCreated", as a new Explorer
//                          does once its taskbar is up
//   winprobe setting AREA   sends WM_SETTINGCHANGE naming AREA (e.g.
//                          ImmersiveColorSet) to every top-level window, as
//                          the shell does when a setting changes
//   winprobe syscolors I=RRGGBB...  sets system colours with SetSysColors
//                          (which tells every window itself); an index
//                          alone prints its colour as I=RRGGBB
//   winprobe animations 0|1 switches the client-area animations off or on,
//                          as the system's settings do, and tells every window
//   winprobe memory MS EVERY samples the ticker's committed private memory
//                          (what Windows counts as its private bytes; Wine
//                          leaves the counter at 0) every EVERY ms for MS ms
//                          and prints "samples=N min_kb=N max_kb=N"
// Exit code 0 when the window was found, 2 when not.
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "framework/ProcessMemory.h"
#include "framework/WinHandles.h"
#include "tools/TickerWindows.h"

namespace {

bool IsTooltip(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return std::wcscmp(name, TOOLTIPS_CLASSW) == 0;
}

BOOL CALLBACK FindTips(HWND window, LPARAM found) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  if (IsTooltip(window) && pid != ::GetCurrentProcessId() && !(::GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON))
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

BOOL CALLBACK FindBalloon(HWND window, LPARAM found) {
  if (!IsTooltip(window) || !::IsWindowVisible(window) ||
      !(::GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON))
    return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

std::string Utf8(const wchar_t* text) {
  char out[2048] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof(out) - 1, nullptr, nullptr);
  return out;
}

// The title and text of the first tool of a tooltip of another process (the shell's):
// its messages take pointers into that process, so the structures live in
// memory lent there.
bool ReadTooltip(HWND tooltip, std::wstring& title, std::wstring& text) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(tooltip, &pid);
  UniqueKernelHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  if (!process) return false;
  constexpr SIZE_T Size = 16384, TextAt = 4096, TitleInfoAt = 2048, TitleAt = 8192;
  auto* remote = static_cast<char*>(::VirtualAllocEx(process.Get(), nullptr, Size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote == nullptr) return false;
  bool ok = false;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  if (::WriteProcessMemory(process.Get(), remote, &tool, sizeof(tool), nullptr) &&
      ::SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(remote)) &&
      ::ReadProcessMemory(process.Get(), remote, &tool, sizeof(tool), nullptr)) {
    tool.lpszText = reinterpret_cast<wchar_t*>(remote + TextAt);
    wchar_t buffer[1024] = {};
    TTGETTITLE get{sizeof(TTGETTITLE), 0, 256, reinterpret_cast<WCHAR*>(remote + TitleAt)};
    if (::WriteProcessMemory(process.Get(), remote, &tool, sizeof(tool), nullptr) &&
        ::WriteProcessMemory(process.Get(), remote + TextAt, buffer, sizeof(buffer), nullptr) &&
        ::WriteProcessMemory(process.Get(), remote + TitleInfoAt, &get, sizeof(get), nullptr)) {
      ::SendMessageW(tooltip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(remote));
      ::SendMessageW(tooltip, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(remote + TitleInfoAt));
      wchar_t titleBuffer[256] = {};
      if (::ReadProcessMemory(process.Get(), remote + TextAt, buffer, sizeof(buffer) - sizeof(wchar_t), nullptr) &&
          ::ReadProcessMemory(process.Get(), remote + TitleAt, titleBuffer, sizeof(titleBuffer) - sizeof(wchar_t),
                              nullptr)) {
        text = buffer;
        title = titleBuffer;
        ok = true;
      }
    }
  }
  ::VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: winprobe info | post MSG [WPARAM LPARAM]\n");
    return 1;
  }
  HWND window = ::FindWindowW(TickerClassName, nullptr);
  if (std::wcscmp(argv[1], L"info") == 0) {
    int count = TickerWindowCount();
    RECT r{};
    if (window) ::GetWindowRect(window, &r);
    std::printf("count=%d visible=%d x=%ld y=%ld w=%ld h=%ld exstyle=0x%08lx\n", count,
                window && ::IsWindowVisible(window) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                window ? static_cast<unsigned long>(::GetWindowLongW(window, GWL_EXSTYLE)) : 0ul);
    return window ? 0 : 2;
  }
  if (std::wcscmp(argv[1], L"post") == 0 && argc >= 3) {
    if (!window) return 2;
    UINT msg = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10));
    WPARAM w = argc > 3 ? static_cast<WPARAM>(std::wcstoul(argv[3], nullptr, 10)) : 0;
    LPARAM l = argc > 4 ? static_cast<LPARAM>(std::wcstol(argv[4], nullptr, 10)) : 0;
    return ::PostMessageW(window, msg, w, l) ? 0 : 1;
  }
  if (std::wcscmp(argv[1], L"memory") == 0 && argc >= 4) {
    if (!window) return 2;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
    if (!process) return 2;
    const DWORD span = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
    const DWORD every = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10));
    const DWORD start = ::GetTickCount();
    unsigned long long least = ~0ull, most = 0;
    int samples = 0;
    do {
      unsigned long long bytes = CommittedPrivateBytes(process.Get());
      if (bytes < least) least = bytes;
      if (bytes > most) most = bytes;
      ++samples;
      ::Sleep(every);
    } while (::GetTickCount() - start < span);
    std::printf("samples=%d min_kb=%llu max_kb=%llu\n", samples, least / 1024, most / 1024);
    return 0;
  }
  if (std::wcscmp(argv[1], L"ping") == 0 && argc >= 3) {
    if (!window) return 2;
    DWORD duration = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
    DWORD every = argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : 100;
    int pings = 0, late = 0, gone = 0;
    DWORD slowest = 0;
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < duration) {
      if (!::IsWindow(window)) {
        gone = 1;
        break;
      }
      DWORD sent = ::GetTickCount();
      DWORD_PTR answer = 0;
      LRESULT ok = ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 500, &answer);
      DWORD took = ::GetTickCount() - sent;
      ++pings;
      if (!ok || took > 500) {
        if (!::IsWindow(window)) {
          gone = 1;
          break;
        }
        ++late;
      }
      if (took > slowest) slowest = took;
      ::Sleep(every);
    }
    std::printf("pings=%d late=%d max_ms=%lu gone=%d\n", pings, late, static_cast<unsigned long>(slowest), gone);
    return 0;
  }
  if (std::wcscmp(argv[1], L"balloon") == 0) {
    HWND balloon = nullptr;
    ::EnumWindows(&FindBalloon, reinterpret_cast<LPARAM>(&balloon));
    std::wstring title, text;
    if (balloon == nullptr || !ReadTooltip(balloon, title, text)) {
      std::printf("balloon=%d\n", balloon ? 1 : 0);
      return 0;
    }
    std::printf("balloon=1\n%s\n%s\n", Utf8(title.c_str()).c_str(), Utf8(text.c_str()).c_str());
    return 0;
  }
  if (std::wcscmp(argv[1], L"tips") == 0) {
    std::vector<HWND> tips;
    ::EnumWindows(&FindTips, reinterpret_cast<LPARAM>(&tips));
    for (HWND tip : tips) {
      std::wstring title, text;
      if (ReadTooltip(tip, title, text) && !text.empty()) std::printf("tip=%s\n", Utf8(text.c_str()).c_str());
    }
    return 0;
  }
  if (std::wcscmp(argv[1], L"menu") == 0) {
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    std::printf("menu=%d\n", menu && ::IsWindowVisible(menu) ? 1 : 0);
    return 0;
  }
  if (std::wcscmp(argv[1], L"tray-click") == 0 && argc >= 3) {
    HWND host = ::FindWindowW(L"TTrayIcon", nullptr);
    if (!host) return 2;
    // What the shell sends: the icon's id in wParam, the mouse message in lParam.
    LPARAM mouse = static_cast<LPARAM>(std::wcstoul(argv[2], nullptr, 10));
    return ::PostMessageW(host, 0x9334, reinterpret_cast<WPARAM>(host), mouse) ? 0 : 1;
  }
  if (std::wcscmp(argv[1], L"tray") == 0 || std::wcscmp(argv[1], L"tray-drop") == 0) {
    // The icon is the hidden host window's, with the window's handle as id.
    HWND host = argc >= 3 ? reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoul(argv[2], nullptr, 10)))
                          : ::FindWindowW(L"TTrayIcon", nullptr);
    if (!host) return 2;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = host;
    data.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(host));
    if (std::wcscmp(argv[1], L"tray-drop") == 0) return ::Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 1;
    // Changing nothing succeeds exactly when there is an icon to change.
    std::printf("tray=%d host=%lu\n", ::Shell_NotifyIconW(NIM_MODIFY, &data) ? 1 : 0,
                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(host)));
    return 0;
  }
  if (std::wcscmp(argv[1], L"hold") == 0 && argc >= 4) {
    HANDLE file = ::CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::wstring marker = std::wstring(argv[2]) + L".held";
    HANDLE mark = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark != INVALID_HANDLE_VALUE) ::CloseHandle(mark);
    ::Sleep(static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)));
    ::CloseHandle(file);
    ::DeleteFileW(marker.c_str());
    return 0;
  }
  if (std::wcscmp(argv[1], L"setting") == 0 && argc >= 3) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(argv[2]),
                                 SMTO_ABORTIFHUNG, 5000, &result)
               ? 0
               : 1;
  }
  if (std::wcscmp(argv[1], L"syscolors") == 0 && argc >= 3) {
    std::vector<INT> indexes;
    std::vector<COLORREF> colors;
    for (int i = 2; i < argc; ++i) {
      wchar_t* rest = nullptr;
      const INT index = static_cast<INT>(std::wcstol(argv[i], &rest, 10));
      if (!rest || *rest != L'=') {
        // Only an index: its colour now, to put back later.
        const COLORREF c = ::GetSysColor(index);
        std::printf("%d=%02X%02X%02X\n", index, GetRValue(c), GetGValue(c), GetBValue(c));
        continue;
      }
      indexes.push_back(index);
      const unsigned long rgb = rest && *rest == L'=' ? std::wcstoul(rest + 1, nullptr, 16) : 0;
      colors.push_back(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    }
    if (indexes.empty()) return 0;
    return ::SetSysColors(static_cast<int>(indexes.size()), indexes.data(), colors.data()) ? 0 : 1;
  }
  if (std::wcscmp(argv[1], L"animations") == 0 && argc >= 3) {
    const UINT_PTR on = std::wcstoul(argv[2], nullptr, 10) != 0;
    return ::SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<void*>(on),
                                   SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
               ? 0
               : 1;
  }
  if (std::wcscmp(argv[1], L"taskbar-created") == 0) {
    UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message && ::PostMessageW(HWND_BROADCAST, message, 0, 0) ? 0 : 1;
  }
  if (std::wcscmp(argv[1], L"msgbox") == 0) {
    HWND box = ::FindWindowW(L"#32770", L"Kavrelo");
    if (!box) return 2;
    if (argc > 2) {
      WPARAM id = static_cast<WPARAM>(std::wcstoul(argv[2], nullptr, 10));
      return ::PostMessageW(box, WM_COMMAND, id, 0) ? 0 : 1;
    }
    // The text is the static control with id 0xFFFF.
    wchar_t text[1024] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
    char utf8[4096] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
    std::printf("%s\n", utf8);
    return 0;
  }
  std::fprintf(stderr, "unknown command\n");
  return 1;
}
