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
std::string Q(const char* p, std::size_t n) {
  if (n > 40) return "\"" + std::to_string(n) + " bytes\"";
  std::string shown = "\"";
  for (const char c : std::string_view(p, n)) shown += c ? std::string(1, c) : "\\0";
  return shown + "\"";
}
std::string N(std::int64_t n) { return std::to_string(n); }

// The steps, each a line of answers (a braced list evaluates from left to right).
Strings Answers(RegistryWorld& world) {
  RegistryApi& api = world.Api();
  Strings lines;
  std::vector<HKey> opened;
  const auto log = [&](const char* step, std::initializer_list<std::string> answers) {
    std::string line = step;
    for (const std::string& answer : answers) line += " " + answer;
    lines.push_back(line);
  };
  const auto path = [&](const std::string& below) { return world.root + "\\" + below; };
  HKey key{};
  const auto create = [&](const std::string& below) {
    const auto r = api.RegCreateKeyExA(kHkeyCurrentUser, path(below).c_str(), 0, nullptr, 0,
                                       reg::kWrite | reg::kRead, nullptr, &key, nullptr);
    if (r == 0) opened.push_back(key);
    return N(r);
  };
  const auto open = [&](const std::string& below) {  // by both calls
    HKey old{}, ex{};
    const auto r = api.RegOpenKeyA(kHkeyCurrentUser, path(below).c_str(), &old);
    const auto rEx = api.RegOpenKeyExA(kHkeyCurrentUser, path(below).c_str(), 0, reg::kRead, &ex);
    if (r == 0) opened.push_back(old);
    if (rEx == 0) opened.push_back(ex);
    return N(r) + " " + N(rEx);
  };
  const auto set = [&](const std::string& name, std::string_view bytes, std::uint32_t type = 1) {
    return N(api.RegSetValueExA(key, name.c_str(), 0, type,
                                reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                static_cast<std::uint32_t>(bytes.size())));
  };
  const auto text = [&](const std::string& name, const std::string& t) {
    return set(name, std::string_view(t.c_str(), t.size() + 1));
  };
  const auto enumerate = [&](std::uint32_t index) {  // the result, then name, type and data
    char name[1025], data[1025];
    std::uint32_t nameSize = 1024, dataSize = 1024, type = 0;
    const auto r = api.RegEnumValueA(key, index, name, &nameSize, nullptr, &type,
                                     reinterpret_cast<std::uint8_t*>(data), &dataSize);
    return r ? N(r) : "0 " + Q(name, nameSize) + " " + N(type) + " " + Q(data, dataSize);
  };
  const auto query = [&](const char* name) {  // the result and size, then type and data
    char data[1025];
    std::uint32_t type = 0, size = 1024;
    const auto r = api.RegQueryValueExA(key, name, nullptr, &type,
                                        reinterpret_cast<std::uint8_t*>(data), &size);
    return N(r) + " " + N(size) + (r ? "" : " " + N(type) + " " + Q(data, size));
  };
  const auto info = [&] {  // values, the longest name and the longest data
    std::uint32_t values = 99, longestName = 99, longestData = 99;
    const auto r = api.RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        &values, &longestName, &longestData, nullptr, nullptr);
    return N(r) + " " + N(values) + " " + N(longestName) + " " + N(longestData);
  };

  log("create with parents, names ignore case:", {create("a\\b\\c"), open("A\\B"), open("a\\x")});
  log("no values:", {create("list"), info(), enumerate(0)});
  text("3", "C:\\three.vbp");
  text("1", "C:\\one.vbp");
  text("2", "C:\\two.vbp");
  Strings listed;
  for (std::uint32_t i = 0; i < 4; ++i) listed.push_back(enumerate(i));
  if (world.sortsValues) std::rotate(listed.begin(), listed.begin() + 2, listed.begin() + 3);
  for (const auto& line : listed) log("enumerated:", {line});
  log("set twice:", {text("Path", "old"), text("PATH", "new"), enumerate(3), info()});
  log("delete:", {N(api.RegDeleteValueA(key, "path")), N(api.RegDeleteValueA(key, "Path"))});
  log("nuls, type:", {set("3", {"a\0b\0", 4}), set("1", {"\x01*\0\x80", 4}, 4), query("3"),
                      query("1"), query("x")});
  log("name of 1023, 1024:", {create("names"), text(std::string(1023, 'n'), ""),
                              text(std::string(1024, 'n'), ""), enumerate(0).substr(0, 1),
                              enumerate(1)});
  log("data of 1024, 1025:", {create("data"), text("a", std::string(1023, 'd')),
                              text("b", std::string(1024, 'd')), enumerate(0), enumerate(1),
                              query("a"), query("b")});
  std::uint32_t type = 0, size = 0;
  log("measure:", {N(api.RegQueryValueExA(key, "b", nullptr, &type, nullptr, &size)), N(type),
                   N(size)});
  for (HKey h : opened) EXPECT_EQ(0, api.RegCloseKey(h));
  return lines;
}

const Strings kAnswers = {
    "create with parents, names ignore case: 0 0 0 2 2",
    "no values: 0 0 0 0 0 259",
    "enumerated: 0 \"3\" 1 \"C:\\three.vbp\\0\"",
    "enumerated: 0 \"1\" 1 \"C:\\one.vbp\\0\"",
    "enumerated: 0 \"2\" 1 \"C:\\two.vbp\\0\"",
    "enumerated: 259",
    "set twice: 0 0 0 \"Path\" 1 \"new\\0\" 0 4 4 13",
    "delete: 0 2",
    "nuls, type: 0 0 0 4 1 \"a\\0b\\0\" 0 4 4 \"\x01*\\0\x80\" 2 1024",
    "name of 1023, 1024: 0 0 0 0 234",
    "data of 1024, 1025: 0 0 0 0 \"a\" 1 \"1024 bytes\" 234 0 1024 1 \"1024 bytes\" 234 1025",
    "measure: 0 1 1025",
};

class RegistryContract : public testing::TestWithParam<RegistryWorldMaker> {};

TEST_P(RegistryContract, AnswersAsTheRealRegistry) {
  const auto world = GetParam().make();
  EXPECT_EQ(kAnswers, Answers(*world));
  EXPECT_EQ(0u, world->OpenHandles().value_or(0)) << "every handle was closed";
}

INSTANTIATE_TEST_SUITE_P(Registries, RegistryContract, testing::ValuesIn(RegistryWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
