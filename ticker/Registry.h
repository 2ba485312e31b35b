// The autostart value under the current user's Run key.
#pragma once

#include <windows.h>

#include <string>

inline constexpr wchar_t RunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t RunValueName[] = L"Kavrelo";
// A portable copy's own value: switching it off never removes the installed
// copy's, nor the other way round.
inline constexpr wchar_t PortableRunValueName[] = L"Kavrelo (taşınabilir)";
// The value this copy writes and removes.
const wchar_t* OwnRunValueName();

// Sets a REG_SZ value. With create the key is created when missing, otherwise
// it must exist. Returns the registry's result code: 0 when the value is
// stored.
LONG WriteRegString(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, bool create,
                    const std::wstring& data);
// Removes a value; returns the registry's result code (ERROR_FILE_NOT_FOUND
// when there was none).
LONG DeleteRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName);

// The Run value's data: the running program's full path in double quotes.
std::wstring AutoStartCommand();
// Writes (enable) or deletes the Run value "Kavrelo"; returns the registry's
// result code, which the options panel ignores.
LONG SetAutoStart(bool enable);
