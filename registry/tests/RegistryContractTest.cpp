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
std::string Q(const char* bytes, std::uint32_t size) {
  std::string shown;
  for (const char c : std::string_view(bytes, size)) shown += c ? std::string(1, c) : "\\0";
  return "\"" + (size > 40 ? std::to_string(size) + " bytes" : shown) + "\"";
}
std::string N(std::int64_t n) { return std::to_string(n); }
std::string Sz(const std::string& text) { return text + '\0'; }

// The answers, a line a step (a braced list evaluates from left to right).
Strings Answers(RegistryWorld& world) {
  RegistryApi& api = *world.api;
  Strings lines;
  std::vector<HKey> opened;
  HKey key{};
  const auto log = [&](std::string line, std::initializer_list<std::string> answers) {
    for (const std::string& answer : answers) line += " " + answer;
    lines.push_back(line);
  };
  const auto create = [&](const std::string& below) {
    const auto r = api.RegCreateKeyExA(kHkeyCurrentUser, (world.root + below).c_str(), 0, nullptr,
                                       0, reg::kWrite | reg::kRead, nullptr, &key, nullptr);
    opened.push_back(key);
    return N(r);
  };
  const auto open = [&](const std::string& below) {  // by both calls
    HKey old{}, ex{};
    const std::string path = world.root + below;
    const auto r = api.RegOpenKeyA(kHkeyCurrentUser, path.c_str(), &old);
    const auto rEx = api.RegOpenKeyExA(kHkeyCurrentUser, path.c_str(), 0, reg::kRead, &ex);
    opened.insert(opened.end(), {old, ex});
    return N(r) + " " + N(rEx);
  };
  const auto set = [&](const std::string& name, std::string_view bytes, std::uint32_t type = 1) {
    return N(api.RegSetValueExA(key, name.c_str(), 0, type,
                                reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                static_cast<std::uint32_t>(bytes.size())));
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
  // Values, the longest name, and whether the longest data is given as at least (bytes): the
  // real registry counts it as stored, in UTF-16.
  const auto info = [&](std::uint32_t bytes) {
    std::uint32_t values = 99, longestName = 99, longestData = 0;
    const auto r = api.RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        &values, &longestName, &longestData, nullptr, nullptr);
    return N(r) + " " + N(values) + " " + N(longestName) + " " + N(longestData >= bytes);
  };

  log("create with parents, names ignore case:", {create("\\a\\b\\c"), open("\\A\\B"), open("\\x")});
  log("no values:", {create("\\list"), info(0), enumerate(0)});
  log("set:", {set("3", Sz("C:\\three.vbp")), set("1", Sz("C:\\one.vbp")), set("2", Sz("C:\\two.vbp"))});
  Strings listed{enumerate(0), enumerate(1), enumerate(2), enumerate(3)};
  if (world.sortsValues) std::rotate(listed.begin(), listed.begin() + 2, listed.begin() + 3);
  for (const auto& line : listed) log("enumerated:", {line});
  log("set twice:", {set("Path", Sz("old")), set("PATH", Sz("new")), enumerate(3), info(13)});
  log("delete:", {N(api.RegDeleteValueA(key, "path")), N(api.RegDeleteValueA(key, "Path"))});
  log("nuls, type:", {set("3", {"a\0b\0", 4}), set("1", {"\x01*\0\x80", 4}, 4), query("3"),
                      query("1"), query("x")});
  log("name of 1023, 1024:", {create("\\names"), set(std::string(1023, 'n'), ""),
                              set(std::string(1024, 'n'), ""), enumerate(0).substr(0, 1),
                              enumerate(1)});
  log("data of 1024, 1025:", {create("\\data"), set("a", Sz(std::string(1023, 'd'))),
                              set("b", Sz(std::string(1024, 'd'))), enumerate(0), enumerate(1),
                              query("a"), query("b")});
  std::uint32_t type = 0, size = 0;
  log("measure:", {N(api.RegQueryValueExA(key, "b", nullptr, &type, nullptr, &size)), N(type),
                   N(size)});
  for (HKey h : opened) api.RegCloseKey(h);
  return lines;
}

const Strings kAnswers = {
    "create with parents, names ignore case: 0 0 0 2 2",
    "no values: 0 0 0 0 1 259",
    "set: 0 0 0",
    "enumerated: 0 \"3\" 1 \"C:\\three.vbp\\0\"",
    "enumerated: 0 \"1\" 1 \"C:\\one.vbp\\0\"",
    "enumerated: 0 \"2\" 1 \"C:\\two.vbp\\0\"",
    "enumerated: 259",
    "set twice: 0 0 0 \"Path\" 1 \"new\\0\" 0 4 4 1",
    "delete: 0 2",
    "nuls, type: 0 0 0 4 1 \"a\\0b\\0\" 0 4 4 \"\x01*\\0\x80\" 2 1024",
    "name of 1023, 1024: 0 0 0 0 234",
    "data of 1024, 1025: 0 0 0 0 \"a\" 1 \"1024 bytes\" 234 0 1024 1 \"1024 bytes\" 234 1025",
    "measure: 0 1 1025",
};

class RegistryContract : public testing::TestWithParam<RegistryWorldMaker> {};

TEST_P(RegistryContract, AnswersAsTheRealRegistry) {
  EXPECT_EQ(kAnswers, Answers(*GetParam().make()));
}

INSTANTIATE_TEST_SUITE_P(Registries, RegistryContract, testing::ValuesIn(RegistryWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
