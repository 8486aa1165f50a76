#pragma once
// The built add-in DLL, for the tests that use it as Windows and the IDE do, and the registry
// values and late-bound names those tests read.

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/com_ptr.h"
#include "platform/win32/unique_res.h"

/// A Linux path as this Windows process sees it (Wine maps the Linux root to Z:).
inline std::wstring WindowsPath(std::wstring path) {
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return L"Z:" + path;
}
inline std::wstring DllPath() { return WindowsPath(MARROWBY_DLL_PATH); }

/// Runs the command line to its end; its exit code, ~0u when it did not start or did not end.
inline DWORD RunToEnd(std::wstring command) {
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    return ~0u;
  unique_handle thread(process.hThread), handle(process.hProcess);
  DWORD code = ~0u;
  if (::WaitForSingleObject(handle.get(), 120000) == WAIT_OBJECT_0)
    ::GetExitCodeProcess(handle.get(), &code);
  return code;
}

/// Runs regsvr32 silently on the DLL with the arguments; its exit code.
inline DWORD Regsvr32(const std::wstring& arguments) {
  return RunToEnd(L"regsvr32.exe /s " + arguments + L" \"" + DllPath() + L"\"");
}

/// A text or DWORD value as text (the key's default when name is null); "(none)" when the key or
/// value is absent.
inline std::wstring RegText(HKEY root, const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data, type = 0;
  if (::RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data,
                     &size) != ERROR_SUCCESS)
    return L"(none)";
  return type == REG_DWORD ? std::to_wstring(data[0] | DWORD{data[1]} << 16) : data;  // words
}

inline void SetRegText(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

/// Where the add-in keeps whether its window showed at the end of the last connection.
constexpr wchar_t kShownSettingKey[] =
    L"Software\\VB and VBA Program Settings\\Microsoft Visual Basic AddIns\\Skeldra";
inline std::wstring Setting() {
  return RegText(HKEY_CURRENT_USER, kShownSettingKey, L"DisplayOnConnect");
}
inline void SetSetting(const wchar_t* value) {
  SetRegText(kShownSettingKey, L"DisplayOnConnect", value);
}

/// The member's DISPID as a late-bound caller asks for it; DISPID_UNKNOWN when it has none.
inline DISPID DispId(IDispatch* object, const wchar_t* member) {
  DISPID id = DISPID_UNKNOWN;
  auto* name = const_cast<LPOLESTR>(member);
  object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}
