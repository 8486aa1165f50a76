// standin.exe as a user starts it: with the add-in registered and a project named on its command
// line, it loads the add-in, opens the project, saves its picture and closes, disconnecting the
// add-in on the way out.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "server/tests/TheDll.h"
#include "standin/app/RecentFiles.h"

namespace {

TEST(StandIn, LoadsTheAddInOpensTheProjectSavesAPictureAndDisconnectsAtExit) {
  ASSERT_EQ(0u, Regsvr32(L""));
  const auto folder = std::filesystem::temp_directory_path() / "standin-test";
  std::filesystem::create_directories(folder);
  const std::wstring project = (folder / "Sample.vbp").wstring();
  std::ofstream(folder / "Sample.vbp") << "Type=Exe\nName=\"Sample\"\n";
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kShownSettingKey);

  EXPECT_EQ(0u, RunToEnd(L"\"" + WindowsPath(STANDIN_EXE_PATH) + L"\" --screenshot \"" +
                    (folder / "shot.bmp").wstring() + L"\" \"" + project + L"\""));
  EXPECT_GT(std::filesystem::file_size(folder / "shot.bmp"), 100000u) << "the whole window";
  EXPECT_EQ(project, standin_app::ReadRecentFiles().at(0)) << "the opened project goes first";
  // With no setting the add-in starts with its window hidden; shut down by the host, it
  // remembers that, which it does only in OnDisconnection.
  EXPECT_EQ(L"0", Setting());
  std::filesystem::remove_all(folder);
  Regsvr32(L"/u");
}

TEST(StandIn, TheRecentListPutsTheOpenedProjectFirstOnceAndKeepsTen) {
  using List = std::vector<std::wstring>;
  EXPECT_EQ((List{L"C:\\a.vbp", L"C:\\b.vbp"}),
            standin_app::WithNewest({L"C:\\b.vbp", L"C:\\A.VBP"}, L"C:\\a.vbp"));
  List full;
  for (int i = 0; i < 10; ++i) full.push_back(L"C:\\" + std::to_wstring(i) + L".vbp");
  const List kept = standin_app::WithNewest(full, L"C:\\new.vbp");
  EXPECT_EQ((List{L"C:\\new.vbp", L"C:\\0.vbp"}), List(kept.begin(), kept.begin() + 2));
  EXPECT_EQ(10u, kept.size()) << "the oldest goes";
}

}  // namespace
