// The registry module and the settings store when a registry call fails: what a write, a delete or
// a save raises, what a read gives, and when whether a value exists is unknown. How they keep and
// read their texts, and what they make of a missing key or value, the registry contract shows.

#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/Error.h"
#include "registry/RegistrySettings.h"
#include "registry/mReg.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

TEST(RegistryFaults, AFailedCallRaisesFromAWriteEmptiesAReadAndMayLeaveExistenceUnknown) {
  MemoryRegistry registry;
  const Windows1252CodePage ansi;
  mReg reg{registry, ansi};
  RegistrySettings settings{registry, ansi};
  const std::wstring app = L"Marrowby Tests", key = RegistrySettings::SectionPath(app, L"W");
  reg.RegSetKeyValue(kHkeyCurrentUser, key, L"1", L"a");
  reg.RegSetKeyValue(kHkeyCurrentUser, key, L"2", L"b");
  enum Step { kExists, kWrite, kDelete, kRows, kSave, kRead };
  // What the step gives, or the error it raised: whether "1" exists, writing it, deleting "3"
  // (there is none), the key's rows, saving "1" as a setting and reading it.
  const auto answer = [&](Step step) -> std::wstring {
    try {
      switch (step) {
        case kExists: {
          const auto exists = reg.RegValueExists(kHkeyCurrentUser, key, L"1");
          return exists ? std::to_wstring(*exists) : L"unknown";
        }
        case kWrite: return reg.RegSetKeyValue(kHkeyCurrentUser, key, L"1", L"a"), L"none";
        case kDelete: return reg.RegDelKey(kHkeyCurrentUser, key, L"3"), L"none";
        case kRows: {
          const auto table = reg.RegGetKeyValues(kHkeyCurrentUser, key);
          std::wstring rows = table ? L"rows:" : L"none";
          for (const RegValue& row : table.value_or(RegValueTable{}))
            rows += L" " + row.Name + L"=" + row.Data;
          return rows;
        }
        case kSave: return settings.SaveSetting(app, L"W", L"1", L"a"), L"none";
        case kRead: return settings.GetSetting(app, L"W", L"1", L"no");
      }
    } catch (const VbError& e) {
      return std::to_wstring(e.Number()) + L" " + e.Source() + L": " + e.Description();
    }
    return L"";
  };
  const struct {
    const char* call;  // failing from the (skip + 1)th call on; none: the nth call from now fails
    std::int32_t result;
    int skip;
    Step step;
    std::wstring answer;
  } cases[] = {
      {"RegCreateKeyExA", 5, 0, kWrite, L"-2147221504 RegSetKeyValue: Error 5, Line 0"},
      {"RegSetValueExA", 5, 0, kWrite, L"-2147221504 RegSetKeyValue: Error 5, Line 0"},
      {"RegOpenKeyExA", 161, 0, kExists, L"unknown"},
      {"RegOpenKeyExA", 161, 0, kDelete, L"161 RegDelKey: Error 161, Line 0"},
      {"RegDeleteValueA", 5, 0, kDelete, L"5 RegDelKey: Error 5, Line 0"},
      {"RegQueryValueExA", 5, 0, kExists, L"unknown"},
      {"RegQueryValueExA", reg::kMoreData, 0, kExists, L"1"},
      {"RegOpenKeyA", 5, 0, kRows, L"none"},
      {"RegQueryInfoKeyA", 5, 0, kRows, L"none"},
      {"RegEnumValueA", reg::kNoMoreItems, 1, kRows, L"rows: 1=a ="},  // the second one vanished
      {"RegCreateKeyExA", 5, 0, kSave, L"5 SaveSetting: Invalid procedure call or argument"},
      {"RegSetValueExA", 5, 0, kSave, L"5 SaveSetting: Invalid procedure call or argument"},
      {nullptr, 5, 1, kRead, L"no"},  // opening the key
      {nullptr, 5, 2, kRead, L"no"},  // asking the size
      {nullptr, 5, 3, kRead, L"no"},  // reading the text
      {nullptr, reg::kMoreData, 3, kRead, L"a"},  // it grew meanwhile: asked again
  };
  for (const auto& c : cases) {
    c.call ? registry.Fail(c.call, c.result, c.skip) : registry.FailCall(c.skip, c.result);
    EXPECT_EQ(c.answer, answer(c.step)) << (c.call ? c.call : "call ") << c.skip;
    registry.Fail("", 0);
    registry.FailCall(0);
  }
  EXPECT_EQ(0u, registry.OpenHandles()) << "every handle is closed";
}

}  // namespace
