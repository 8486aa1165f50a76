// The registry module over the in-memory registry: how texts are stored and read back, and what
// each failing call makes of a write, a read and a question.

#include <gtest/gtest.h>

#include <map>

#include "platform/CodePage.h"
#include "platform/Error.h"
#include "registry/mReg.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

constexpr char kPath[] = "Software\\Marrowby Tests\\Favorites";
constexpr wchar_t kKey[] = L"Software\\Marrowby Tests\\Favorites";

class mRegTest : public testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(0u, registry_.OpenHandles()) << "every handle is closed"; }

  void Set(const std::wstring& name, const std::wstring& text) {
    reg_.RegSetKeyValue(kHkeyCurrentUser, kKey, name, text);
  }
  // Values as read, by name; the rows that could not be read all under "".
  std::map<std::wstring, std::wstring> Read() {
    std::map<std::wstring, std::wstring> read;
    for (const RegValue& row : reg_.RegGetKeyValues(kHkeyCurrentUser, kKey).value_or(RegValueTable{}))
      read[row.Name] += row.Data + L";";
    return read;
  }

  MemoryRegistry registry_;
  Windows1252CodePage ansi_;
  mReg reg_{registry_, ansi_};
};

TEST_F(mRegTest, TextsGoInAsStringsWithTheirNulAndComeOutAsTextUpToTheFirstNul) {
  EXPECT_FALSE(reg_.RegGetKeyValues(kHkeyCurrentUser, kKey)) << "no key";
  registry_.Put(kPath, "");
  EXPECT_FALSE(reg_.RegGetKeyValues(kHkeyCurrentUser, kKey)) << "a key with no values";

  Set(L"1", L"C:\\Caf\u00e9\\\u20ac uro.vbp");
  Set(L"2", L"");
  Set(L"3", std::wstring(1023, L'd'));
  Set(L"4", std::wstring(1024, L'd'));
  Set(std::wstring(1024, L'n'), L"x");
  EXPECT_EQ("1:" + std::string("C:\\Caf\xe9\\\x80 uro.vbp") + '\0', registry_.Put(kPath, "1"));
  registry_.Put(kPath, "5", reg::kRegSz, {"C:\\a.vbp\0C:\\b.vbp", 18});
  registry_.Put(kPath, "6", reg::kRegDword, {"42\0\0", 4});
  registry_.Put(kPath, "7", reg::kRegExpandSz, {"%TEMP%\\b.vbp", 13});
  registry_.Put(kPath, "8", reg::kRegSz, std::string(1024, 'd'));  // fills the buffer, no NUL
  EXPECT_EQ((std::map<std::wstring, std::wstring>{
                {L"", L";;;"},  // the values too long to read, as empty rows
                {L"1", L"C:\\Caf\u00e9\\\u20ac uro.vbp;"},
                {L"2", L" ;"},  // empty text is stored as a blank
                {L"3", std::wstring(1023, L'd') + L";"},
                {L"5", L"C:\\a.vbp;"},
                {L"6", L"42;"},             // a number's bytes, as text
                {L"7", L"%TEMP%\\b.vbp;"}}),  // not expanded
            Read());
}

TEST_F(mRegTest, WritesRaiseTheFailingCallsResultReadsGiveNothingAndExistenceMayBeUnknown) {
  const auto raised = [&](bool set) -> std::wstring {  // number and description, or "none"
    try {
      set ? Set(L"1", L"x") : reg_.RegDelKey(kHkeyCurrentUser, kKey, L"2");
    } catch (const VbError& e) {
      return std::to_wstring(e.Number()) + L" " + e.Description();
    }
    return L"none";
  };
  const auto exists = [&] { return reg_.RegValueExists(kHkeyCurrentUser, kKey, L"1"); };
  EXPECT_EQ(L"2 Error 2, Line 0", raised(false)) << "no key";
  EXPECT_EQ(std::optional(false), exists()) << "no key";
  Set(L"1", L"a");
  EXPECT_EQ(L"2 Error 2, Line 0", raised(false)) << "no value";
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
    registry_.Fail(c.call, c.result);
    EXPECT_EQ(c.exists, exists()) << c.call;
    EXPECT_EQ(c.raised, raised(c.set)) << c.call;
  }
  Set(L"2", L"b");
  for (const char* call : {"RegOpenKeyA", "RegQueryInfoKeyA"}) {
    registry_.Fail(call, 5);
    EXPECT_FALSE(reg_.RegGetKeyValues(kHkeyCurrentUser, kKey)) << call;
  }
  registry_.Fail("RegEnumValueA", reg::kNoMoreItems, 1);  // the second value vanished meanwhile
  EXPECT_EQ((std::map<std::wstring, std::wstring>{{L"", L";"}, {L"1", L"a;"}}), Read());
}

}  // namespace
