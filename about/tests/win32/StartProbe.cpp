// Started by the tests in place of a real program. It leaves beside itself a note,
// "<its own path>.started", holding the window style it was asked to show with (-1 when none was
// given), and ends. A reader that finds the note still empty reads again.

#include <windows.h>

#include <filesystem>
#include <fstream>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  STARTUPINFOW startup{};
  ::GetStartupInfoW(&startup);
  std::ofstream(std::filesystem::path(self) += L".started")
      << ((startup.dwFlags & STARTF_USESHOWWINDOW) ? int{startup.wShowWindow} : -1);
  return 0;
}
