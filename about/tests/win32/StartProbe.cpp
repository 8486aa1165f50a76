// Started by the tests in place of the system information program. It leaves beside itself a
// note, "<its own path>.started", holding the window style it was asked to show with (-1 when
// none was given), and ends.

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoW(&startup);
  const std::string style = std::to_string(
      (startup.dwFlags & STARTF_USESHOWWINDOW) ? static_cast<int>(startup.wShowWindow) : -1);
  const std::wstring note = std::wstring(self) + L".started";
  HANDLE file = ::CreateFileW(note.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(file, style.data(), static_cast<DWORD>(style.size()), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
