// standin.exe as a user starts it: with the add-in registered and a project named on its command
// line, it loads the add-in, opens the project, saves its picture and closes, disconnecting the
// add-in on the way out. And the recent list it keeps as the IDE does.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "server/tests/TheDll.h"
#include "standin/app/RecentFiles.h"

namespace {

using List = std::vector<std::wstring>;

TEST(RecentList, TheNewPathGoesFirstOnceWhateverItsCaseAndTheListKeepsTen) {
  const struct {
    List before;
    const wchar_t* path;
    List after;
  } cases[] = {
      {{}, L"a", {L"a"}},
      {{L"a", L"B", L"c"}, L"b", {L"b", L"a", L"c"}},
      {{L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10"}, L"new",
       {L"new", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9"}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.after, standin_app::WithNewest(c.before, c.path));
}

TEST(StandIn, LoadsTheAddInOpensTheProjectSavesAPictureAndDisconnectsAtExit) {
  ASSERT_EQ(0u, Regsvr32(L""));
  const auto folder = std::filesystem::temp_directory_path() / "standin-test";
  std::filesystem::create_directories(folder);
  const std::wstring project = (folder / "Sample.vbp").wstring(),
                     picture = (folder / "shot.bmp").wstring();
  std::ofstream(folder / "Sample.vbp") << "Type=Exe\nName=\"Sample\"\n";
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kShownSettingKey);

  std::wstring exe = L"Z:" STANDIN_EXE_PATH;
  std::replace(exe.begin(), exe.end(), L'/', L'\\');
  std::wstring command = L"\"" + exe + L"\" --screenshot \"" + picture + L"\" \"" + project + L"\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
  unique_handle thread(process.hThread), handle(process.hProcess);
  ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(handle.get(), 120000));
  DWORD code = ~0u;
  ::GetExitCodeProcess(handle.get(), &code);
  EXPECT_EQ(0u, code);

  std::ifstream shot(folder / "shot.bmp", std::ios::binary);
  std::string start(2, '\0');
  shot.read(start.data(), 2);
  EXPECT_EQ("BM", start);
  EXPECT_GT(std::filesystem::file_size(folder / "shot.bmp"), 100000u) << "the whole window";
  EXPECT_EQ(project, standin_app::ReadRecentFiles().at(0)) << "the opened project goes first";
  // With no setting the add-in starts with its window hidden; shut down by the host, it
  // remembers that, which it does only in OnDisconnection.
  EXPECT_EQ(L"0", Setting());

  shot.close();
  std::filesystem::remove_all(folder);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles");
  Regsvr32(L"/u");
}

}  // namespace
