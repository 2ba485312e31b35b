#include "ticker/Registry.h"

#include "app/Globals.h"
#include "app/Paths.h"
#include "framework/WinHandles.h"

LONG WriteRegString(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, bool create,
                    const std::wstring& data) {
  HKEY raw = nullptr;
  LONG result = create ? ::RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_ALL_ACCESS, nullptr, &raw, nullptr)
                       : ::RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_ALL_ACCESS, &raw);
  if (result != ERROR_SUCCESS) return result;
  UniqueRegKey key(raw);
  // The size counts the terminating zero.
  DWORD size = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key.Get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          size);
}

LONG DeleteRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName) {
  HKEY raw = nullptr;
  LONG result = ::RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_ALL_ACCESS, &raw);
  if (result != ERROR_SUCCESS) return result;
  UniqueRegKey key(raw);
  return ::RegDeleteValueW(key.Get(), valueName.c_str());
}

std::wstring AutoStartCommand() { return L"\"" + ProgramPath() + L"\""; }

const wchar_t* OwnRunValueName() { return PortableCopy ? PortableRunValueName : RunValueName; }

LONG SetAutoStart(bool enable) {
  if (enable) return WriteRegString(HKEY_CURRENT_USER, RunKeyPath, OwnRunValueName(), true, AutoStartCommand());
  return DeleteRegValue(HKEY_CURRENT_USER, RunKeyPath, OwnRunValueName());
}
