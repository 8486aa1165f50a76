// The registry module over every registry this build has, and its failure paths over a registry
// that fails the call a test names.

#include <gtest/gtest.h>

#include <map>

#include "platform/Error.h"
#include "registry/mReg.h"
#include "registry/tests/FailingRegistry.h"
#include "registry/tests/RegistryWorld.h"

namespace {

class mRegTest : public testing::TestWithParam<RegistryWorldMaker> {
 protected:
  void SetUp() override {
    world_ = GetParam().make();
    failing_ = std::make_unique<FailingRegistry>(world_->Api());
    reg_ = std::make_unique<mReg>(*failing_, world_->Ansi());
    key_ = std::wstring(world_->Root().begin(), world_->Root().end()) + L"\\Favorites";
  }
  void TearDown() override {
    if (auto open = world_->OpenHandles()) {
      EXPECT_EQ(0u, *open) << "every handle opened is closed";
    }
  }

  std::optional<RegValueTable> Values() { return reg_->RegGetKeyValues(kHkeyCurrentUser, key_); }

  // The error a call raises, or a default one when it raises none.
  template <typename F>
  VbError Raised(F&& call) {
    try {
      call();
    } catch (const VbError& e) {
      return e;
    }
    ADD_FAILURE() << "no error raised";
    return VbError(0, L"", L"");
  }

  std::unique_ptr<RegistryWorld> world_;
  std::unique_ptr<FailingRegistry> failing_;
  std::unique_ptr<mReg> reg_;
  std::wstring key_;
};

TEST_P(mRegTest, SetCreatesTheKeyAndItsParentsThenReadsBack) {
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_ + L"\\Deeper", L"1", L"C:\\p\\one.vbp");
  auto table = reg_->RegGetKeyValues(kHkeyCurrentUser, key_ + L"\\Deeper");
  ASSERT_TRUE(table);
  EXPECT_EQ((RegValueTable{{L"1", L"C:\\p\\one.vbp"}}), *table);
}

TEST_P(mRegTest, SetReplacesAnExistingValueAndStoresEmptyTextAsABlank) {
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"1", L"old");
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"1", L"new");
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"2", L"");
  auto table = Values();
  ASSERT_TRUE(table);
  ASSERT_EQ(2u, table->size());
  EXPECT_EQ((RegValue{L"1", L"new"}), (*table)[0].Name == L"1" ? (*table)[0] : (*table)[1]);
  EXPECT_EQ((RegValue{L"2", L" "}), (*table)[0].Name == L"2" ? (*table)[0] : (*table)[1]);
}

TEST_P(mRegTest, TextsCrossTheRegistryInTheAnsiCodePage) {
  const std::wstring path = L"C:\\Caf\u00e9\\\u20ac uro.vbp";
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"1", path);
  auto table = Values();
  ASSERT_TRUE(table);
  EXPECT_EQ(path, (*table)[0].Data);
}

TEST_P(mRegTest, ReadingAMissingOrEmptyKeyGivesNoTable) {
  EXPECT_FALSE(Values());
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"1", L"x");
  reg_->RegDelKey(kHkeyCurrentUser, key_, L"1");
  EXPECT_FALSE(Values()) << "the key is there, with no values";
}

TEST_P(mRegTest, ReadingGivesOneRowPerValue) {
  for (const wchar_t* n : {L"3", L"1", L"2"}) reg_->RegSetKeyValue(kHkeyCurrentUser, key_, n, n);
  auto table = Values();
  ASSERT_TRUE(table);
  ASSERT_EQ(3u, table->size());
  for (const RegValue& row : *table) EXPECT_EQ(row.Name, row.Data);
  if (world_->KeepsCreationOrder()) {
    EXPECT_EQ(L"3", (*table)[0].Name);
  }
}

TEST_P(mRegTest, DataIsCutAtItsFirstNul) {
  HKey key{};
  const std::string root = world_->Root() + "\\Favorites";
  ASSERT_EQ(0, world_->Api().RegCreateKeyExA(kHkeyCurrentUser, root.c_str(), 0, nullptr, 0,
                                             reg::kWrite, nullptr, &key, nullptr));
  const char data[] = "C:\\a.vbp\0C:\\b.vbp";
  ASSERT_EQ(0, world_->Api().RegSetValueExA(key, "1", 0, reg::kRegSz,
                                            reinterpret_cast<const std::uint8_t*>(data),
                                            sizeof data));
  world_->Api().RegCloseKey(key);
  auto table = Values();
  ASSERT_TRUE(table);
  EXPECT_EQ(L"C:\\a.vbp", (*table)[0].Data);
}

TEST_P(mRegTest, SetWritesTextWithItsNulAndReadingTakesAnyTypeAsText) {
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"1", L"C:\\a.vbp");
  HKey key{};
  const std::string root = world_->Root() + "\\Favorites";
  ASSERT_EQ(0, world_->Api().RegOpenKeyExA(kHkeyCurrentUser, root.c_str(), 0, reg::kRead | reg::kWrite,
                                           &key));
  std::uint32_t type = 0, size = 64;
  std::uint8_t data[64] = {};
  EXPECT_EQ(0, world_->Api().RegQueryValueExA(key, "1", nullptr, &type, data, &size));
  EXPECT_EQ(reg::kRegSz, type);
  EXPECT_EQ(9u, size) << "the text and its NUL";

  const struct {
    const char* name;
    std::uint32_t type;
    std::string data;
  } others[] = {{"2", reg::kRegDword, std::string("42\0\0", 4)},
                {"3", reg::kRegExpandSz, std::string("%TEMP%\\b.vbp", 13)}};
  for (const auto& o : others)
    ASSERT_EQ(0, world_->Api().RegSetValueExA(key, o.name, 0, o.type,
                                              reinterpret_cast<const std::uint8_t*>(o.data.data()),
                                              static_cast<std::uint32_t>(o.data.size())));
  world_->Api().RegCloseKey(key);
  auto table = Values();
  ASSERT_TRUE(table);
  std::map<std::wstring, std::wstring> read;
  for (const RegValue& row : *table) read[row.Name] = row.Data;
  EXPECT_EQ(L"42", read[L"2"]) << "a number's bytes, as text";
  EXPECT_EQ(L"%TEMP%\\b.vbp", read[L"3"]) << "not expanded";
}

TEST_P(mRegTest, AValueTooLongForItsBufferGivesAnEmptyRowAndTheOthersStay) {
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"1", std::wstring(1023, L'd'));
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"2", std::wstring(1024, L'd'));
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, std::wstring(1024, L'n'), L"x");
  auto table = Values();
  ASSERT_TRUE(table);
  ASSERT_EQ(3u, table->size());
  int full = 0, empty = 0;
  for (const RegValue& row : *table) {
    if (row.Name == L"1" && row.Data.size() == 1023) ++full;
    if (row.Name.empty() && row.Data.empty()) ++empty;
  }
  EXPECT_EQ(1, full);
  EXPECT_EQ(2, empty);
}

TEST_P(mRegTest, DataStoredWithoutItsNulThatFillsTheBufferIsTooLong) {
  HKey key{};
  const std::string root = world_->Root() + "\\Favorites";
  ASSERT_EQ(0, world_->Api().RegCreateKeyExA(kHkeyCurrentUser, root.c_str(), 0, nullptr, 0,
                                             reg::kWrite, nullptr, &key, nullptr));
  const std::string fills(1024, 'd');  // 1024 characters and no NUL
  const std::string fits = std::string(1023, 'd') + '\0';
  for (const auto& [name, data] : {std::pair{"1", fills}, std::pair{"2", fits}}) {
    ASSERT_EQ(0, world_->Api().RegSetValueExA(key, name, 0, reg::kRegSz,
                                              reinterpret_cast<const std::uint8_t*>(data.data()),
                                              static_cast<std::uint32_t>(data.size())));
  }
  world_->Api().RegCloseKey(key);
  auto table = Values();
  ASSERT_TRUE(table);
  ASSERT_EQ(2u, table->size());
  const bool firstIsTwo = (*table)[0].Name == L"2";
  EXPECT_EQ(RegValue{}, (*table)[firstIsTwo ? 1 : 0]);
  EXPECT_EQ((RegValue{L"2", std::wstring(1023, L'd')}), (*table)[firstIsTwo ? 0 : 1]);
}

TEST_P(mRegTest, DeletingAMissingValueOrFromAMissingKeyRaisesTheRegistryResult) {
  VbError noKey = Raised([&] { reg_->RegDelKey(kHkeyCurrentUser, key_, L"1"); });
  EXPECT_EQ(2, noKey.Number());
  EXPECT_EQ(L"RegDelKey", noKey.Source());
  EXPECT_EQ(L"Error 2, Line 0", noKey.Description());

  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"1", L"x");
  VbError noValue = Raised([&] { reg_->RegDelKey(kHkeyCurrentUser, key_, L"2"); });
  EXPECT_EQ(2, noValue.Number());
  EXPECT_EQ(L"Error 2, Line 0", noValue.Description());
  EXPECT_TRUE(Values()) << "the other value is still there";
}

TEST_P(mRegTest, FailuresToSetRaiseTheObjectErrorWithTheCallsResult) {
  for (const char* call : {"RegCreateKeyExA", "RegSetValueExA"}) {
    failing_->Fail(call, 5);
    VbError e = Raised([&] { reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"1", L"x"); });
    EXPECT_EQ(-2147221504, e.Number()) << call;
    EXPECT_EQ(L"RegSetKeyValue", e.Source());
    EXPECT_EQ(L"Error 5, Line 0", e.Description());
    if (auto open = world_->OpenHandles()) {
      EXPECT_EQ(0u, *open) << call;
    }
  }
}

TEST_P(mRegTest, AFailedDeleteClosesTheKeyAndRaises) {
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"1", L"x");
  failing_->Fail("RegDeleteValueA", 5);
  EXPECT_EQ(5, Raised([&] { reg_->RegDelKey(kHkeyCurrentUser, key_, L"1"); }).Number());
  failing_->Fail("RegOpenKeyExA", 161);
  EXPECT_EQ(L"Error 161, Line 0",
            Raised([&] { reg_->RegDelKey(kHkeyCurrentUser, key_, L"1"); }).Description());
}

TEST_P(mRegTest, ReadingNeverRaises) {
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"1", L"a");
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"2", L"b");

  failing_->Fail("RegOpenKeyA", 5);
  EXPECT_FALSE(Values());
  failing_->Fail("RegQueryInfoKeyA", 5);
  EXPECT_FALSE(Values());

  failing_->Fail("RegEnumValueA", reg::kNoMoreItems, 1);  // the second value vanished meanwhile
  auto table = Values();
  ASSERT_TRUE(table);
  ASSERT_EQ(2u, table->size());
  EXPECT_FALSE((*table)[0].Name.empty());
  EXPECT_EQ((RegValue{}), (*table)[1]);
}

TEST_P(mRegTest, ValueExistsTellsAPresentValueFromAnAbsentOneAndFromNoAnswer) {
  const auto exists = [&](const wchar_t* name) {
    return reg_->RegValueExists(kHkeyCurrentUser, key_, name);
  };
  EXPECT_EQ(std::optional(false), exists(L"1")) << "no key";
  reg_->RegSetKeyValue(kHkeyCurrentUser, key_, L"1", std::wstring(2000, L'd'));
  EXPECT_EQ(std::optional(true), exists(L"1")) << "too long to read, and there all the same";
  EXPECT_EQ(std::optional(false), exists(L"2"));

  failing_->Fail("RegOpenKeyExA", 5);
  EXPECT_EQ(std::nullopt, exists(L"2"));
  failing_->Fail("RegQueryValueExA", 5);
  EXPECT_EQ(std::nullopt, exists(L"2"));
}

INSTANTIATE_TEST_SUITE_P(Registries, mRegTest, testing::ValuesIn(RegistryWorlds()),
                         [](const auto& info) { return info.param.name; });

TEST(StripNulls, CutsAtTheFirstNulOnly) {
  struct {
    std::wstring in, out;
  } cases[] = {
      {L"", L""},
      {L"plain", L"plain"},
      {std::wstring(L"a\0b", 3), L"a"},
      {std::wstring(L"\0b", 2), L""},
      {std::wstring(L"ab\0\0", 4), L"ab"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.out, mReg::StripNulls(c.in));
}

}  // namespace
