// The registry calls as the add-in relies on them: one run of calls, its answers written down
// step by step, against every registry this build has (the in-memory one everywhere, advapi32
// itself under Windows). Both must give the answers below, which are the real registry's.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "registry/tests/RegistryWorld.h"

namespace {

using Strings = std::vector<std::string>;

// Bytes quoted, with their NULs shown; a long run by its length.
std::string Q(const std::string& s) {
  if (s.size() > 40) return "\"" + std::to_string(s.size()) + " bytes\"";
  std::string shown = "\"";
  for (char c : s) shown += c == '\0' ? std::string("\\0") : std::string(1, c);
  return shown + "\"";
}
template <typename N>
std::string Num(N n) { return std::to_string(n); }

class Script {
 public:
  explicit Script(RegistryWorld& world) : api_(world.Api()), root_(world.Root()) {}
  ~Script() {
    for (HKey key : open_) api_.RegCloseKey(key);
  }

  // The answers are given in a braced list, which C++ evaluates from left to right.
  void Log(const std::string& step, std::initializer_list<std::string> answers) {
    std::string line = step + ":";
    for (const std::string& answer : answers) line += " " + answer;
    lines.push_back(line);
  }

  std::string Path(const std::string& below) const { return root_ + "\\" + below; }
  std::int32_t Create(const std::string& below, HKey* key, std::uint32_t* disposition = nullptr) {
    const std::int32_t r = api_.RegCreateKeyExA(kHkeyCurrentUser, Path(below).c_str(), 0, nullptr, 0,
                                                reg::kWrite | reg::kRead, nullptr, key, disposition);
    if (r == 0) open_.push_back(*key);
    return r;
  }
  HKey Open(const std::string& below, std::uint32_t access) {
    HKey key{};
    if (api_.RegOpenKeyExA(kHkeyCurrentUser, Path(below).c_str(), 0, access, &key) == 0)
      open_.push_back(key);
    return key;
  }
  std::int32_t Set(HKey key, const std::string& name, std::string_view bytes,
                   std::uint32_t type = reg::kRegSz) {
    return api_.RegSetValueExA(key, name.c_str(), 0, type,
                               reinterpret_cast<const std::uint8_t*>(bytes.data()),
                               static_cast<std::uint32_t>(bytes.size()));
  }
  std::int32_t SetText(HKey key, const std::string& name, const std::string& text) {
    return Set(key, name, std::string_view(text.c_str(), text.size() + 1));
  }
  // Result, then name, type and data when the call succeeds.
  std::string Enum(HKey key, std::uint32_t index) {
    char name[1025];
    std::uint8_t data[1025];
    std::uint32_t nameSize = 1024, dataSize = 1024, type = 0;
    const std::int32_t r = api_.RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize);
    if (r != 0) return Num(r);
    return "0 " + Q(std::string(name, nameSize)) + " " + Num(type) + " " +
           Q(std::string(reinterpret_cast<char*>(data), dataSize));
  }
  // Result and size, with the type and data when the call succeeds.
  std::string Query(HKey key, const char* name) {
    std::uint8_t buffer[1025];
    std::uint32_t type = 99, size = 1024;
    const std::int32_t r = api_.RegQueryValueExA(key, name, nullptr, &type, buffer, &size);
    if (r != 0) return Num(r) + " " + Num(size);
    return "0 " + Num(type) + " " + Num(size) + " " + Q(std::string(reinterpret_cast<char*>(buffer), size));
  }
  // Subkeys, values, the longest value name, the class's size and text.
  std::string Info(HKey key) {
    char cls[64] = "garbage";
    std::uint32_t clsSize = 64, subKeys = 99, values = 99, maxName = 99;
    const std::int32_t r = api_.RegQueryInfoKeyA(key, cls, &clsSize, nullptr, &subKeys, nullptr,
                                                 nullptr, &values, &maxName, nullptr, nullptr, nullptr);
    return Num(r) + " " + Num(subKeys) + " " + Num(values) + " " + Num(maxName) + " " +
           Num(clsSize) + " " + Q(std::string(cls));
  }

  RegistryApi& api_;
  Strings lines;

 private:
  std::string root_;
  std::vector<HKey> open_;
};

Strings Answers(RegistryWorld& world) {
  Script s(world);
  RegistryApi& api = s.api_;
  HKey key{}, other{};
  std::uint32_t disposition = 0;
  s.Log("create with parents", {Num(s.Create("a\\b\\c", &key, &disposition)), Num(disposition)});
  s.Log("create again", {Num(s.Create("a\\b\\c", &other, &disposition)), Num(disposition)});
  s.Log("names ignore case", {Num(s.Open("A\\B", reg::kRead) != HKey{})});
  HKey untouched = static_cast<HKey>(0x1234);
  s.Log("open missing",
        {Num(api.RegOpenKeyExA(kHkeyCurrentUser, s.Path("none").c_str(), 0, reg::kWrite, &untouched)),
         Num(api.RegOpenKeyA(kHkeyCurrentUser, s.Path("none").c_str(), &untouched)),
         Num(untouched == static_cast<HKey>(0x1234))});
  s.Log("leading backslash", {Num(api.RegCreateKeyExA(kHkeyCurrentUser, ("\\" + s.Path("x")).c_str(), 0,
                                                      nullptr, 0, reg::kWrite, nullptr, &other, nullptr))});
  s.Log("empty parts", {Num(s.Create("double\\\\part", &other)), Num(s.Create("trailing\\", &other)),
                        Num(s.Open("double\\part", reg::kRead) != HKey{}),
                        Num(s.Open("trailing", reg::kRead) != HKey{})});

  s.Create("list", &key);
  s.Log("no values", {s.Info(key), s.Enum(key, 0)});
  s.SetText(key, "3", "C:\\three.vbp");
  s.SetText(key, "1", "C:\\one.vbp");
  s.SetText(key, "2", "C:\\two.vbp");
  Strings listed;
  for (std::uint32_t i = 0; i < 4; ++i) listed.push_back(s.Enum(key, i));
  // Wine lists values sorted by name; Windows, like the in-memory registry, in creation order.
  if (!world.KeepsCreationOrder()) std::rotate(listed.begin(), listed.begin() + 2, listed.begin() + 3);
  for (const auto& line : listed) s.Log("enumerated", {line});
  s.Create("list\\child", &other);
  s.Log("info", {s.Info(key)});

  s.Create("edit", &key);
  s.Log("set twice", {Num(s.SetText(key, "Path", "old")), Num(s.SetText(key, "PATH", "new")),
                      s.Enum(key, 0), s.Enum(key, 1)});
  s.Log("delete", {Num(api.RegDeleteValueA(key, "path")), Num(api.RegDeleteValueA(key, "Path")),
                   Num(api.RegDeleteValueA(key, "never"))});
  s.Log("nuls kept", {Num(s.Set(key, "v", std::string_view("first\0second\0", 13))), s.Enum(key, 0)});
  s.Log("dword", {Num(s.Set(key, "v", std::string_view("\x01\x2A\0\x80", 4), reg::kRegDword)),
                  s.Enum(key, 0), s.Query(key, "V")});
  s.Log("name of 1023", {Num(api.RegDeleteValueA(key, "v")),
                         Num(s.SetText(key, std::string(1023, 'n'), "x")), s.Enum(key, 0).substr(0, 2)});
  s.Log("name of 1024", {Num(api.RegDeleteValueA(key, std::string(1023, 'n').c_str())),
                         Num(s.SetText(key, std::string(1024, 'n'), "x")), s.Enum(key, 0)});
  s.Create("data", &key);
  s.Log("data of 1024", {Num(s.SetText(key, "d", std::string(1023, 'd'))), s.Enum(key, 0).substr(0, 1),
                         s.Query(key, "d").substr(0, 1)});
  s.Log("data of 1025", {Num(s.SetText(key, "d", std::string(1024, 'd'))), s.Enum(key, 0), s.Query(key, "d")});
  std::uint32_t type = 0, size = 0;
  s.Log("measure", {Num(api.RegQueryValueExA(key, "d", nullptr, &type, nullptr, &size)), Num(type), Num(size)});

  s.Create("query", &key);
  // RegSetValueExA counts a NUL the caller left out when one follows the data, so the text stored
  // bare must be followed by something else.
  s.SetText(key, "terminated", "C:\\Tools");
  s.Set(key, "bare", std::string_view("C:\\Tools|").substr(0, 8));
  s.Set(key, "empty", "");
  s.Log("query", {s.Query(key, "TERMINATED"), s.Query(key, "bare"), s.Query(key, "empty"),
                  s.Query(key, "none")});
  std::uint32_t reserved = 0;
  std::uint8_t data[16];
  s.Log("bad arguments", {Num(api.RegQueryValueExA(key, "bare", &reserved, &type, data, &size)),
                          Num(api.RegQueryValueExA(key, "bare", nullptr, &type, data, nullptr))});

  key = s.Open("query", reg::kWrite);
  s.Log("write only", {Num(s.SetText(key, "2", "y")), Num(api.RegDeleteValueA(key, "2")),
                       s.Enum(key, 0), s.Query(key, "bare")});
  key = s.Open("query", reg::kRead);
  s.Log("read only", {Num(s.SetText(key, "2", "y")), Num(api.RegDeleteValueA(key, "bare")),
                      s.Enum(key, 0).substr(0, 1), s.Query(key, "bare").substr(0, 1)});
  HKey reader{};
  s.Log("old open", {Num(api.RegOpenKeyA(kHkeyCurrentUser, s.Path("query").c_str(), &reader)),
                     s.Info(reader), Num(api.RegCloseKey(reader))});
  return s.lines;
}

const Strings kAnswers = {
    "create with parents: 0 1",
    "create again: 0 2",
    "names ignore case: 1",
    "open missing: 2 2 1",
    "leading backslash: 161",
    "empty parts: 0 0 1 1",
    "no values: 0 0 0 0 0 \"\" 259",
    "enumerated: 0 \"3\" 1 \"C:\\three.vbp\\0\"",
    "enumerated: 0 \"1\" 1 \"C:\\one.vbp\\0\"",
    "enumerated: 0 \"2\" 1 \"C:\\two.vbp\\0\"",
    "enumerated: 259",
    "info: 0 1 3 1 0 \"\"",
    "set twice: 0 0 0 \"Path\" 1 \"new\\0\" 259",
    "delete: 0 2 2",
    "nuls kept: 0 0 \"v\" 1 \"first\\0second\\0\"",
    "dword: 0 0 \"v\" 4 \"\x01*\\0\x80\" 0 4 4 \"\x01*\\0\x80\"",
    "name of 1023: 0 0 0 ",
    "name of 1024: 0 0 234",
    "data of 1024: 0 0 0",
    "data of 1025: 0 234 234 1025",
    "measure: 0 1 1025",
    "query: 0 1 9 \"C:\\Tools\\0\" 0 1 8 \"C:\\Tools\" 0 1 0 \"\" 2 1024",
    "bad arguments: 87 87",
    "write only: 0 0 5 5 1024",
    "read only: 5 5 0 0",
    "old open: 0 0 0 3 10 0 \"\" 0",
};

class RegistryContract : public testing::TestWithParam<RegistryWorldMaker> {};

TEST_P(RegistryContract, AnswersAsTheRealRegistry) {
  const auto world = GetParam().make();
  const Strings answers = Answers(*world);
  EXPECT_EQ(kAnswers, answers);
  if (world->OpenHandles()) EXPECT_EQ(0u, *world->OpenHandles()) << "every handle was closed";
}

INSTANTIATE_TEST_SUITE_P(Registries, RegistryContract, testing::ValuesIn(RegistryWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
