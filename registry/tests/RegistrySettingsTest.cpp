// The settings store over the in-memory registry: how the texts are kept and read back, what a
// read falls back on, and what a refused write raises.

#include <gtest/gtest.h>

#include <string>

#include "platform/CodePage.h"
#include "platform/Error.h"
#include "registry/RegistrySettings.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

constexpr char kSection[] = "Software\\VB and VBA Program Settings\\Marrowby Tests\\Window";

class RegistrySettingsTest : public testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(0u, registry_.OpenHandles()) << "every handle is closed"; }

  std::wstring Get() { return settings_.GetSetting(L"Marrowby Tests", L"Window", L"Key", L"no"); }
  void Save(std::wstring_view value) {
    settings_.SaveSetting(L"Marrowby Tests", L"Window", L"Key", value);
  }

  MemoryRegistry registry_;
  Windows1252CodePage ansi_;
  RegistrySettings settings_{registry_, ansi_};
};

TEST_F(RegistrySettingsTest, SaveKeepsAStringValueWithItsNulAndReadGivesTheTextUpToTheFirstNul) {
  const std::pair<std::wstring, std::string> saved[] = {
      {L"1", {"1:1\0", 4}}, {L"", {"1:\0", 3}} /* empty, not a blank */, {L"Caf\u00e9", {"1:Caf\xe9\0", 7}}};
  for (const auto& [text, stored] : saved) {
    Save(text);
    EXPECT_EQ(stored, registry_.Put(kSection, "Key"));
    EXPECT_EQ(text, Get());
  }
  const struct {
    std::uint32_t type;
    std::string bytes;
    std::wstring read;
  } stored[] = {
      {reg::kRegSz, "1", L"1"},  // written without its NUL
      {reg::kRegSz, {"1\0junk\0", 7}, L"1"},
      {reg::kRegExpandSz, {"%TEMP%\0", 7}, L"%TEMP%"},
      {reg::kRegSz, "", L""},
      {reg::kRegDword, {"\1\0\0\0", 4}, L"no"},
  };
  for (const auto& c : stored) {
    registry_.Put(kSection, "Key", c.type, c.bytes);
    EXPECT_EQ(c.read, Get()) << c.bytes;
  }
}

TEST_F(RegistrySettingsTest, ReadFallsBackWhenTheKeyOrValueIsMissingOrUnreadable) {
  EXPECT_EQ(L"no", Get()) << "no section key";
  registry_.Put(kSection, "Key");
  EXPECT_EQ(L"no", Get()) << "no value";
  registry_.Put(kSection, "Key", reg::kRegSz, "yes");
  // The calls: open, the size asked, the text read (asked again while it grows meanwhile).
  const struct {
    int call;
    std::int32_t result;
    std::wstring read;
  } cases[] = {{1, 5, L"no"}, {2, 5, L"no"}, {3, 5, L"no"}, {3, reg::kMoreData, L"yes"}};
  for (const auto& c : cases) {
    registry_.FailCall(c.call, c.result);
    EXPECT_EQ(c.read, Get()) << c.call;
  }
}

TEST_F(RegistrySettingsTest, RefusedSaveRaisesAndStoresNothing) {
  for (const char* call : {"RegCreateKeyExA", "RegSetValueExA"}) {
    registry_.Fail(call, reg::kAccessDenied);
    try {
      Save(L"1");
      ADD_FAILURE() << call << ": no error raised";
    } catch (const VbError& e) {
      EXPECT_EQ(std::pair(5, std::wstring(L"SaveSetting")), std::pair(e.Number(), e.Source()));
    }
    registry_.Fail("", 0);
    EXPECT_EQ("none", registry_.Put(kSection, "Key")) << call;
  }
}

}  // namespace
