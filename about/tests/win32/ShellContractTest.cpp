// Starting and opening programs with the system's shell: one table of the window style that
// reaches the program and the errors of what cannot start.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "platform/Error.h"
#include "platform/tests/FileWorld.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Shell.h"

namespace {

struct Step {
  const wchar_t* name;  // in the test's folder; blank: the command line itself
  int style;            // to start with; -1: opened
  const char* outcome;  // a style: the program is there
} const kSteps[] = {
    {L"Program Files\\the probe.exe", SW_SHOWMINNOACTIVE, "style 7"},  // blanks, unquoted
    {L"opened.exe", -1, "style 5"},  // SW_SHOW: in its current size and position
    {L"missing.exe", SW_SHOWNORMAL, "error 53"},
    {L"Program Files", SW_SHOWNORMAL, "error 53"},  // a folder
    {L"   ", SW_SHOWNORMAL, "error 5"},  // blanks alone, as an empty line
};

// A copy of about_start_probe.exe at path, which notes the style it is started with.
void CopyProbe(const std::filesystem::path& path) {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::filesystem::create_directories(path.parent_path());
  std::filesystem::copy_file(std::filesystem::path(self).replace_filename("about_start_probe.exe"),
                             path, std::filesystem::copy_options::overwrite_existing);
}

// The style the probe at path noted; -1 when it did not start within 15 seconds.
int ProbeStyle(const std::wstring& path) {
  for (int wait = 0, style; wait < 1500; ++wait, ::Sleep(10))
    if (std::ifstream(std::filesystem::path(path + L".started")) >> style) return style;
  return -1;
}

TEST(ShellContract, TheStyleReachesTheProgramAndWhatCannotStartRaises) {
  const std::unique_ptr<FileWorld> folder = MakeWin32FileWorld();
  Win32CodePage ansi;
  Win32Shell shell(ansi);
  for (const Step& s : kSteps) {
    const std::wstring line = *s.name && *s.name != L' ' ? folder->PathOf(s.name) : s.name;
    if (*s.outcome == 's') CopyProbe(line);
    std::string outcome;
    try {
      if (s.style < 0) shell.Open(line, nullptr); else shell.Start(line, s.style);
      outcome = "style " + std::to_string(ProbeStyle(line));
    } catch (const VbError& e) {
      outcome = "error " + std::to_string(e.Number());
      EXPECT_EQ(L"Shell", e.Source());
    }
    EXPECT_EQ(s.outcome, outcome) << s.name;
  }
}

}  // namespace
