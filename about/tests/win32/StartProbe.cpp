// Started by the tests in place of a real program. It leaves beside itself a note,
// "<its own path>.started", holding the window style it was asked to show with (-1 when none was
// given), and ends. The note is open to the probe alone until it is written.

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoW(&startup);
  const std::string style = std::to_string(
      (startup.dwFlags & STARTF_USESHOWWINDOW) ? static_cast<int>(startup.wShowWindow) : -1);
  HANDLE note = ::CreateFileW((std::wstring(self) + L".started").c_str(), GENERIC_WRITE, 0,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  ::WriteFile(note, style.data(), static_cast<DWORD>(style.size()), &written, nullptr);
  return ::CloseHandle(note) ? 0 : 1;
}
