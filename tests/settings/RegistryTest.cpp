#include <doctest.h>

#include <windows.h>

#include <string>

#include "app/Paths.h"
#include "ticker/Registry.h"

namespace {

const wchar_t ScratchKey[] = L"Software\\Valdomer\\KavreloTest";

// The value as an ANSI reader (the shell starting programs at logon, older
// tools) sees it, or "<none>".
std::string QueryA(const char* keyPath, const char* name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
  char data[1024];
  DWORD size = sizeof(data);
  DWORD type = 0;
  LONG r = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  ::RegCloseKey(key);
  if (r != ERROR_SUCCESS || type != REG_SZ) return "<none>";
  return std::string(data, size > 0 && data[size - 1] == '\0' ? size - 1 : size);
}

std::wstring QueryW(const wchar_t* keyPath, const wchar_t* name) {
  wchar_t data[1024];
  DWORD size = sizeof(data);
  if (::RegGetValueW(HKEY_CURRENT_USER, keyPath, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return L"<none>";
  return data;
}

}  // namespace

TEST_CASE("registry strings: written with their zero, replaced, deleted; failures carry the code") {
  ::RegDeleteKeyW(HKEY_CURRENT_USER, ScratchKey);
  CHECK(WriteRegString(HKEY_CURRENT_USER, ScratchKey, L"v", false, L"x") == ERROR_FILE_NOT_FOUND);
  CHECK(DeleteRegValue(HKEY_CURRENT_USER, ScratchKey, L"v") == ERROR_FILE_NOT_FOUND);

  CHECK(WriteRegString(HKEY_CURRENT_USER, ScratchKey, L"v", true, L"\"C:\\Prog\\a b.exe\"") == ERROR_SUCCESS);
  CHECK(QueryA("Software\\Valdomer\\KavreloTest", "v") == "\"C:\\Prog\\a b.exe\"");
  CHECK(WriteRegString(HKEY_CURRENT_USER, ScratchKey, L"v", false, L"\u015Fehir") == ERROR_SUCCESS);
  CHECK(QueryW(ScratchKey, L"v") == L"\u015Fehir");

  CHECK(DeleteRegValue(HKEY_CURRENT_USER, ScratchKey, L"v") == ERROR_SUCCESS);
  CHECK(QueryW(ScratchKey, L"v") == L"<none>");
  CHECK(DeleteRegValue(HKEY_CURRENT_USER, ScratchKey, L"v") == ERROR_FILE_NOT_FOUND);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, ScratchKey);
}

TEST_CASE("autostart writes the quoted program path as Run value Kavrelo and removes it") {
  const std::wstring before = QueryW(RunKeyPath, RunValueName);
  CHECK(AutoStartCommand() == L"\"" + ProgramPath() + L"\"");

  CHECK(SetAutoStart(true) == ERROR_SUCCESS);
  CHECK(QueryW(RunKeyPath, RunValueName) == AutoStartCommand());
  CHECK(QueryA("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Kavrelo").front() == '"');
  CHECK(SetAutoStart(true) == ERROR_SUCCESS);  // again: same value, no error

  CHECK(SetAutoStart(false) == ERROR_SUCCESS);
  CHECK(QueryW(RunKeyPath, RunValueName) == L"<none>");
  CHECK(SetAutoStart(false) == ERROR_FILE_NOT_FOUND);  // nothing left to delete

  if (before != L"<none>") WriteRegString(HKEY_CURRENT_USER, RunKeyPath, RunValueName, true, before);
}
