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

  void Set(const std::wstring& name, const std::wstring& text) {
    reg_->RegSetKeyValue(kHkeyCurrentUser, key_, name, text);
  }
  // Values as read, by name.
  std::map<std::wstring, std::wstring> Read() {
    std::map<std::wstring, std::wstring> read;
    for (const RegValue& row : reg_->RegGetKeyValues(kHkeyCurrentUser, key_).value_or(RegValueTable{}))
      read[row.Name] += row.Data + L";";
    return read;
  }
  // Stores bytes as they are, past the module, and gives the type and size then stored under
  // the name.
  std::pair<std::uint32_t, std::uint32_t> Raw(const char* name, std::uint32_t type = 0,
                                              std::string_view bytes = {}) {
    HKey key{};
    const std::string path = world_->Root() + "\\Favorites";
    EXPECT_EQ(0, world_->Api().RegCreateKeyExA(kHkeyCurrentUser, path.c_str(), 0, nullptr, 0,
                                               reg::kWrite | reg::kRead, nullptr, &key, nullptr));
    if (type)
      world_->Api().RegSetValueExA(key, name, 0, type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   static_cast<std::uint32_t>(bytes.size()));
    std::uint32_t storedType = 0, size = 4096;
    std::uint8_t data[4096];
    world_->Api().RegQueryValueExA(key, name, nullptr, &storedType, data, &size);
    world_->Api().RegCloseKey(key);
    return {storedType, size};
  }
  // The number and description of the error a call raises.
  template <typename F>
  std::pair<long, std::wstring> Raised(F&& call) {
    try {
      call();
    } catch (const VbError& e) {
      return {e.Number(), e.Description()};
    }
    return {0, L"none raised"};
  }

  std::unique_ptr<RegistryWorld> world_;
  std::unique_ptr<FailingRegistry> failing_;
  std::unique_ptr<mReg> reg_;
  std::wstring key_;
};

TEST_P(mRegTest, TextsGoInAsStringsWithTheirNulAndComeOutAsTextUpToTheFirstNul) {
  EXPECT_FALSE(reg_->RegGetKeyValues(kHkeyCurrentUser, key_)) << "no key";
  Raw("x");
  EXPECT_FALSE(reg_->RegGetKeyValues(kHkeyCurrentUser, key_)) << "a key with no values";

  Set(L"1", L"old");
  Set(L"1", L"C:\\Caf\u00e9\\\u20ac uro.vbp");
  Set(L"2", L"");
  Set(L"3", std::wstring(1023, L'd'));
  Set(L"4", std::wstring(1024, L'd'));
  Set(std::wstring(1024, L'n'), L"x");
  Set(L"9", L"C:\\a.vbp");
  EXPECT_EQ(std::pair(reg::kRegSz, 9u), Raw("9")) << "the text and its NUL";
  Raw("5", reg::kRegSz, std::string_view("C:\\a.vbp\0C:\\b.vbp", 18));
  Raw("6", reg::kRegDword, std::string_view("42\0\0", 4));
  Raw("7", reg::kRegExpandSz, std::string_view("%TEMP%\\b.vbp", 13));
  Raw("8", reg::kRegSz, std::string(1024, 'd'));  // fills the buffer, with no NUL
  EXPECT_EQ((std::map<std::wstring, std::wstring>{
                {L"", L";;;"},  // the values too long to read, as empty rows
                {L"1", L"C:\\Caf\u00e9\\\u20ac uro.vbp;"},
                {L"2", L" ;"},  // empty text is stored as a blank
                {L"3", std::wstring(1023, L'd') + L";"},
                {L"5", L"C:\\a.vbp;"},
                {L"6", L"42;"},  // a number's bytes, as text
                {L"7", L"%TEMP%\\b.vbp;"},  // not expanded
                {L"9", L"C:\\a.vbp;"}}),
            Read());
}

TEST_P(mRegTest, WritesAndDeletesRaiseTheCallsResultAndReadsNeverRaise) {
  EXPECT_EQ(std::pair(2L, std::wstring(L"Error 2, Line 0")),
            Raised([&] { reg_->RegDelKey(kHkeyCurrentUser, key_, L"1"); }))
      << "no key";
  Set(L"1", L"a");
  Set(L"2", L"b");
  EXPECT_EQ(2L, Raised([&] { reg_->RegDelKey(kHkeyCurrentUser, key_, L"3"); }).first) << "no value";

  const struct {
    const char* call;
    std::int32_t result;
    std::function<void()> run;
    std::pair<long, std::wstring> raised;
  } writes[] = {
      {"RegCreateKeyExA", 5, [&] { Set(L"1", L"x"); }, {-2147221504, L"Error 5, Line 0"}},
      {"RegSetValueExA", 5, [&] { Set(L"1", L"x"); }, {-2147221504, L"Error 5, Line 0"}},
      {"RegDeleteValueA", 5, [&] { reg_->RegDelKey(kHkeyCurrentUser, key_, L"1"); }, {5, L"Error 5, Line 0"}},
      {"RegOpenKeyExA", 161, [&] { reg_->RegDelKey(kHkeyCurrentUser, key_, L"1"); }, {161, L"Error 161, Line 0"}},
  };
  for (const auto& w : writes) {
    failing_->Fail(w.call, w.result);
    EXPECT_EQ(w.raised, Raised(w.run)) << w.call;
  }
  for (const char* call : {"RegOpenKeyA", "RegQueryInfoKeyA"}) {
    failing_->Fail(call, 5);
    EXPECT_FALSE(reg_->RegGetKeyValues(kHkeyCurrentUser, key_)) << call;
  }
  failing_->Fail("RegEnumValueA", reg::kNoMoreItems, 1);  // the second value vanished meanwhile
  EXPECT_EQ((std::map<std::wstring, std::wstring>{{L"", L";"}, {L"1", L"a;"}}), Read());
}

TEST_P(mRegTest, ValueExistsTellsAPresentValueFromAnAbsentOneAndFromNoAnswer) {
  const auto exists = [&](const wchar_t* name) {
    return reg_->RegValueExists(kHkeyCurrentUser, key_, name);
  };
  EXPECT_EQ(std::optional(false), exists(L"1")) << "no key";
  Set(L"1", std::wstring(2000, L'd'));
  EXPECT_EQ(std::optional(true), exists(L"1")) << "too long to read, and there all the same";
  EXPECT_EQ(std::optional(false), exists(L"2"));
  for (const char* call : {"RegOpenKeyExA", "RegQueryValueExA"}) {
    failing_->Fail(call, 5);
    EXPECT_EQ(std::nullopt, exists(L"2")) << call;
  }
}

INSTANTIATE_TEST_SUITE_P(Registries, mRegTest, testing::ValuesIn(RegistryWorlds()),
                         [](const auto& info) { return info.param.name; });

TEST(StripNulls, CutsAtTheFirstNulOnly) {
  const struct {
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
