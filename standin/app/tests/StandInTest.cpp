// standin.exe as a user starts it: with the add-in registered and a project named on its command
// line, it loads the add-in, opens the project, saves its picture and closes, disconnecting the
// add-in on the way out.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "server/tests/TheDll.h"
#include "standin/app/RecentFiles.h"
#include "platform/win32/unique_res.h"

namespace {

using standin_app::WithNewest;
using List = std::vector<std::wstring>;

TEST(RecentList, TheNewPathGoesFirstOnceAndTheListKeepsTen) {
  struct Case {
    List before;
    const wchar_t* path;
    List after;
  } cases[] = {
      {{}, L"C:\\a.vbp", {L"C:\\a.vbp"}},
      {{L"C:\\a.vbp", L"C:\\b.vbp"}, L"C:\\c.vbp", {L"C:\\c.vbp", L"C:\\a.vbp", L"C:\\b.vbp"}},
      {{L"C:\\a.vbp", L"C:\\B.VBP", L"C:\\c.vbp"}, L"c:\\b.vbp",
       {L"c:\\b.vbp", L"C:\\a.vbp", L"C:\\c.vbp"}},
      {{L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10"}, L"new",
       {L"new", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9"}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.after, WithNewest(c.before, c.path)) << c.path;
}

constexpr wchar_t kSettingKey[] =
    L"Software\\VB and VBA Program Settings\\Microsoft Visual Basic AddIns\\Skeldra";
constexpr wchar_t kRecentKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles";

std::wstring WindowsPath(const wchar_t* linuxPath) {
  std::wstring path = std::wstring(L"Z:") + linuxPath;
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

void WriteRecent(const List& list) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kRecentKey);
  for (std::size_t i = 0; i < list.size(); ++i)
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kRecentKey, std::to_wstring(i + 1).c_str(), REG_SZ,
                      list[i].c_str(), static_cast<DWORD>((list[i].size() + 1) * sizeof(wchar_t)));
}

std::wstring Setting() {
  wchar_t data[64] = {};
  DWORD size = sizeof data;
  if (::RegGetValueW(HKEY_CURRENT_USER, kSettingKey, L"DisplayOnConnect", RRF_RT_REG_SZ, nullptr,
                     data, &size) != ERROR_SUCCESS)
    return L"(none)";
  return data;
}

std::string FileStart(const std::wstring& path, DWORD* size) {
  unique_file file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
  *size = file ? ::GetFileSize(file.get(), nullptr) : 0;
  char start[2] = {};
  DWORD read = 0;
  if (file) ::ReadFile(file.get(), start, 2, &read, nullptr);
  return std::string(start, read);
}

class StandIn : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(0u, Regsvr32(L"")); }
  static void TearDownTestSuite() { Regsvr32(L"/u"); }

  void SetUp() override {
    savedRecent_ = standin_app::ReadRecentFiles();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingKey);
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"standin-test-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    project_ = folder_ + L"\\Sample.vbp";
    picture_ = folder_ + L"\\shot.bmp";
    unique_file file(::CreateFileW(project_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   0, nullptr));
    const char text[] = "Type=Exe\r\nName=\"Sample\"\r\n";
    DWORD written = 0;
    ::WriteFile(file.get(), text, sizeof text - 1, &written, nullptr);
  }
  void TearDown() override {
    WriteRecent(savedRecent_);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingKey);
    ::DeleteFileW(project_.c_str());
    ::DeleteFileW(picture_.c_str());
    ::RemoveDirectoryW(folder_.c_str());
  }

  // Runs standin.exe with the arguments to its end; its exit code, or ~0u when it did not end.
  DWORD RunStandIn(const std::wstring& arguments) {
    std::wstring command = L"\"" + WindowsPath(STANDIN_EXE_PATH) + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
      return ~0u;
    unique_handle thread(process.hThread), handle(process.hProcess);
    if (::WaitForSingleObject(handle.get(), 120000) != WAIT_OBJECT_0) {
      ::TerminateProcess(handle.get(), 99);
      return ~0u;
    }
    DWORD code = ~0u;
    ::GetExitCodeProcess(handle.get(), &code);
    return code;
  }

  List savedRecent_;
  std::wstring folder_, project_, picture_;
};

TEST_F(StandIn, LoadsTheAddInOpensTheProjectSavesAPictureAndDisconnectsAtExit) {
  WriteRecent({L"C:\\old\\Other.vbp", project_});

  ASSERT_EQ(0u, RunStandIn(L"--screenshot \"" + picture_ + L"\" \"" + project_ + L"\""));

  DWORD size = 0;
  EXPECT_EQ("BM", FileStart(picture_, &size));
  EXPECT_GT(size, 100000u) << "a 24-bit picture of the whole window";
  EXPECT_EQ((List{project_, L"C:\\old\\Other.vbp"}), standin_app::ReadRecentFiles())
      << "the opened project goes first, once";
  // With no setting the add-in starts with its window hidden; shut down by the host, it
  // remembers that, which it does only in OnDisconnection.
  EXPECT_EQ(L"0", Setting());
}

}  // namespace
