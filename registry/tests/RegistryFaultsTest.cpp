// The registry module and the settings store when a registry call fails: what a write or a save
// raises, what a setting reads as, and when whether a value exists is unknown. How they keep and
// read their texts, what they make of a missing key or value, and what a delete raises, the
// registry contract shows; the key values' fuzz target fails the calls of a key's reading.

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
  enum Step { kExists, kWrite, kSave, kRead };
  // What the step gives, or the error it raised: whether "1" exists, writing it, saving it as a
  // setting and reading it.
  const auto answer = [&](Step step) -> std::wstring {
    try {
      switch (step) {
        case kExists: {
          const auto exists = reg.RegValueExists(kHkeyCurrentUser, key, L"1");
          return exists ? std::to_wstring(*exists) : L"unknown";
        }
        case kWrite: return reg.RegSetKeyValue(kHkeyCurrentUser, key, L"1", L"a"), L"none";
        case kSave: return settings.SaveSetting(app, L"W", L"1", L"a"), L"none";
        case kRead: return settings.GetSetting(app, L"W", L"1", L"no");
      }
    } catch (const VbError& e) {
      return std::to_wstring(e.Number()) + L" " + e.Source() + L": " + e.Description();
    }
    return L"";
  };
  const struct {
    int n;  // the nth call from now answers result
    std::int32_t result;
    Step step;
    std::wstring answer;
  } cases[] = {
      {2, 5, kWrite, L"-2147221504 RegSetKeyValue: Error 5, Line 0"},  // setting the value
      {1, 161, kExists, L"unknown"},
      {2, 5, kExists, L"unknown"},
      {2, reg::kMoreData, kExists, L"1"},
      {2, 5, kSave, L"5 SaveSetting: Invalid procedure call or argument"},
      {3, 5, kRead, L"no"},               // reading the text, once its size is known
      {3, reg::kMoreData, kRead, L"a"},   // it grew meanwhile: asked again
  };
  for (const auto& c : cases) {
    registry.FailCall(c.n, c.result);
    EXPECT_EQ(c.answer, answer(c.step)) << c.n << " " << c.result;
  }
  registry.FailCall(0);
  EXPECT_EQ(0u, registry.OpenHandles()) << "every handle is closed";
}

}  // namespace
