// The registry calls as the add-in relies on them, run against every registry this build has:
// the in-memory one everywhere, and advapi32 itself under Windows. Where they disagree, the
// real registry is right.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "registry/tests/RegistryWorld.h"

namespace {

struct Enumerated {
  std::int32_t result;
  std::string name;
  std::uint32_t type;
  std::string data;
};

class RegistryContract : public testing::TestWithParam<RegistryWorldMaker> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }
  void TearDown() override {
    for (HKey key : open_) api().RegCloseKey(key);
  }

  RegistryApi& api() { return world_->Api(); }
  std::string Path(const std::string& below = {}) const {
    return below.empty() ? world_->Root() : world_->Root() + "\\" + below;
  }

  HKey Create(const std::string& path, std::uint32_t* disposition = nullptr) {
    HKey key{};
    std::uint32_t d = 0;
    EXPECT_EQ(0, api().RegCreateKeyExA(kHkeyCurrentUser, path.c_str(), 0, nullptr, 0, reg::kWrite | reg::kRead,
                                        nullptr, &key, &d));
    if (disposition) *disposition = d;
    open_.push_back(key);
    return key;
  }

  void Set(HKey key, const std::string& name, std::string_view bytes,
           std::uint32_t type = reg::kRegSz) {
    ASSERT_EQ(0, api().RegSetValueExA(key, name.c_str(), 0, type,
                                      reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                      static_cast<std::uint32_t>(bytes.size())));
  }
  void SetText(HKey key, const std::string& name, const std::string& text) {
    Set(key, name, std::string_view(text.c_str(), text.size() + 1));
  }

  Enumerated Enum(HKey key, std::uint32_t index, std::uint32_t nameSize = 1024,
                  std::uint32_t dataSize = 1024) {
    std::vector<char> name(nameSize + 1, '\x7f');
    std::vector<std::uint8_t> data(dataSize + 1, 0x7f);
    std::uint32_t type = 0;
    Enumerated e{};
    e.result = api().RegEnumValueA(key, index, name.data(), &nameSize, nullptr, &type, data.data(),
                                   &dataSize);
    if (e.result == 0) {
      e.name.assign(name.data(), nameSize);
      e.type = type;
      e.data.assign(reinterpret_cast<const char*>(data.data()), dataSize);
    }
    return e;
  }

  struct Queried {
    std::int32_t result;
    std::uint32_t type;
    std::uint32_t size;
    std::string data;
  };

  // Queries into a buffer of bufferSize bytes, the type starting at a value no call gives.
  Queried Query(HKey key, const char* name, std::uint32_t bufferSize = 1024) {
    std::vector<std::uint8_t> buffer(bufferSize + 1, 0x7f);
    Queried q{0, 99, bufferSize, {}};
    q.result = api().RegQueryValueExA(key, name, nullptr, &q.type, buffer.data(), &q.size);
    if (q.result == 0) q.data.assign(reinterpret_cast<const char*>(buffer.data()), q.size);
    return q;
  }

  std::uint32_t ValueCount(HKey key) {
    char cls[1024];
    std::uint32_t clsSize = 1024, subKeys = 99, values = 99;
    EXPECT_EQ(0, api().RegQueryInfoKeyA(key, cls, &clsSize, nullptr, &subKeys, nullptr, nullptr,
                                        &values, nullptr, nullptr, nullptr, nullptr));
    return values;
  }

  std::unique_ptr<RegistryWorld> world_;
  std::vector<HKey> open_;
};

TEST_P(RegistryContract, CreateMakesMissingParentsAndReportsWhetherTheKeyIsNew) {
  std::uint32_t disposition = 0;
  Create(Path("a\\b\\c"), &disposition);
  EXPECT_EQ(1u, disposition);  // created
  Create(Path("a\\b\\c"), &disposition);
  EXPECT_EQ(2u, disposition);  // opened

  HKey parent{};
  EXPECT_EQ(0, api().RegOpenKeyExA(kHkeyCurrentUser, Path("A\\B").c_str(), 0, reg::kRead, &parent))
      << "key names ignore case";
  api().RegCloseKey(parent);
}

TEST_P(RegistryContract, OpeningAMissingKeyGivesTwoAndLeavesTheHandleAlone) {
  const HKey untouched = static_cast<HKey>(0x1234);
  HKey key = untouched;
  EXPECT_EQ(reg::kFileNotFound,
            api().RegOpenKeyExA(kHkeyCurrentUser, Path("none").c_str(), 0, reg::kWrite, &key));
  EXPECT_EQ(untouched, key);
  EXPECT_EQ(reg::kFileNotFound, api().RegOpenKeyA(kHkeyCurrentUser, Path("none").c_str(), &key));
  EXPECT_EQ(untouched, key);
}

TEST_P(RegistryContract, ValuesEnumerateAllOnceThenNoMoreItems) {
  HKey key = Create(Path("list"));
  SetText(key, "3", "C:\\three.vbp");
  SetText(key, "1", "C:\\one.vbp");
  SetText(key, "2", "C:\\two.vbp");
  ASSERT_EQ(3u, ValueCount(key));

  std::vector<std::string> names;
  for (std::uint32_t i = 0; i < 3; ++i) {
    Enumerated e = Enum(key, i);
    ASSERT_EQ(0, e.result);
    EXPECT_EQ(reg::kRegSz, e.type);
    EXPECT_EQ("C:\\" + std::string(e.name == "1" ? "one" : e.name == "2" ? "two" : "three") +
                  ".vbp" + std::string(1, '\0'),
              e.data)
        << "the size counts the terminating NUL as it was stored";
    names.push_back(e.name);
  }
  EXPECT_EQ(reg::kNoMoreItems, Enum(key, 3).result);

  if (world_->KeepsCreationOrder()) {
    EXPECT_EQ((std::vector<std::string>{"3", "1", "2"}), names);
  } else {
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3"}), names);
  }
}

TEST_P(RegistryContract, SettingAnExistingValueReplacesItAndNamesIgnoreCase) {
  HKey key = Create(Path("replace"));
  SetText(key, "Path", "old");
  SetText(key, "PATH", "new");
  ASSERT_EQ(1u, ValueCount(key));
  Enumerated e = Enum(key, 0);
  EXPECT_EQ("Path", e.name) << "the first spelling of the name is kept";
  EXPECT_EQ(std::string("new", 4), e.data);
}

TEST_P(RegistryContract, DeletingRemovesOneValueAndAMissingOneGivesTwo) {
  HKey key = Create(Path("delete"));
  SetText(key, "1", "a");
  SetText(key, "2", "b");
  EXPECT_EQ(0, api().RegDeleteValueA(key, "1"));
  EXPECT_EQ(1u, ValueCount(key));
  EXPECT_EQ("2", Enum(key, 0).name);
  EXPECT_EQ(reg::kFileNotFound, api().RegDeleteValueA(key, "1"));
  EXPECT_EQ(reg::kFileNotFound, api().RegDeleteValueA(key, "never"));
}

TEST_P(RegistryContract, DataHoldingNulsIsKeptAsBytes) {
  HKey key = Create(Path("nuls"));
  const std::string bytes("first\0second\0", 13);
  Set(key, "v", bytes);
  Enumerated e = Enum(key, 0);
  ASSERT_EQ(0, e.result);
  EXPECT_EQ(bytes, e.data);
}

TEST_P(RegistryContract, ANameOrDataOverItsBufferGivesMoreData) {
  HKey key = Create(Path("long"));
  const std::string name1023(1023, 'n');
  SetText(key, name1023, "fits");
  ASSERT_EQ(1u, ValueCount(key));
  Enumerated fits = Enum(key, 0);
  ASSERT_EQ(0, fits.result) << "1023 characters and the NUL fill the 1024 of the buffer";
  EXPECT_EQ(name1023, fits.name);
  ASSERT_EQ(0, api().RegDeleteValueA(key, name1023.c_str()));

  SetText(key, std::string(1024, 'n'), "too long a name");
  EXPECT_EQ(reg::kMoreData, Enum(key, 0).result);
  ASSERT_EQ(0, api().RegDeleteValueA(key, std::string(1024, 'n').c_str()));

  SetText(key, "d", std::string(1023, 'd'));  // 1024 bytes with the NUL
  EXPECT_EQ(0, Enum(key, 0).result);
  SetText(key, "d", std::string(1024, 'd'));
  EXPECT_EQ(reg::kMoreData, Enum(key, 0).result);
}

TEST_P(RegistryContract, QueryInfoCountsValuesAndSubkeysWithAnEmptyClass) {
  HKey key = Create(Path("info"));
  Create(Path("info\\child"));
  SetText(key, "a", "1");
  SetText(key, "b", "2");
  char cls[1024] = "garbage";
  std::uint32_t clsSize = 1024, subKeys = 0, values = 0, maxName = 0;
  ASSERT_EQ(0, api().RegQueryInfoKeyA(key, cls, &clsSize, nullptr, &subKeys, nullptr, nullptr,
                                      &values, &maxName, nullptr, nullptr, nullptr));
  EXPECT_EQ(1u, subKeys);
  EXPECT_EQ(2u, values);
  EXPECT_EQ(1u, maxName);
  EXPECT_EQ(0u, clsSize);
  EXPECT_STREQ("", cls);
}

TEST_P(RegistryContract, AKeyWithoutValuesCountsNone) {
  HKey key = Create(Path("empty"));
  EXPECT_EQ(0u, ValueCount(key));
  EXPECT_EQ(reg::kNoMoreItems, Enum(key, 0).result);
}

TEST_P(RegistryContract, OpenKeyGivesAHandleThatReadsAndEnumerates) {
  HKey writer = Create(Path("read"));
  SetText(writer, "1", "x");
  HKey reader{};
  ASSERT_EQ(0, api().RegOpenKeyA(kHkeyCurrentUser, Path("read").c_str(), &reader));
  EXPECT_EQ(1u, ValueCount(reader));
  EXPECT_EQ(0, Enum(reader, 0).result);
  EXPECT_EQ(0, api().RegCloseKey(reader));
}

TEST_P(RegistryContract, AHandleDoesOnlyWhatItWasOpenedFor) {
  HKey writer = Create(Path("rights"));
  SetText(writer, "1", "x");
  HKey key{};
  ASSERT_EQ(0, api().RegOpenKeyExA(kHkeyCurrentUser, Path("rights").c_str(), 0, reg::kWrite, &key));
  const char data[] = "y";
  EXPECT_EQ(0, api().RegSetValueExA(key, "2", 0, reg::kRegSz,
                                    reinterpret_cast<const std::uint8_t*>(data), sizeof data));
  EXPECT_EQ(0, api().RegDeleteValueA(key, "2"));
  EXPECT_EQ(reg::kAccessDenied, Enum(key, 0).result) << "a write-only handle cannot enumerate";
  EXPECT_EQ(0, api().RegCloseKey(key));

  ASSERT_EQ(0, api().RegOpenKeyExA(kHkeyCurrentUser, Path("rights").c_str(), 0, reg::kRead, &key));
  EXPECT_EQ(reg::kAccessDenied,
            api().RegSetValueExA(key, "2", 0, reg::kRegSz,
                                 reinterpret_cast<const std::uint8_t*>(data), sizeof data));
  EXPECT_EQ(reg::kAccessDenied, api().RegDeleteValueA(key, "1"));
  EXPECT_EQ(0, Enum(key, 0).result);
  EXPECT_EQ(0, api().RegCloseKey(key));
}

TEST_P(RegistryContract, KeyPathsMayNotStartWithABackslashButMayHoldEmptyParts) {
  HKey key{};
  EXPECT_EQ(161, api().RegCreateKeyExA(kHkeyCurrentUser, ("\\" + Path("x")).c_str(), 0, nullptr,
                                       0, reg::kWrite, nullptr, &key, nullptr));
  Create(Path("double\\\\part"));
  Create(Path("trailing\\"));
  ASSERT_EQ(0, api().RegOpenKeyExA(kHkeyCurrentUser, Path("double\\part").c_str(), 0, reg::kRead,
                                   &key))
      << "an empty part between two backslashes is passed over";
  EXPECT_EQ(0, api().RegCloseKey(key));
  ASSERT_EQ(0, api().RegOpenKeyExA(kHkeyCurrentUser, Path("trailing").c_str(), 0, reg::kRead, &key));
  EXPECT_EQ(0, api().RegCloseKey(key));
}

TEST_P(RegistryContract, NonStringValuesEnumerateAsTheirBytes) {
  HKey key = Create(Path("types"));
  const std::uint8_t dword[] = {0x2A, 0, 0, 0};
  ASSERT_EQ(0, api().RegSetValueExA(key, "n", 0, reg::kRegDword, dword, 4));
  Enumerated e = Enum(key, 0);
  ASSERT_EQ(0, e.result);
  EXPECT_EQ(reg::kRegDword, e.type);
  EXPECT_EQ(std::string("\x2A\0\0\0", 4), e.data);
}

TEST_P(RegistryContract, QueryValueGivesTheTypeAndTheBytesAsStored) {
  HKey key = Create(Path("query"));
  SetText(key, "terminated", "C:\\Tools");
  // RegSetValueExA counts a NUL the caller left out when one follows the data, so the text
  // stored bare must be followed by something else.
  Set(key, "bare", std::string_view("C:\\Tools|").substr(0, 8));
  Set(key, "empty", "");
  const std::uint8_t dword[] = {0x01, 0x2A, 0, 0x80};
  ASSERT_EQ(0, api().RegSetValueExA(key, "n", 0, reg::kRegDword, dword, 4));

  Queried terminated = Query(key, "TERMINATED");
  ASSERT_EQ(0, terminated.result) << "value names ignore case";
  EXPECT_EQ(reg::kRegSz, terminated.type);
  EXPECT_EQ(std::string("C:\\Tools", 9), terminated.data) << "the stored NUL is counted";

  Queried bare = Query(key, "bare");
  ASSERT_EQ(0, bare.result);
  EXPECT_EQ("C:\\Tools", bare.data) << "text stored without its NUL comes back without one";

  Queried empty = Query(key, "empty");
  ASSERT_EQ(0, empty.result);
  EXPECT_EQ(reg::kRegSz, empty.type);
  EXPECT_EQ(0u, empty.size);

  Queried n = Query(key, "n");
  ASSERT_EQ(0, n.result);
  EXPECT_EQ(reg::kRegDword, n.type);
  EXPECT_EQ(std::string("\x01\x2A\0\x80", 4), n.data);
}

TEST_P(RegistryContract, QueryValueOfAMissingValueGivesTwoAndKeepsTheBufferSize) {
  HKey key = Create(Path("query-missing"));
  Queried q = Query(key, "none");
  EXPECT_EQ(reg::kFileNotFound, q.result);
  EXPECT_EQ(1024u, q.size);
}

TEST_P(RegistryContract, QueryValueOverItsBufferGivesMoreDataWithTheSizeNeeded) {
  HKey key = Create(Path("query-long"));
  SetText(key, "fits", std::string(1023, 'd'));  // 1024 bytes with the NUL
  SetText(key, "long", std::string(1024, 'd'));
  EXPECT_EQ(0, Query(key, "fits").result);

  Queried q = Query(key, "long");
  EXPECT_EQ(reg::kMoreData, q.result);
  EXPECT_EQ(1025u, q.size);
  EXPECT_EQ(reg::kRegSz, q.type);

  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(0, api().RegQueryValueExA(key, "long", nullptr, &type, nullptr, &size))
      << "without a buffer the call only measures";
  EXPECT_EQ(1025u, size);
  EXPECT_EQ(reg::kRegSz, type);
}

TEST_P(RegistryContract, QueryValueNeedsReadRightsAndNoReservedArgument) {
  HKey writer = Create(Path("query-rights"));
  SetText(writer, "v", "x");
  HKey key{};
  ASSERT_EQ(0, api().RegOpenKeyExA(kHkeyCurrentUser, Path("query-rights").c_str(), 0, reg::kWrite,
                                   &key));
  EXPECT_EQ(reg::kAccessDenied, Query(key, "v").result) << "a write-only handle cannot read";
  EXPECT_EQ(0, api().RegCloseKey(key));

  ASSERT_EQ(0, api().RegOpenKeyExA(kHkeyCurrentUser, Path("query-rights").c_str(), 0, reg::kRead,
                                   &key));
  EXPECT_EQ(0, Query(key, "v").result);
  std::uint32_t reserved = 0, type = 0, size = 16;
  std::uint8_t data[16];
  EXPECT_EQ(reg::kInvalidParameter,
            api().RegQueryValueExA(key, "v", &reserved, &type, data, &size));
  EXPECT_EQ(reg::kInvalidParameter,
            api().RegQueryValueExA(key, "v", nullptr, &type, data, nullptr))
      << "a buffer without its size";
  EXPECT_EQ(0, api().RegCloseKey(key));
}

INSTANTIATE_TEST_SUITE_P(Registries, RegistryContract, testing::ValuesIn(RegistryWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
