#pragma once
// The built add-in DLL, for the tests that use it as Windows and the IDE do.

#include <windows.h>

#include <string>

#include "ide/win32/Extensibility.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/unique_res.h"

/// The DLL's path as this Windows process sees it (Wine maps the Linux root to Z:).
inline std::wstring DllPath() {
  std::wstring path = L"Z:" MARROWBY_DLL_PATH;
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

/// Runs regsvr32 silently on the DLL with the arguments; its exit code.
inline DWORD Regsvr32(const std::wstring& arguments) {
  std::wstring command = L"regsvr32.exe /s " + arguments + L" \"" + DllPath() + L"\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    return ~0u;
  unique_handle thread(process.hThread), handle(process.hProcess);
  ::WaitForSingleObject(handle.get(), 60000);
  DWORD code = ~0u;
  ::GetExitCodeProcess(handle.get(), &code);
  return code;
}

/// "Marrowby.Connect" as the IDE creates it: by ProgID, asked for its add-in events.
inline HRESULT CreateConnection(com_ptr<IDTExtensibility2>& connection) {
  CLSID clsid{};
  const HRESULT hr = ::CLSIDFromProgID(L"Marrowby.Connect", &clsid);
  if (FAILED(hr)) return hr;
  return ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDTExtensibility2),
                            connection.put_void());
}
