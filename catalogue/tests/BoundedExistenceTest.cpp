// Existence tests with a deadline: which volume a path lives on, and how one load spends its
// waits on shares that do not answer.

#include "catalogue/BoundedExistence.h"

#include <gtest/gtest.h>

#include "catalogue/tests/BlockingFileSystem.h"
#include "platform/Error.h"

namespace {

using std::chrono::milliseconds;

TEST(VolumeOf, NamesTheShareOrDriveWhateverTheSpelling) {
  const struct {
    const wchar_t* path;
    const wchar_t* volume;
  } cases[] = {
      {L"C:\\Projects\\a.vbp", L"C:"},
      {L"c:a.vbp", L"C:"},
      {L"\\\\?\\d:\\a.vbp", L"D:"},
      {L"\\\\server\\Share\\dir\\a.vbp", L"\\\\SERVER\\SHARE"},
      {L"//server/share/a.vbp", L"\\\\SERVER\\SHARE"},
      {L"\\\\?\\UNC\\server\\share\\a.vbp", L"\\\\SERVER\\SHARE"},
      {L"\\\\server", L"\\\\SERVER"},
      {L"a.vbp", L""},
      {L"\\Projects\\a.vbp", L""},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.volume, VolumeOf(c.path)) << c.path;
}

class Bounded : public testing::Test {
 protected:
  static constexpr BoundedExistence::Limits kLimits{milliseconds(30), milliseconds(60)};

  BlockingFileSystem files_;
  BoundedExistence existence_{files_, kLimits};
};

TEST_F(Bounded, LocalPathsAreAskedAtOnceAndSharesWithADeadline) {
  files_.Files().AddFile(L"C:\\a.vbp", "");
  files_.Files().AddFile(L"\\\\up\\s\\b.vbp", "");
  files_.Files().AddFile(L"\\\\up\\s\\hidden.vbp", "", MemoryFileSystem::kHidden);
  EXPECT_TRUE(existence_.Exists(L"C:\\a.vbp"));
  EXPECT_TRUE(existence_.Exists(L"\\\\up\\s\\b.vbp"));
  EXPECT_FALSE(existence_.Exists(L"\\\\up\\s\\hidden.vbp"));
  EXPECT_FALSE(existence_.Exists(L"\\\\up\\s\\none.vbp"));
  EXPECT_FALSE(existence_.Exists(L""));
  ASSERT_EQ(3u, files_.Asked().size());
  EXPECT_EQ(milliseconds(30), files_.Asked()[0].second);
}

TEST_F(Bounded, AShareThatDoesNotAnswerIsMissingForTheRestOfTheLoad) {
  files_.Files().AddFile(L"\\\\down\\s\\a.vbp", "");
  files_.Block(L"\\\\DOWN\\S");
  EXPECT_FALSE(existence_.Exists(L"\\\\down\\s\\a.vbp")) << "the query hangs";
  EXPECT_FALSE(existence_.Exists(L"\\\\DOWN\\s\\b.vbp"));
  EXPECT_FALSE(existence_.Exists(L"\\\\?\\UNC\\down\\S\\c.vbp"));
  EXPECT_EQ(1u, files_.Asked().size()) << "later paths on the share are not asked";

  BoundedExistence nextLoad(files_, kLimits);
  EXPECT_FALSE(nextLoad.Exists(L"\\\\down\\s\\a.vbp"));
  EXPECT_EQ(2u, files_.Asked().size()) << "each load asks again";
}

TEST_F(Bounded, MissedWaitsAreCappedForTheWholeLoad) {
  files_.Files().AddFile(L"\\\\up\\s\\a.vbp", "");
  files_.Files().AddFile(L"\\\\late\\s\\a.vbp", "");
  for (const wchar_t* share : {L"\\\\D1\\S", L"\\\\D2\\S", L"\\\\D3\\S"}) files_.Block(share);
  EXPECT_TRUE(existence_.Exists(L"\\\\up\\s\\a.vbp"));
  EXPECT_FALSE(existence_.Exists(L"\\\\d1\\s\\a.vbp"));
  EXPECT_FALSE(existence_.Exists(L"\\\\d2\\s\\a.vbp"));
  EXPECT_FALSE(existence_.Exists(L"\\\\d3\\s\\a.vbp"));
  EXPECT_FALSE(existence_.Exists(L"\\\\late\\s\\a.vbp"))
      << "a share not heard from yet is not asked once the load's waits are spent";
  EXPECT_TRUE(existence_.Exists(L"\\\\up\\s\\a.vbp")) << "one that answered still is";

  milliseconds spent{0};
  for (const auto& [path, wait] : files_.Asked()) {
    EXPECT_LE(wait, kLimits.perPath) << path;
    if (path.find(L"\\d") != std::wstring::npos) spent += wait;
  }
  EXPECT_EQ(kLimits.perLoad, spent);
  EXPECT_EQ(4u, files_.Asked().size());
}

TEST_F(Bounded, WhetherAVolumeMayBlockIsAskedOnceALoad) {
  files_.Files().AddFile(L"C:\\a.vbp", "");
  files_.Files().AddFile(L"\\\\up\\s\\b.vbp", "");
  EXPECT_TRUE(existence_.Exists(L"C:\\a.vbp"));
  EXPECT_FALSE(existence_.Exists(L"c:\\other\\x.vbp"));
  EXPECT_TRUE(existence_.Exists(L"\\\\up\\s\\b.vbp"));
  EXPECT_FALSE(existence_.Exists(L"\\\\UP\\S\\c.vbp"));
  EXPECT_EQ(2u, files_.KindQueries());
  EXPECT_EQ(2u, files_.Asked().size()) << "the share's paths still go through the deadline";

  BoundedExistence nextLoad(files_, kLimits);
  EXPECT_TRUE(nextLoad.Exists(L"C:\\a.vbp"));
  EXPECT_EQ(3u, files_.KindQueries()) << "a drive may change between loads";
}

TEST_F(Bounded, AFailedQueryIsRaisedAsTheListingsOwn) {
  files_.Files().FailListing(L"\\\\up\\s\\a.vbp");
  files_.Files().FailListing(L"C:\\a.vbp");
  EXPECT_THROW(existence_.Exists(L"\\\\up\\s\\a.vbp"), VbError);
  EXPECT_THROW(existence_.Exists(L"C:\\a.vbp"), VbError);
}

}  // namespace
