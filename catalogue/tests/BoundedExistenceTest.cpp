// Existence tests with a deadline: which volume a path lives on, and how one load spends its
// waits on shares that do not answer.

#include "catalogue/BoundedExistence.h"

#include <gtest/gtest.h>

#include "catalogue/tests/BlockingFileSystem.h"
#include "platform/Error.h"

namespace {

using std::chrono::milliseconds;

TEST(VolumeOf, NamesTheShareOrDriveWhateverTheSpelling) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"C:\\Projects\\a.vbp", L"C:"},  {L"c:a.vbp", L"C:"},  {L"\\\\?\\d:\\a.vbp", L"D:"},
      {L"\\\\server\\Share\\dir\\a.vbp", L"\\\\SERVER\\SHARE"},  {L"\\Projects\\a.vbp", L""},
      {L"//server/share/a.vbp", L"\\\\SERVER\\SHARE"},  {L"\\\\server", L"\\\\SERVER"},
      {L"\\\\?\\UNC\\server\\share\\a.vbp", L"\\\\SERVER\\SHARE"},  {L"a.vbp", L""},  {L"", L""},
  };
  for (const auto& [path, volume] : cases) EXPECT_EQ(volume, VolumeOf(path)) << path;
}

constexpr BoundedExistence::Limits kLimits{milliseconds(30), milliseconds(60)};

// Each volume's kind is asked once a load; a share is asked within the wait, and one that does not
// answer is missing for the load; once the load's waits are spent, so are shares not heard from.
TEST(BoundedExistence, LocalPathsAreAskedAtOnceAndSharesWithinTheWaitsOfTheLoad) {
  BlockingFileSystem files;
  for (const wchar_t* path : {L"C:\\a.vbp", L"\\\\up\\s\\a.vbp", L"\\\\late\\s\\a.vbp"})
    files.AddFile(path, "");
  files.FailListing(L"\\\\up\\s\\failed.vbp");
  files.FailListing(L"C:\\failed.vbp");
  files.blocked = {L"\\\\D1\\S", L"\\\\D2\\S", L"\\\\D3\\S"};
  BoundedExistence existence(files, kLimits);
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"C:\\a.vbp", true},           {L"c:\\other\\x.vbp", false}, {L"", false},
      {L"\\\\up\\s\\a.vbp", true},    {L"\\\\UP\\S\\c.vbp", false}, {L"\\\\d1\\s\\a.vbp", false},
      {L"\\\\D1\\s\\b.vbp", false},   {L"\\\\?\\UNC\\d1\\S\\c.vbp", false},  // not asked again
      {L"\\\\d2\\s\\a.vbp", false},   {L"\\\\d3\\s\\a.vbp", false},  // the load's waits spent
      {L"\\\\late\\s\\a.vbp", false}, {L"\\\\up\\s\\a.vbp", true}};  // one that answered is asked
  for (const auto& [path, exists] : cases) EXPECT_EQ(exists, existence.Exists(path)) << path;
  EXPECT_THROW(existence.Exists(L"\\\\up\\s\\failed.vbp"), VbError) << "as the listing's own";
  EXPECT_THROW(existence.Exists(L"C:\\failed.vbp"), VbError);
  EXPECT_EQ(6u, files.kindQueries) << "once a volume";
  milliseconds spent{0};
  for (const auto& [path, wait] : files.asked) {
    EXPECT_LE(wait, kLimits.perPath) << path;
    if (path.find(L"\\d") != std::wstring::npos) spent += wait;
  }
  EXPECT_EQ(kLimits.perLoad, spent);
  EXPECT_EQ(6u, files.asked.size()) << "the shares' paths, each through the deadline";

  BoundedExistence nextLoad(files, kLimits);
  EXPECT_TRUE(nextLoad.Exists(L"C:\\a.vbp"));
  EXPECT_FALSE(nextLoad.Exists(L"\\\\d1\\s\\a.vbp"));
  EXPECT_EQ(8u, files.kindQueries) << "a drive may change between loads";
  EXPECT_EQ(7u, files.asked.size()) << "each load asks again";
}

}  // namespace
