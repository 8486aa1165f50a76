// The file systems' contract, over every world this build has (memory, and under Windows real
// files through the Win32 API); then what only the Win32 file system does.

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/tests/FileWorld.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/unique_res.h"
#endif

namespace {

using std::chrono::milliseconds;

class FileSystems : public testing::TestWithParam<FileWorldMaker> {};

TEST_P(FileSystems, OnlyNormalFilesExistAndAnyFileReadsWhole) {
  const std::unique_ptr<FileWorld> world = GetParam().make();
  const FileSystem& files = world->Files();
  const std::string bytes("a\r\nb\0c\xff", 7);
  world->AddFile(L"plain.vbp", bytes);
  world->AddFile(L"empty.vbp", "");
  world->AddFile(L"kept.vbp", "r", FileWorld::kReadOnly | FileWorld::kArchive);
  world->AddFile(L"hidden.vbp", "h", FileWorld::kHidden);
  world->AddFile(L"system.vbp", "s", FileWorld::kSystem);
  world->AddDirectory(L"folder.vbp");
  const struct {
    const wchar_t* name;
    bool exists;
    std::optional<std::string> bytes;
  } cases[] = {
      {L"plain.vbp", true, bytes}, {L"PLAIN.VBP", true, bytes},   {L"empty.vbp", true, ""},
      {L"kept.vbp", true, "r"},    {L"hidden.vbp", false, "h"},   {L"system.vbp", false, "s"},
      {L"folder.vbp", false, {}},  {L"none.vbp", false, {}},      {L"no folder\\p.vbp", false, {}},
      {L"*.vbp", false, {}},       {L"plain.vb?", false, {}},
  };
  for (const auto& c : cases) {
    const std::wstring path = world->PathOf(c.name);
    EXPECT_EQ(c.exists, files.IsNormalFile(path)) << c.name;
    EXPECT_EQ(c.exists, files.IsNormalFileWithin(path, milliseconds(60000))) << c.name;
    EXPECT_EQ(c.bytes, files.ReadAll(path, 7)) << c.name;
    const auto size = files.NormalFileSize(path);
    std::string got(9, 'x');  // what a buffer held before takes no part
    EXPECT_EQ(c.exists, size && files.ReadListed(path, *size, 7, got) && got == c.bytes) << c.name;
  }
  std::string got;
  const std::wstring plain = world->PathOf(L"plain.vbp");
  EXPECT_TRUE(files.ReadListed(plain, 1, 7, got) && got == bytes) << "grown since listed";
  EXPECT_FALSE(files.ReadAll(plain, 6) || files.ReadListed(plain, 7, 6, got)) << "over the limit";
  EXPECT_FALSE(files.IsNormalFile(L"")) << "the empty path names no file";
}

INSTANTIATE_TEST_SUITE_P(Worlds, FileSystems, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

#ifdef _WIN32
// Another program holding the file: it reads unless that program shares no reading. Then paths
// the system refuses, devices, and which paths may block.
TEST(Win32FileSystem, AFileHeldElsewhereReadsUnlessLockedDevicesNeverAndSharesMayBlock) {
  const auto world = MakeWin32FileWorld();
  const FileSystem& files = world->Files();
  world->AddFile(L"held.vbp", "Name=A");
  const std::wstring path = world->PathOf(L"held.vbp");
  const std::tuple<DWORD, DWORD, bool> cases[] = {  // access, share, whether it reads
      {GENERIC_READ | GENERIC_WRITE, 0, false},
      {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
      {DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true}};
  for (const auto& [access, share, reads] : cases) {
    unique_file held(
        ::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_TRUE(files.IsNormalFile(path));
    EXPECT_EQ(reads, files.ReadAll(path, 64).has_value()) << access << " shared " << share;
  }

  const std::wstring inside = path + L"\\inside.vbp";  // a file as a folder
  EXPECT_THROW(files.IsNormalFile(inside), VbError);
  EXPECT_THROW(files.IsNormalFileWithin(inside, milliseconds(60000)), VbError);
  EXPECT_FALSE(files.ReadAll(L"C:\\nul", 64) || files.ReadAll(world->PathOf(L"con"), 64));

  wchar_t unused[] = L"Q:\\a.vbp";  // a drive letter with no drive behind it may block
  while (unused[0] < L'Y' && ::GetDriveTypeW(std::wstring(unused, 3).c_str()) != DRIVE_NO_ROOT_DIR)
    ++unused[0];
  const std::pair<std::wstring, bool> paths[] = {
      {path, false}, {L"C:\\a.vbp", false}, {L"\\\\?\\C:\\a.vbp", false},
      {L"a.vbp", false},  // the current drive is a fixed disk
      {L"\\\\server\\share\\a.vbp", true}, {L"\\\\?\\UNC\\server\\share\\a.vbp", true},
      {unused, true}};
  for (const auto& [p, mayBlock] : paths) EXPECT_EQ(mayBlock, files.MayBlock(p)) << p;
}
#endif

}  // namespace
