// Starting programs through the system: the window style reaches the program, a path with blanks
// is taken as it is, and a program that cannot be started raises the host language's error.

#include <gtest/gtest.h>
#include <windows.h>

#include "about/tests/win32/AboutTestWorld.h"
#include "platform/Error.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Shell.h"

namespace {

class Win32ShellTest : public testing::Test {
 protected:
  Win32CodePage ansi_;
  Win32Shell shell_{ansi_};
  TempFolder temp_;
};

TEST_F(Win32ShellTest, StartsTheProgramWithTheWindowStyleGiven) {
  struct Case {
    const wchar_t* relative;
    int style;
  } cases[] = {
      {L"plain\\probe.exe", SW_SHOWNORMAL},
      {L"with blanks\\and more\\the probe.exe", SW_SHOWNORMAL},
      {L"hidden\\probe.exe", SW_HIDE},
      {L"minimized\\probe.exe", SW_SHOWMINNOACTIVE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.style);
    const std::wstring program = temp_.CopyProbe(c.relative);
    shell_.Start(program, c.style);
    const std::optional<int> style = ProbeStartStyle(program);
    ASSERT_TRUE(style.has_value()) << "the program did not start";
    EXPECT_EQ(c.style, *style);
  }
}

TEST_F(Win32ShellTest, OpensATargetShownInItsCurrentSizeAndPosition) {
  const std::wstring program = temp_.CopyProbe(L"opened\\probe.exe");
  shell_.Open(program, nullptr);
  EXPECT_EQ(SW_SHOW, ProbeStartStyle(program));
}

TEST_F(Win32ShellTest, AProgramThatCannotBeStartedRaisesAnError) {
  struct Case {
    std::wstring commandLine;
    std::int32_t number;
  } cases[] = {
      {temp_.Path() + L"\\missing.exe", 53},
      {temp_.Path(), 53},  // a folder
      {L"", 5},
      {L"   ", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "\"" << std::string(c.commandLine.begin(), c.commandLine.end()) << "\"");
    try {
      shell_.Start(c.commandLine, SW_SHOWNORMAL);
      ADD_FAILURE() << "no error";
    } catch (const VbError& e) {
      EXPECT_EQ(c.number, e.Number());
      EXPECT_EQ(L"Shell", e.Source());
    }
  }
}

}  // namespace
