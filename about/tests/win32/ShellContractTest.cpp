// Starting and opening programs: one table, over the recording shell and the system's, of the
// window style that reaches the program and the errors of what cannot start.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "platform/tests/RecordingShell.h"
#include "platform/tests/FileWorld.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/unique_res.h"

namespace {

struct Step {
  const wchar_t* name;  // in the test's folder; blank: the command line itself
  bool program;         // whether a program is there
  int style;            // to start with; -1: opened
  const char* outcome;
} const kSteps[] = {
    {L"probe.exe", true, SW_SHOWNORMAL, "style 1"},
    {L"Program Files\\the probe.exe", true, SW_HIDE, "style 0"},  // blanks, unquoted
    {L"opened.exe", true, -1, "style 5"},  // SW_SHOW: in its current size and position
    {L"missing.exe", false, SW_SHOWNORMAL, "error 53"},
    {L"Program Files", false, SW_SHOWNORMAL, "error 53"},  // a folder
    {L"", false, SW_SHOWNORMAL, "error 5"},
    {L"   ", false, SW_SHOWNORMAL, "error 5"},
};

// What the shell does with each step: the style the program saw, or the error it raised.
std::vector<std::string> Transcript(Shell& shell, const FileWorld& folder,
                                    const std::function<void(const std::wstring&)>& addProgram,
                                    const std::function<int(const std::wstring&)>& styleSeen) {
  std::vector<std::string> transcript;
  for (const Step& s : kSteps) {
    const std::wstring line = *s.name && *s.name != L' ' ? folder.PathOf(s.name) : s.name;
    if (s.program) addProgram(line);
    try {
      if (s.style < 0) shell.Open(line, nullptr); else shell.Start(line, s.style);
      transcript.push_back("style " + std::to_string(styleSeen(line)));
    } catch (const VbError& e) {
      transcript.push_back("error " + std::to_string(e.Number()));
      EXPECT_EQ(L"Shell", e.Source());
    }
  }
  return transcript;
}

// A copy of about_start_probe.exe at path, which notes the style it is started with.
void CopyProbe(const std::wstring& path) {
  wchar_t self[MAX_PATH];
  const std::wstring test(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH));
  const std::wstring probe = test.substr(0, test.rfind(L'\\')) + L"\\about_start_probe.exe";
  ::CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
  ASSERT_TRUE(::CopyFileW(probe.c_str(), path.c_str(), FALSE));
}

int ProbeStyle(const std::wstring& path) {
  for (int wait = 0; wait < 1500; ++wait, ::Sleep(10)) {
    unique_file note(::CreateFileW((path + L".started").c_str(), GENERIC_READ, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    char text[16] = {};
    DWORD read = 0;
    if (note && ::ReadFile(note.get(), text, 15, &read, nullptr) && read) return std::atoi(text);
  }
  return -1;  // not started
}

TEST(ShellContract, TheStyleReachesTheProgramAndWhatCannotStartRaises) {
  std::vector<std::string> expected;
  for (const Step& s : kSteps) expected.push_back(s.outcome);
  const std::unique_ptr<FileWorld> folder = MakeWin32FileWorld();

  RecordingShell fake;
  const auto add = [&](const std::wstring& path) { fake.programs.insert(path); };
  const auto seen = [&](const std::wstring&) { return fake.calls.back().windowStyle; };
  EXPECT_EQ(expected, Transcript(fake, *folder, add, seen)) << "the recording shell";
  Win32CodePage ansi;
  Win32Shell system(ansi);
  EXPECT_EQ(expected, Transcript(system, *folder, CopyProbe, ProbeStyle)) << "the system's shell";
}

}  // namespace
