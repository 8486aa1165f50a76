// The settings store when a registry call fails: what a read falls back on, and what a refused
// write raises. How it keeps and reads its texts the registry contract shows.

#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/Error.h"
#include "registry/RegistrySettings.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

TEST(RegistrySettings, AFailedReadFallsBackAndARefusedSaveRaisesAndKeepsTheEarlierText) {
  MemoryRegistry registry;
  Windows1252CodePage ansi;
  RegistrySettings settings{registry, ansi};
  const auto get = [&] { return settings.GetSetting(L"Marrowby Tests", L"W", L"Key", L"no"); };
  settings.SaveSetting(L"Marrowby Tests", L"W", L"Key", L"yes");
  // The calls: open, the size asked, the text read (asked again while it grows meanwhile).
  const struct {
    int call;
    std::int32_t result;
    std::wstring read;
  } cases[] = {{1, 5, L"no"}, {2, 5, L"no"}, {3, 5, L"no"}, {3, reg::kMoreData, L"yes"}};
  for (const auto& c : cases) {
    registry.FailCall(c.call, c.result);
    EXPECT_EQ(c.read, get()) << c.call;
  }
  for (const char* call : {"RegCreateKeyExA", "RegSetValueExA"}) {
    registry.Fail(call, reg::kAccessDenied);
    try {
      settings.SaveSetting(L"Marrowby Tests", L"W", L"Key", L"1");
      ADD_FAILURE() << call << ": no error raised";
    } catch (const VbError& e) {
      EXPECT_EQ(std::pair(5, std::wstring(L"SaveSetting")), std::pair(e.Number(), e.Source()));
    }
    registry.Fail("", 0);
    EXPECT_EQ(L"yes", get()) << call;
  }
  EXPECT_EQ(0u, registry.OpenHandles()) << "every handle is closed";
}

}  // namespace
