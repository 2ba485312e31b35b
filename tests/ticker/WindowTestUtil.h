// What the in-process tests of the main window share: files for its data
// folder and a look at its child windows.
#pragma once

#include <windows.h>

#include <string>

inline std::string Utf16(const std::u16string& text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

inline std::string Utf16File(const std::u16string& text) { return "\xff\xfe" + Utf16(text); }

// Every switch off, the window at a place of its own.
inline const std::u16string UserOptions =
    u"[general]\r\nleft=123\r\ntop=45\r\n\r\n[options]\r\nalwaystop=0\r\nautoscale=0\r\nnotify=0\r\nshowtray=0\r\nstartup=0\r\n\r\n";

// A feed of `items` headlines "Haber N" linking to http://example.com/N,
// each with the summary "Özet N ile biraz daha metin.".
inline std::string Feed(int items) {
  std::string rss = "<?xml version=\"1.0\" encoding=\"utf-8\"?><rss version=\"2.0\"><channel><title>t</title>";
  for (int i = 0; i < items; ++i)
    rss += "<item><title>Haber " + std::to_string(i) + "</title><link>http://example.com/" + std::to_string(i) +
           "</link><description>Özet " + std::to_string(i) + " ile biraz daha metin.</description></item>";
  return rss + "</channel></rss>";
}

struct TClassSearch {
  const wchar_t* Name;
  HWND Found;
};

// An enumeration procedure is stdcall on 32-bit Windows, which a lambda
// cannot be.
inline BOOL CALLBACK MatchClass(HWND child, LPARAM p) {
  auto* s = reinterpret_cast<TClassSearch*>(p);
  wchar_t name[64] = {};
  ::GetClassNameW(child, name, 64);
  if (std::wstring(name) != s->Name) return TRUE;
  s->Found = child;
  return FALSE;
}

inline HWND ChildOfClass(HWND window, const wchar_t* className) {
  TClassSearch search{className, nullptr};
  ::EnumChildWindows(window, &MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}
