#pragma once
// The built add-in DLL, for the tests that use it as Windows and the IDE do, and the registry
// values and late-bound names those tests read.

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/com_ptr.h"
#include "platform/win32/unique_res.h"

/// The DLL's path as this Windows process sees it (Wine maps the Linux root to Z:).
inline std::wstring DllPath() {
  std::wstring path = MARROWBY_DLL_PATH;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return L"Z:" + path;
}

/// Runs regsvr32 silently on the DLL with the arguments, to its end; its exit code, ~0u when it
/// did not start or did not end.
inline DWORD Regsvr32(const std::wstring& arguments) {
  std::wstring command = L"regsvr32.exe /s " + arguments + L" \"" + DllPath() + L"\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  DWORD code = ~0u;
  if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
    unique_handle thread(process.hThread), handle(process.hProcess);
    if (::WaitForSingleObject(handle.get(), 120000) == WAIT_OBJECT_0)
      ::GetExitCodeProcess(handle.get(), &code);
  }
  return code;
}

/// A text or DWORD value as text (the key's default when name is null); "(none)" when the key is
/// absent, "" when the value is.
inline std::wstring RegText(HKEY root, const std::wstring& key, const wchar_t* name = nullptr) {
  unique_hkey opened;
  if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put()) != ERROR_SUCCESS)
    return L"(none)";
  wchar_t data[1024] = {};
  DWORD size = sizeof data, type = 0;
  if (::RegGetValueW(opened.get(), nullptr, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data,
                     &size) != ERROR_SUCCESS)
    return L"";
  return type == REG_DWORD ? std::to_wstring(data[0] | DWORD{data[1]} << 16) : data;  // words
}

inline void SetRegText(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

/// Where the add-in keeps whether its window showed at the end of the last connection.
constexpr wchar_t kShownSettingKey[] =
    L"Software\\VB and VBA Program Settings\\Microsoft Visual Basic AddIns\\Skeldra";
