// The program's own resources beyond the skin images: icon, version
// information and the manifest that selects common controls 6.
#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ticker/Version.h"

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

std::string ResourceText(int id, LPCWSTR type) {
  HRSRC info = FindResourceW(Module(), MAKEINTRESOURCEW(id), type);
  if (!info) return {};
  const char* data = static_cast<const char*>(LockResource(LoadResource(Module(), info)));
  return std::string(data, SizeofResource(Module(), info));
}

}  // namespace

TEST_CASE("icon 101 comes in every size the tray and Explorer ask for, 16 to 64 pixels") {
  for (int size : {16, 20, 24, 32, 40, 48, 64}) {
    CAPTURE(size);
    HICON icon = static_cast<HICON>(LoadImageW(Module(), MAKEINTRESOURCEW(101), IMAGE_ICON, size, size, 0));
    REQUIRE(icon != nullptr);
    ICONINFO info = {};
    REQUIRE(GetIconInfo(icon, &info));
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    CHECK(bitmap.bmWidth == size);
    CHECK(bitmap.bmHeight == size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  // The group holds exactly those seven sizes.
  std::string group = ResourceText(101, MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  REQUIRE(group.size() >= 6);
  CHECK(static_cast<unsigned char>(group[4]) == 7);
}

TEST_CASE("version information is the version the update check compares") {
  // The numbers Explorer shows are the text's parts, missing ones as 0.
  unsigned parts[4] = {};
  size_t at = 0;
  for (char c : CurrentVersion) {
    if (c == '.') {
      REQUIRE(++at < 4);
    } else {
      REQUIRE((c >= '0' && c <= '9'));
      parts[at] = parts[at] * 10 + static_cast<unsigned>(c - '0');
    }
  }
  std::string block = ResourceText(1, MAKEINTRESOURCEW(16));  // RT_VERSION
  REQUIRE(!block.empty());
  std::vector<char> copy(block.begin(), block.end());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  REQUIRE(VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  CHECK(fixed->dwFileVersionMS == MAKELONG(parts[1], parts[0]));
  CHECK(fixed->dwFileVersionLS == MAKELONG(parts[3], parts[2]));
  CHECK(fixed->dwProductVersionMS == MAKELONG(parts[1], parts[0]));
  CHECK(fixed->dwProductVersionLS == MAKELONG(parts[3], parts[2]));
  std::wstring expected(CurrentVersion.begin(), CurrentVersion.end());
  auto value = [&](const wchar_t* name) {
    wchar_t* text = nullptr;
    UINT size = 0;
    return VerQueryValueW(copy.data(), name, reinterpret_cast<void**>(&text), &size) ? std::wstring(text)
                                                                                       : std::wstring(L"(none)");
  };
  CHECK(value(L"\\StringFileInfo\\041F04B0\\ProductVersion") == expected);
  CHECK(value(L"\\StringFileInfo\\041F04B0\\FileVersion") == expected);
  CHECK(value(L"\\StringFileInfo\\041F04B0\\ProductName") == L"Kavrelo");
}

TEST_CASE("the manifest selects common controls 6") {
  std::string manifest = ResourceText(1, MAKEINTRESOURCEW(24));  // RT_MANIFEST
  CHECK(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"") != std::string::npos);
}

// Wine starts a program whatever its manifest says; Windows refuses one
// whose own identity names another processor, so this is where it shows.
TEST_CASE("the manifest names the program's own architecture and version") {
  std::string manifest = ResourceText(1, MAKEINTRESOURCEW(24));  // RT_MANIFEST
  std::size_t identity = manifest.find("name=\"Valdomer.Kavrelo\"");
  REQUIRE(identity != std::string::npos);
  std::string element = manifest.substr(identity, manifest.find("/>", identity) - identity);
#if defined(_WIN64)
  CHECK(element.find("processorArchitecture=\"amd64\"") != std::string::npos);
#else
  CHECK(element.find("processorArchitecture=\"x86\"") != std::string::npos);
#endif
  CHECK(element.find("version=\"" KAVRELO_VERSION_QUAD_TEXT "\"") != std::string::npos);
}
