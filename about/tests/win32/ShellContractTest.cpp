// Starting and opening programs: one table, over the recording shell and the system's, of the
// window style that reaches the program and the errors of what cannot start.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "platform/tests/RecordingShell.h"
#include "platform/tests/FileWorld.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Shell.h"

namespace {

struct Step {
  const wchar_t* name;  // in the test's folder; blank: the command line itself
  bool program;         // whether a program is there
  int style;            // to start with; -1: opened
  const char* outcome;
} const kSteps[] = {
    {L"Program Files\\the probe.exe", true, SW_SHOWMINNOACTIVE, "style 7"},  // blanks, unquoted
    {L"opened.exe", true, -1, "style 5"},  // SW_SHOW: in its current size and position
    {L"missing.exe", false, SW_SHOWNORMAL, "error 53"},
    {L"Program Files", false, SW_SHOWNORMAL, "error 53"},  // a folder
    {L"   ", false, SW_SHOWNORMAL, "error 5"},  // blanks alone, as an empty line
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
  RecordingShell fake;
  Win32CodePage ansi;
  Win32Shell system(ansi);
  for (Shell* shell : std::initializer_list<Shell*>{&fake, &system}) {
    SCOPED_TRACE(shell == &fake ? "the recording shell" : "the system's shell");
    for (const Step& s : kSteps) {
      const std::wstring line = *s.name && *s.name != L' ' ? folder->PathOf(s.name) : s.name;
      if (s.program && shell == &fake) fake.programs.insert(line);
      if (s.program && shell == &system) CopyProbe(line);
      std::string outcome;
      try {
        if (s.style < 0) shell->Open(line, nullptr); else shell->Start(line, s.style);
        const int style = shell == &fake ? fake.calls.back().windowStyle : ProbeStyle(line);
        outcome = "style " + std::to_string(style);
      } catch (const VbError& e) {
        outcome = "error " + std::to_string(e.Number());
        EXPECT_EQ(L"Shell", e.Source());
      }
      EXPECT_EQ(s.outcome, outcome);
    }
  }
}

}  // namespace
