// The settings store over the in-memory registry: where and how the texts are kept, what a read
// falls back on, and what a refused write raises.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/CodePage.h"
#include "platform/Error.h"
#include "registry/RegistrySettings.h"
#include "registry/tests/FailingRegistry.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

constexpr char kSection[] = "Software\\VB and VBA Program Settings\\Marrowby Tests\\Window";

class RegistrySettingsTest : public testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(0u, registry_.OpenHandles()) << "every handle is closed"; }

  std::wstring Get(std::wstring_view key) {
    return settings_.GetSetting(L"Marrowby Tests", L"Window", key, L"fallback");
  }
  void Save(std::wstring_view key, std::wstring_view value) {
    settings_.SaveSetting(L"Marrowby Tests", L"Window", key, value);
  }

  // The value as stored: its type and bytes, or none.
  std::optional<std::pair<std::uint32_t, std::string>> Stored(const char* name) {
    HKey key{};
    if (registry_.RegOpenKeyExA(kHkeyCurrentUser, kSection, 0, reg::kRead, &key) != 0) return {};
    char data[64];
    std::uint32_t type = 0, size = sizeof data;
    const auto result = registry_.RegQueryValueExA(key, name, nullptr, &type,
                                                   reinterpret_cast<std::uint8_t*>(data), &size);
    registry_.RegCloseKey(key);
    if (result != 0) return {};
    return std::pair(type, std::string(data, size));
  }
  void Store(const char* name, std::uint32_t type, std::string_view bytes) {
    HKey key{};
    ASSERT_EQ(0, registry_.RegCreateKeyExA(kHkeyCurrentUser, kSection, 0, nullptr, 0, reg::kWrite,
                                           nullptr, &key, nullptr));
    registry_.RegSetValueExA(key, name, 0, type,
                             reinterpret_cast<const std::uint8_t*>(bytes.data()),
                             static_cast<std::uint32_t>(bytes.size()));
    registry_.RegCloseKey(key);
  }

  MemoryRegistry registry_;
  FailingRegistry failing_{registry_};
  Windows1252CodePage ansi_;
  RegistrySettings settings_{failing_, ansi_};
};

TEST_F(RegistrySettingsTest, SaveKeepsTheTextAsAStringValueOfTheSectionKeyInPlaceOfTheLast) {
  const struct {
    std::wstring text;
    std::string bytes;
  } cases[] = {
      {L"1", std::string("1\0", 2)},
      {L"", std::string("\0", 1)},  // empty, not a blank
      {L"Caf\u00e9", std::string("Caf\xe9\0", 5)},
  };
  for (const auto& c : cases) {
    Save(L"DisplayOnConnect", c.text);
    EXPECT_EQ(std::pair(reg::kRegSz, c.bytes), Stored("DisplayOnConnect"));
    EXPECT_EQ(c.text, Get(L"DisplayOnConnect"));
  }
}

TEST_F(RegistrySettingsTest, ReadGivesTheTextUpToItsFirstNul) {
  const struct {
    std::uint32_t type;
    std::string bytes;
    std::wstring expected;
  } cases[] = {
      {reg::kRegSz, "1", L"1"},  // written without its NUL
      {reg::kRegSz, std::string("1\0junk\0", 7), L"1"},
      {reg::kRegExpandSz, std::string("%TEMP%\0", 7), L"%TEMP%"},
      {reg::kRegSz, "", L""},
      {reg::kRegDword, std::string("\1\0\0\0", 4), L"fallback"},
  };
  for (const auto& c : cases) {
    Store("Key", c.type, c.bytes);
    EXPECT_EQ(c.expected, Get(L"Key")) << c.bytes;
  }
}

TEST_F(RegistrySettingsTest, ReadFallsBackWhenTheKeyOrValueIsMissingOrUnreadable) {
  EXPECT_EQ(L"fallback", Get(L"Key")) << "no section key";
  Store("Other", reg::kRegSz, std::string("x\0", 2));
  EXPECT_EQ(L"fallback", Get(L"Key")) << "no value";
  Store("Key", reg::kRegSz, std::string("x\0", 2));
  for (const char* call : {"RegOpenKeyExA", "RegQueryValueExA"}) {
    failing_.Fail(call, reg::kAccessDenied);
    EXPECT_EQ(L"fallback", Get(L"Key")) << call;
  }
}

TEST_F(RegistrySettingsTest, RefusedSaveRaisesAndStoresNothing) {
  for (const char* call : {"RegCreateKeyExA", "RegSetValueExA"}) {
    failing_.Fail(call, reg::kAccessDenied);
    try {
      Save(L"Key", L"1");
      ADD_FAILURE() << call << ": no error raised";
    } catch (const VbError& e) {
      EXPECT_EQ(5, e.Number()) << call;
      EXPECT_EQ(L"SaveSetting", e.Source());
    }
    EXPECT_FALSE(Stored("Key")) << call;
  }
}

}  // namespace
