// What the file systems do beyond the reader's own tests: failures of the listing and the read.

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/tests/MemoryFileSystem.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/tests/FileWorld.h"
#include "platform/win32/unique_res.h"
#endif

namespace {

TEST(MemoryFileSystem, FailuresAreThoseOfARealDisk) {
  MemoryFileSystem files;
  files.AddFile(L"C:\\a.vbp", "x");
  files.FailReading(L"C:\\A.VBP");
  EXPECT_TRUE(files.IsNormalFile(L"c:\\a.vbp"));
  EXPECT_FALSE(files.ReadAll(L"C:\\a.vbp"));
  files.FailListing(L"C:\\a.vbp");
  EXPECT_THROW(files.IsNormalFile(L"C:\\a.vbp"), VbError);
}

#ifdef _WIN32
class Win32Files : public testing::Test {
 protected:
  std::unique_ptr<FileWorld> world_ = MakeWin32FileWorld();
};

TEST_F(Win32Files, ReadsTheExactBytes) {
  const std::string bytes("a\r\nb\0c\xff", 7);
  world_->AddFile(L"bytes.vbp", bytes);
  EXPECT_EQ(bytes, world_->Files().ReadAll(world_->PathOf(L"bytes.vbp")));
  world_->AddFile(L"empty.vbp", "");
  EXPECT_EQ(std::string(), world_->Files().ReadAll(world_->PathOf(L"empty.vbp")));
  EXPECT_FALSE(world_->Files().ReadAll(world_->PathOf(L"none.vbp")));
}

// Another program holding the file: it reads unless that program shares no reading.
TEST_F(Win32Files, AFileOpenElsewhereReadsUnlessItsReadingIsLocked) {
  const struct {
    DWORD access, share;
    bool reads;
  } cases[] = {
      {GENERIC_READ | GENERIC_WRITE, 0, false},
      {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
      {GENERIC_WRITE, FILE_SHARE_READ, true},
      {DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true},
  };
  world_->AddFile(L"held.vbp", "Name=A");
  const std::wstring path = world_->PathOf(L"held.vbp");
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.access << " shared " << c.share);
    unique_file held(::CreateFileW(path.c_str(), c.access, c.share, nullptr, OPEN_EXISTING, 0,
                                   nullptr));
    ASSERT_TRUE(held);
    EXPECT_TRUE(world_->Files().IsNormalFile(path));
    EXPECT_EQ(c.reads ? std::optional<std::string>("Name=A") : std::nullopt,
              world_->Files().ReadAll(path));
  }
}

TEST_F(Win32Files, AMissingFolderIsAbsentAndAMalformedPathRaises) {
  EXPECT_FALSE(world_->Files().IsNormalFile(world_->PathOf(L"no folder\\p.vbp")));
  EXPECT_FALSE(world_->Files().ReadAll(world_->PathOf(L"no folder\\p.vbp")));
  world_->AddFile(L"plain.vbp", "Name=A");
  EXPECT_THROW(world_->Files().IsNormalFile(world_->PathOf(L"plain.vbp\\inside.vbp")), VbError)
      << "a file used as a folder is a malformed path";
}

TEST_F(Win32Files, SharesMayBlockAndFixedDisksDoNot) {
  const FileSystem& files = world_->Files();
  EXPECT_FALSE(files.MayBlock(world_->PathOf(L"a.vbp")));
  EXPECT_FALSE(files.MayBlock(L"C:\\a.vbp"));
  EXPECT_FALSE(files.MayBlock(L"\\\\?\\C:\\a.vbp"));
  EXPECT_FALSE(files.MayBlock(L"a.vbp")) << "the current drive is a fixed disk";
  EXPECT_TRUE(files.MayBlock(L"\\\\server\\share\\a.vbp"));
  EXPECT_TRUE(files.MayBlock(L"\\\\?\\UNC\\server\\share\\a.vbp"));
  wchar_t unused[] = L"?:\\";
  for (wchar_t letter = L'Q'; letter <= L'Y'; ++letter) {
    unused[0] = letter;
    if (::GetDriveTypeW(unused) == DRIVE_NO_ROOT_DIR) {
      EXPECT_TRUE(files.MayBlock(std::wstring(unused) + L"a.vbp")) << "no such drive";
      break;
    }
  }
}

TEST_F(Win32Files, ABoundedTestOnAWorkerAnswersAsTheListingDoes) {
  const FileSystem& files = world_->Files();
  world_->AddFile(L"plain.vbp", "Name=A");
  world_->AddFile(L"hidden.vbp", "Name=A", FILE_ATTRIBUTE_HIDDEN);
  const auto wait = std::chrono::milliseconds(60000);
  EXPECT_EQ(true, files.IsNormalFileWithin(world_->PathOf(L"plain.vbp"), wait));
  EXPECT_EQ(false, files.IsNormalFileWithin(world_->PathOf(L"hidden.vbp"), wait));
  EXPECT_EQ(false, files.IsNormalFileWithin(world_->PathOf(L"none.vbp"), wait));
  EXPECT_EQ(false, files.IsNormalFileWithin(L"", wait));
  EXPECT_THROW(files.IsNormalFileWithin(world_->PathOf(L"plain.vbp\\inside.vbp"), wait), VbError);
}

TEST_F(Win32Files, DevicesAreNeverRead) {
  EXPECT_FALSE(world_->Files().ReadAll(L"C:\\nul"));
  EXPECT_FALSE(world_->Files().ReadAll(world_->PathOf(L"con")));
}
#endif

}  // namespace
