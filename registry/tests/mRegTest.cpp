// The registry module over the in-memory registry: how texts are stored and read back, and what
// each failing call makes of a write, a read and a question.

#include <gtest/gtest.h>

#include <map>

#include "platform/CodePage.h"
#include "platform/Error.h"
#include "registry/mReg.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

constexpr wchar_t kKey[] = L"Software\\Marrowby Tests\\Favorites";

class mRegTest : public testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(0u, registry_.OpenHandles()) << "every handle is closed"; }

  void Set(const std::wstring& name, const std::wstring& text) {
    reg_.RegSetKeyValue(kHkeyCurrentUser, kKey, name, text);
  }
  // Values as read, by name; rows that could not be read all under "".
  std::map<std::wstring, std::wstring> Read() {
    std::map<std::wstring, std::wstring> read;
    for (const RegValue& row : reg_.RegGetKeyValues(kHkeyCurrentUser, kKey).value_or(RegValueTable{}))
      read[row.Name] += row.Data + L";";
    return read;
  }
  // Stores bytes as they are, past the module; gives the size then stored under the name.
  std::uint32_t Raw(const char* name, std::uint32_t type = 0, std::string_view bytes = {}) {
    HKey key{};
    registry_.RegCreateKeyExA(kHkeyCurrentUser, "Software\\Marrowby Tests\\Favorites", 0, nullptr,
                              0, reg::kWrite, nullptr, &key, nullptr);
    if (type) registry_.RegSetValueExA(key, name, 0, type, reinterpret_cast<const std::uint8_t*>(
                                           bytes.data()), static_cast<std::uint32_t>(bytes.size()));
    std::uint32_t size = 0;
    registry_.RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size);
    registry_.RegCloseKey(key);
    return size;
  }
  // The number and description of the error a call raises.
  std::pair<long, std::wstring> Raised(const std::function<void()>& call) {
    try {
      call();
    } catch (const VbError& e) {
      return {e.Number(), e.Description()};
    }
    return {0, L"none raised"};
  }

  MemoryRegistry registry_;
  Windows1252CodePage ansi_;
  mReg reg_{registry_, ansi_};
};

TEST_F(mRegTest, TextsGoInAsStringsWithTheirNulAndComeOutAsTextUpToTheFirstNul) {
  EXPECT_FALSE(reg_.RegGetKeyValues(kHkeyCurrentUser, kKey)) << "no key";
  Raw("x");
  EXPECT_FALSE(reg_.RegGetKeyValues(kHkeyCurrentUser, kKey)) << "a key with no values";

  Set(L"1", L"old");
  Set(L"1", L"C:\\Caf\u00e9\\\u20ac uro.vbp");
  Set(L"2", L"");
  Set(L"3", std::wstring(1023, L'd'));
  Set(L"4", std::wstring(1024, L'd'));
  Set(std::wstring(1024, L'n'), L"x");
  Set(L"9", L"C:\\a.vbp");
  EXPECT_EQ(9u, Raw("9")) << "the text and its NUL";
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
                {L"6", L"42;"},             // a number's bytes, as text
                {L"7", L"%TEMP%\\b.vbp;"},  // not expanded
                {L"9", L"C:\\a.vbp;"}}),
            Read());
}

TEST_F(mRegTest, WritesRaiseTheFailingCallsResultReadsGiveNothingAndExistenceMayBeUnknown) {
  const auto del = [&] { reg_.RegDelKey(kHkeyCurrentUser, kKey, L"1"); };
  EXPECT_EQ(std::pair(2L, std::wstring(L"Error 2, Line 0")), Raised(del)) << "no key";
  EXPECT_EQ(std::optional(false), reg_.RegValueExists(kHkeyCurrentUser, kKey, L"1")) << "no key";
  Set(L"1", L"a");
  Set(L"2", L"b");
  EXPECT_EQ(2L, Raised([&] { reg_.RegDelKey(kHkeyCurrentUser, kKey, L"3"); }).first) << "no value";

  const struct {
    const char* call;
    std::int32_t result;
    std::pair<long, std::wstring> setRaises, delRaises;
    std::optional<bool> exists;  // value 1
  } cases[] = {
      {"", 0, {}, {}, true},
      {"RegCreateKeyExA", 5, {mReg::kSetKeyValueError, L"Error 5, Line 0"}, {}, true},
      {"RegSetValueExA", 5, {mReg::kSetKeyValueError, L"Error 5, Line 0"}, {}, true},
      {"RegOpenKeyExA", 161, {}, {161, L"Error 161, Line 0"}, std::nullopt},
      {"RegDeleteValueA", 5, {}, {5, L"Error 5, Line 0"}, true},
      {"RegQueryValueExA", 5, {}, {}, std::nullopt},
      {"RegQueryValueExA", reg::kMoreData, {}, {}, true},
  };
  for (const auto& c : cases) {
    registry_.Fail(c.call, c.result);
    EXPECT_EQ(c.exists, reg_.RegValueExists(kHkeyCurrentUser, kKey, L"1")) << c.call;
    if (c.setRaises.first) { EXPECT_EQ(c.setRaises, Raised([&] { Set(L"1", L"x"); })) << c.call; }
    if (c.delRaises.first) { EXPECT_EQ(c.delRaises, Raised(del)) << c.call; }
  }
  for (const char* call : {"RegOpenKeyA", "RegQueryInfoKeyA"}) {
    registry_.Fail(call, 5);
    EXPECT_FALSE(reg_.RegGetKeyValues(kHkeyCurrentUser, kKey)) << call;
  }
  registry_.Fail("RegEnumValueA", reg::kNoMoreItems, 1);  // the second value vanished meanwhile
  EXPECT_EQ((std::map<std::wstring, std::wstring>{{L"", L";"}, {L"1", L"a;"}}), Read());
}

}  // namespace
