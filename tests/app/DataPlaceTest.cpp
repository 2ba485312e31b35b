// Where a copy keeps its data: the marker beside a copy that is not the
// installed one makes it portable; folder names compared as Windows does.
#include <doctest.h>

#include <windows.h>

#include <string>

#include "app/DataPlace.h"

TEST_CASE("the marker makes a copy portable, except the installed one") {
  const std::wstring profile = L"C:\\Users\\ayse\\AppData\\Roaming\\Valdomer\\Kavrelo";
  struct {
    const char* What;
    const wchar_t* Program;
    bool Marker;
    const wchar_t* Installed;
    TDataMode Mode;
    const wchar_t* Folder;  // null: the profile's
  } cases[] = {
      {"no marker", L"E:\\Kavrelo\\", false, L"", TDataMode::Installed, nullptr},
      {"marker on a stick", L"E:\\Kavrelo\\", true, L"", TDataMode::Portable, L"E:\\Kavrelo\\data"},
      {"marker, another copy installed", L"E:\\Kavrelo\\", true,
       L"C:\\Users\\ayse\\AppData\\Local\\Programs\\Kavrelo", TDataMode::Portable, L"E:\\Kavrelo\\data"},
      {"marker beside the installed copy", L"C:\\Users\\ayse\\AppData\\Local\\Programs\\Kavrelo\\", true,
       L"C:\\Users\\ayse\\AppData\\Local\\Programs\\Kavrelo", TDataMode::Installed, nullptr},
      {"installed, recorded in other case with a slash", L"C:\\Users\\Ayse\\AppData\\Local\\Programs\\KAVRELO\\",
       true, L"c:/users/ayse/appdata/local/programs/kavrelo/", TDataMode::Installed, nullptr},
      {"installed copy without a marker", L"C:\\Programs\\Kavrelo\\", false, L"C:\\Programs\\Kavrelo",
       TDataMode::Installed, nullptr},
      {"a folder whose name only begins like the installed one", L"C:\\Programs\\Kavrelo2\\", true,
       L"C:\\Programs\\Kavrelo", TDataMode::Portable, L"C:\\Programs\\Kavrelo2\\data"},
      {"Turkish letters, other case", L"D:\\Gölge\\Kavrelo\\", true, L"D:\\GÖLGE\\KAVRELO",
       TDataMode::Installed, nullptr},
      {"a network share", L"\\\\sunucu\\paylasim\\Kavrelo\\", true, L"", TDataMode::Portable,
       L"\\\\sunucu\\paylasim\\Kavrelo\\data"},
  };
  for (const auto& c : cases) {
    INFO(c.What);
    const TDataPlace place = ChooseDataPlace(c.Program, c.Marker, c.Installed, profile);
    CHECK(place.Mode == c.Mode);
    CHECK(place.Folder == (c.Folder ? std::wstring(c.Folder) : profile));
    CHECK(place.Writable);
  }
}

TEST_CASE("a session folder is made, kept apart per process, and removed with its files") {
  const std::wstring folder = SessionFolder();
  CHECK(folder.find(std::to_wstring(::GetCurrentProcessId())) != std::wstring::npos);
  REQUIRE(::CreateDirectoryW(folder.c_str(), nullptr));
  for (const wchar_t* name : {L"\\options.ini", L"\\news.xml"}) {
    HANDLE f = ::CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    REQUIRE(f != INVALID_HANDLE_VALUE);
    ::CloseHandle(f);
  }
  RemoveSessionFolder(folder);
  CHECK(::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES);
}
