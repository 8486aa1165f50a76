// The registry as the add-in relies on it: one run of calls, its answers written down step by step,
// against every registry this build has (the in-memory one everywhere, advapi32 itself under
// Windows). Both must give the answers below, which are the real registry's. The texts go in and
// come out through the registry module and the settings store, so the run shows at once what the
// registry does and what those make of it; raw calls show the bytes kept, and the answers those two
// never take.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Error.h"
#include "registry/RegistrySettings.h"
#include "registry/mReg.h"
#include "registry/tests/MemoryRegistry.h"

#ifdef _WIN32
#include <windows.h>

#include "registry/win32/Advapi32Registry.h"
#undef RegSetKeyValue  // the system's name for its own call, which would rename the module's
#endif

namespace {

using Strings = std::vector<std::wstring>;

std::wstring N(std::int64_t n) { return std::to_wstring(n); }
// A text, or a long one by its length.
std::wstring Shown(const std::wstring& text) {
  return text.size() > 30 ? N(text.size()) + L" long" : text;
}
// Bytes quoted, a character each, their NULs shown.
std::wstring Bytes(std::string_view bytes) {
  std::wstring shown;
  for (const unsigned char c : bytes) shown += c ? std::wstring(1, c) : L"\\0";
  return L"\"" + shown + L"\"";
}

// The keys go below those of the settings of the application named app.
Strings Answers(RegistryApi& api, const std::string& appName) {
  const Windows1252CodePage ansi;
  mReg reg(api, ansi);
  RegistrySettings settings(api, ansi);
  const std::wstring app(appName.begin(), appName.end());
  const auto path = [&](const wchar_t* key) { return RegistrySettings::SectionPath(app, key); };
  const auto set = [&](const std::wstring& name, const std::wstring& text) {
    reg.RegSetKeyValue(kHkeyCurrentUser, path(L"list"), name, text);
  };
  const auto rows = [&](const wchar_t* key) {  // "name=data;" a row, or "none"
    const auto table = reg.RegGetKeyValues(kHkeyCurrentUser, path(key));
    std::wstring shown = table ? L"" : L"none";
    for (const RegValue& row : table.value_or(RegValueTable{}))
      shown += Shown(row.Name) + L"=" + Shown(row.Data) + L";";
    return shown;
  };
  const auto exists = [&](const wchar_t* key, const wchar_t* name) {
    const auto found = reg.RegValueExists(kHkeyCurrentUser, path(key), name);
    return found ? N(*found) : L"unknown";
  };
  const auto del = [&](const wchar_t* key, const wchar_t* name) {  // the number raised, or 0
    try {
      return reg.RegDelKey(kHkeyCurrentUser, path(key), name), N(0);
    } catch (const VbError& e) {
      return N(e.Number());
    }
  };
  // The raw calls, on the key last made.
  std::vector<HKey> opened;
  const auto make = [&](const wchar_t* key) {
    api.RegCreateKeyExA(kHkeyCurrentUser, ansi.ToAnsi(path(key)).c_str(), 0, nullptr, 0,
                        reg::kWrite | reg::kRead, nullptr, &opened.emplace_back(), nullptr);
  };
  const auto put = [&](const char* name, std::uint32_t type, std::string_view bytes) {
    api.RegSetValueExA(opened.back(), name, 0, type,
                       reinterpret_cast<const std::uint8_t*>(bytes.data()),
                       static_cast<std::uint32_t>(bytes.size()));
  };
  // The result and size, then the type and bytes.
  const auto query = [&](const char* name, std::uint32_t size) {
    std::string data(size, '\0');
    std::uint32_t type = 0;
    const auto r = api.RegQueryValueExA(opened.back(), name, nullptr, &type,
                                        reinterpret_cast<std::uint8_t*>(data.data()), &size);
    return N(r) + L" " + N(size) + (r ? L"" : L": " + N(type) + L" " + Bytes(data.substr(0, size)));
  };
  const auto get = [&](const wchar_t* key, const wchar_t* name) {
    return Shown(settings.GetSetting(app, key, name, L"no"));
  };

  // A step's answers, in order: a braced list evaluates from left to right.
  Strings lines;
  const auto log = [&](std::wstring line, std::initializer_list<std::wstring> answers) {
    for (const std::wstring& answer : answers) line += L" " + answer;
    lines.push_back(line);
  };
  reg.RegSetKeyValue(kHkeyCurrentUser, path(L"A\\B"), L"v", L"x");  // with its parents
  log(L"keys:", {rows(L"a\\b"), rows(L"a"), rows(L"x"), exists(L"x", L"v"), exists(L"A\\b", L"V"),
                 exists(L"a\\b", L"w")});
  // Made in the order of their names, which Wine enumerates them in, Windows in creation order.
  set(L"1", L"C:\\Caf\u00e9\\\u20ac uro.vbp");
  set(L"2", L"");
  set(L"3", std::wstring(1023, L'3'));
  set(L"4", std::wstring(1024, L'4'));
  set(std::wstring(1023, L'5'), L"x");
  set(std::wstring(1024, L'6'), L"x");
  make(L"list");
  put("7", reg::kRegSz, {"C:\\a.vbp\0C:\\b.vbp", 18});
  put("a", reg::kRegSz, std::string(1024, 'a'));  // fills the buffer, without a NUL
  set(L"p", L"old");
  set(L"P", L"new");
  log(L"values:", {rows(L"list")});
  log(L"stored:", {query("1", 1024), query("2", 1024), query("P", 3)});
  log(L"delete:", {del(L"list", L"P"), del(L"list", L"p"), del(L"x", L"p"), exists(L"list", L"p")});

  settings.SaveSetting(app, L"settings", L"1", L"Caf\u00e9");
  settings.SaveSetting(app, L"settings", L"2", L"");
  make(L"settings");
  put("3", reg::kRegSz, "3");  // without its NUL
  put("4", reg::kRegSz, {"4\0junk\0", 7});
  put("5", reg::kRegExpandSz, {"%TEMP%\0", 7});
  put("6", reg::kRegDword, {"\1\0\0\0", 4});
  log(L"settings:", {get(L"settings", L"1"), get(L"settings", L"2"), get(L"settings", L"3"),
                     get(L"settings", L"4"), get(L"settings", L"5"), get(L"settings", L"6"),
                     get(L"settings", L"7"), get(L"none", L"1")});
  log(L"saved:", {query("1", 1024), query("2", 1024)});
  for (HKey h : opened) api.RegCloseKey(h);
  return lines;
}

const Strings kAnswers = {
    L"keys: v=x; none none 0 1 0",
    L"values: 1=C:\\Caf\u00e9\\\u20ac uro.vbp;2= ;3=1023 long;=;1023 long=x;=;7=C:\\a.vbp;=;p=new;",
    L"stored: 0 18: 1 \"C:\\Caf\u00e9\\\x80 uro.vbp\\0\" 0 2: 1 \" \\0\" 234 4",
    L"delete: 0 2 2 0",
    L"settings: Caf\u00e9  3 4 %TEMP% no no no",
    L"saved: 0 5: 1 \"Caf\u00e9\\0\" 0 1: 1 \"\\0\"",
};

TEST(RegistryContract, TheInMemoryRegistryAndAdvapi32AnswerAsTheRealRegistry) {
  MemoryRegistry memory;
  EXPECT_EQ(kAnswers, Answers(memory, "Marrowby Tests"));
#ifdef _WIN32
  // The real registry's keys: those of a test application of this process's own, removed after.
  const std::string app = "Marrowby Tests " + std::to_string(::GetCurrentProcessId());
  Advapi32Registry advapi32;
  EXPECT_EQ(kAnswers, Answers(advapi32, app));
  ::RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\VB and VBA Program Settings\\" + app).c_str());
#endif
}

}  // namespace
