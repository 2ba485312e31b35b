// The program's own resources beyond the skin images: icon, version
// information and the manifest that selects common controls 6.
#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

std::string ResourceText(int id, LPCWSTR type) {
  HRSRC info = FindResourceW(Module(), MAKEINTRESOURCEW(id), type);
  if (!info) return {};
  const char* data = static_cast<const char*>(LockResource(LoadResource(Module(), info)));
  return std::string(data, SizeofResource(Module(), info));
}

}  // namespace

TEST_CASE("icon 101 comes in 16, 32 and 48 pixels") {
  for (int size : {16, 32, 48}) {
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
  // The group holds exactly those three sizes.
  std::string group = ResourceText(101, MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  REQUIRE(group.size() >= 6);
  CHECK(static_cast<unsigned char>(group[4]) == 3);
}

TEST_CASE("version information says 2.0") {
  std::string block = ResourceText(1, MAKEINTRESOURCEW(16));  // RT_VERSION
  REQUIRE(!block.empty());
  std::vector<char> copy(block.begin(), block.end());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  REQUIRE(VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  CHECK(fixed->dwFileVersionMS == MAKELONG(0, 2));
  CHECK(fixed->dwFileVersionLS == 0);
  CHECK(fixed->dwProductVersionMS == MAKELONG(0, 2));
  wchar_t* text = nullptr;
  REQUIRE(VerQueryValueW(copy.data(), L"\\StringFileInfo\\041F04B0\\ProductVersion",
                         reinterpret_cast<void**>(&text), &length));
  CHECK(std::wstring(text) == L"2.0");
  REQUIRE(VerQueryValueW(copy.data(), L"\\StringFileInfo\\041F04B0\\ProductName", reinterpret_cast<void**>(&text),
                         &length));
  CHECK(std::wstring(text) == L"Kavrelo");
}

TEST_CASE("the manifest selects common controls 6") {
  std::string manifest = ResourceText(1, MAKEINTRESOURCEW(24));  // RT_MANIFEST
  CHECK(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"") != std::string::npos);
}
