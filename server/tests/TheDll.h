#pragma once
// The built add-in DLL, for the tests that use it as Windows and the IDE do, and the registry
// values those tests read and write.

#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/win32/unique_res.h"

/// The DLL's path as this Windows process sees it (Wine maps the Linux root to Z:).
inline std::wstring DllPath() { return L"Z:" MARROWBY_DLL_PATH; }

/// Runs regsvr32 silently on the DLL with the arguments, to its end; its exit code.
inline DWORD Regsvr32(const std::wstring& arguments) {
  return ::_wsystem((L"regsvr32.exe /s " + arguments + L" \"" + DllPath() + L"\"").c_str());
}

/// A text value (the key's default when name is null); "(none)" when the key is absent, "" when
/// the value is.
inline std::wstring RegText(HKEY root, const std::wstring& key, const wchar_t* name = nullptr) {
  unique_hkey opened;
  if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put())) return L"(none)";
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  ::RegGetValueW(opened.get(), nullptr, name, RRF_RT_REG_SZ | RRF_ZEROONFAILURE, nullptr, data,
                 &size);
  return data;
}

inline void SetRegText(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

/// Where the add-in keeps whether its window showed at the end of the last connection.
constexpr wchar_t kShownSettingKey[] =
    L"Software\\VB and VBA Program Settings\\Microsoft Visual Basic AddIns\\Skeldra";
