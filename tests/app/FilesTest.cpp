#include <doctest.h>

#include <windows.h>


#include "app/AtomicFile.h"
#include "app/Paths.h"
#include "tests/settings/TestFiles.h"

namespace {

std::wstring TempRoot() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"kavrelo-test-" + std::to_wstring(::GetCurrentProcessId());
}

bool IsDirectory(const std::wstring& path) {
  DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TEST_CASE("ForceDirectories creates every missing parent and leaves existing ones") {
  std::wstring root = TempRoot();
  std::wstring deep = root + L"\\Valdomer\\Kavrelo";
  CHECK(ForceDirectories(deep));
  CHECK(IsDirectory(root + L"\\Valdomer"));
  CHECK(IsDirectory(deep));
  CHECK(ForceDirectories(deep + L"\\"));  // existing, trailing backslash

  // A file where a folder should be: reported, not overwritten.
  std::wstring file = root + L"\\file";
  CHECK(SaveFileAtomically(file, "x"));
  CHECK_FALSE(ForceDirectories(file));
  CHECK(ReadBytes(file) == "x");

  ::DeleteFileW(file.c_str());
  ::RemoveDirectoryW(deep.c_str());
  ::RemoveDirectoryW((root + L"\\Valdomer").c_str());
  ::RemoveDirectoryW(root.c_str());
}

TEST_CASE("SaveFileAtomically replaces the whole file or nothing") {
  std::wstring root = TempRoot();
  REQUIRE(ForceDirectories(root));
  std::wstring path = root + L"\\news.xml";

  // Bytes above 0x7F and zero bytes pass unchanged: no code-page detour.
  std::string first("<rss>\xc3\xbc\xc4\x9f\x00\xff</rss>", 15);
  CHECK(SaveFileAtomically(path, first));
  CHECK(ReadBytes(path) == first);

  CHECK(SaveFileAtomically(path, "short"));
  CHECK(ReadBytes(path) == "short");

  // A target that cannot be replaced (a folder by that name) fails and
  // leaves no temporary file behind.
  std::wstring folder = root + L"\\busy";
  REQUIRE(ForceDirectories(folder));
  CHECK_FALSE(SaveFileAtomically(folder, "data"));
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((root + L"\\*.tmp*").c_str(), &found);
  CHECK(search == INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) ::FindClose(search);

  ::RemoveDirectoryW(folder.c_str());
  ::DeleteFileW(path.c_str());
  ::RemoveDirectoryW(root.c_str());
}
