#include <doctest.h>

#include <windows.h>

#include "TestFiles.h"
#include "settings/WIniFiles.h"
#include "settings/WideCase.h"
#include "settings/windows/WindowsFileAccess.h"

namespace {

std::u16string U(const std::wstring& path) { return FromWide(path); }

}  // namespace

TEST_CASE("reading by name: missing, read, too big, a folder, a locked file") {
  TScratchFolder dir(L"files");
  const TWFileAccess& files = WindowsFiles();
  std::string bytes = "untouched";

  CHECK(files.ReadAll(U(dir / L"none.ini"), 100, bytes) == TWFileRead::Missing);
  CHECK(files.ReadAll(U(dir / L"nofolder\\none.ini"), 100, bytes) == TWFileRead::Missing);
  CHECK(bytes == "untouched");

  // A folder name in Turkish letters: wide paths all the way.
  std::wstring turkish = dir / L"\u015Eule \u00C7\u0131nar";
  REQUIRE(::CreateDirectoryW(turkish.c_str(), nullptr));
  std::wstring file = turkish + L"\\options.ini";
  REQUIRE(WriteBytes(file, std::string("\xFF\xFE\0\0x", 5)));
  CHECK(files.ReadAll(U(file), 100, bytes) == TWFileRead::Read);
  CHECK(bytes == std::string("\xFF\xFE\0\0x", 5));
  CHECK(files.ReadAll(U(file), 4, bytes) == TWFileRead::Failed);

  CHECK(files.ReadAll(U(turkish), 100, bytes) == TWFileRead::Failed);

  HANDLE lock = ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  REQUIRE(lock != INVALID_HANDLE_VALUE);
  CHECK(files.ReadAll(U(file), 100, bytes) == TWFileRead::Failed);
  ::CloseHandle(lock);
}

TEST_CASE("an options file that is a folder or locked gives an empty store; a save then fails safely") {
  TScratchFolder dir(L"locked");
  std::wstring folder = dir / L"options.ini";
  REQUIRE(::CreateDirectoryW(folder.c_str(), nullptr));
  TWMemIniFile asFolder(U(folder), WindowsFiles());
  CHECK(asFolder.LoadResult() == TWLoadResult::Unreadable);
  CHECK(asFolder.ReadInteger(u"general", u"left", 12) == 12);
  asFolder.WriteInteger(u"general", u"left", 1);
  CHECK_FALSE(asFolder.UpdateFile());
  CHECK((::GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);

  std::wstring file = dir / L"locked.ini";
  const std::string old = EncodeUtf16Le(u"[general]\r\nleft=3\r\n\r\n");
  REQUIRE(WriteBytes(file, old));
  HANDLE lock = ::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  REQUIRE(lock != INVALID_HANDLE_VALUE);
  TWMemIniFile locked(U(file), WindowsFiles());
  CHECK(locked.LoadResult() == TWLoadResult::Unreadable);
  CHECK(locked.ReadInteger(u"general", u"left", 12) == 12);
  locked.WriteInteger(u"general", u"left", 4);
  CHECK_FALSE(locked.UpdateFile());
  ::CloseHandle(lock);
  CHECK(ReadBytes(file) == old);

  // Once the lock is gone the file is read before anything is written: the
  // user's value comes back, the default written meanwhile does not reach
  // the disk, and the next save writes on top of what the file held.
  CHECK_FALSE(locked.UpdateFile());
  CHECK(ReadBytes(file) == old);
  CHECK(locked.LoadResult() == TWLoadResult::Loaded);
  CHECK(locked.ReadInteger(u"general", u"left", 12) == 3);
  locked.WriteInteger(u"options", u"startup", 0);
  CHECK(locked.UpdateFile());
  CHECK(ReadBytes(file) == EncodeUtf16Le(u"[general]\r\nleft=3\r\n\r\n[options]\r\nstartup=0\r\n\r\n"));
}

TEST_CASE("a save into a folder that does not exist fails and creates nothing") {
  TScratchFolder dir(L"nofolder");
  std::wstring file = dir / L"gone\\options.ini";
  TWMemIniFile ini(U(file), WindowsFiles());
  ini.WriteBool(u"options", u"startup", false);
  CHECK_FALSE(ini.UpdateFile());
  CHECK(ReadBytes(file) == "<missing>");
}

TEST_CASE("upper case agrees with the system's over the whole plane") {
  int differences = 0;
  for (unsigned c = 1; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    wchar_t system = static_cast<wchar_t>(c);
    ::CharUpperBuffW(&system, 1);
    if (static_cast<char16_t>(system) != WideUpperChar(static_cast<char16_t>(c))) {
      CAPTURE(c);
      CAPTURE(static_cast<unsigned>(system));
      CHECK(differences++ < 0);
    }
  }
}
