// The registry module when a registry call fails: what a write and a delete raise, what a read
// gives, and when whether a value exists is unknown. How it keeps and reads its texts, and what it
// makes of a missing key or value, the registry contract shows.

#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/Error.h"
#include "registry/mReg.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

constexpr wchar_t kKey[] = L"Software\\Marrowby Tests\\Favorites";

TEST(mReg, AFailingCallRaisesItsResultFromAWriteEmptiesAReadAndMayLeaveExistenceUnknown) {
  MemoryRegistry registry;
  Windows1252CodePage ansi;
  mReg reg{registry, ansi};
  const auto raised = [&](bool set) -> std::wstring {  // number and description, or "none"
    try {
      set ? reg.RegSetKeyValue(kHkeyCurrentUser, kKey, L"1", L"x")
          : reg.RegDelKey(kHkeyCurrentUser, kKey, L"2");
    } catch (const VbError& e) {
      return std::to_wstring(e.Number()) + L" " + e.Description();
    }
    return L"none";
  };
  reg.RegSetKeyValue(kHkeyCurrentUser, kKey, L"1", L"a");
  const struct {
    const char* call;
    std::int32_t result;
    std::optional<bool> exists;
    bool set;             // the write, or the delete
    std::wstring raised;  // by the write or the delete
  } cases[] = {
      {"RegCreateKeyExA", 5, true, true, L"-2147221504 Error 5, Line 0"},
      {"RegSetValueExA", 5, true, true, L"-2147221504 Error 5, Line 0"},
      {"RegOpenKeyExA", 161, std::nullopt, false, L"161 Error 161, Line 0"},
      {"RegDeleteValueA", 5, true, false, L"5 Error 5, Line 0"},
      {"RegQueryValueExA", 5, std::nullopt, false, L"2 Error 2, Line 0"},
      {"RegQueryValueExA", reg::kMoreData, true, false, L"2 Error 2, Line 0"},
  };
  for (const auto& c : cases) {
    registry.Fail(c.call, c.result);
    EXPECT_EQ(c.exists, reg.RegValueExists(kHkeyCurrentUser, kKey, L"1")) << c.call;
    EXPECT_EQ(c.raised, raised(c.set)) << c.call;
  }
  registry.Fail("", 0);
  reg.RegSetKeyValue(kHkeyCurrentUser, kKey, L"2", L"b");
  for (const char* call : {"RegOpenKeyA", "RegQueryInfoKeyA"}) {
    registry.Fail(call, 5);
    EXPECT_FALSE(reg.RegGetKeyValues(kHkeyCurrentUser, kKey)) << call;
  }
  registry.Fail("RegEnumValueA", reg::kNoMoreItems, 1);  // the second value vanished meanwhile
  EXPECT_EQ((RegValueTable{{L"1", L"a"}, {}}), reg.RegGetKeyValues(kHkeyCurrentUser, kKey));
  EXPECT_EQ(0u, registry.OpenHandles()) << "every handle is closed";
}

TEST(mReg, StripNullsCutsATextAtItsFirstNul) {
  EXPECT_EQ(L"C:\\a.vbp", mReg::StripNulls(std::wstring_view(L"C:\\a.vbp\0b\0", 11)));
  EXPECT_EQ(L"C:\\a.vbp", mReg::StripNulls(L"C:\\a.vbp"));
}

}  // namespace
