// Reading a key's values through mReg: the key is filled with values of any name, type and
// bytes (NULs included, lengths about the 1024-byte buffers), registry calls fail at chosen
// points, and the key is read. The table must never throw, have one row per value, and hold in
// each row the value's name and data up to the first NUL, or nothing for a value too long to
// read or one whose reading failed.
//
// The program: one byte per operation (its number modulo the count of operations), then its
// arguments.
//   0 set value      name (text), data (text), type (byte), whether the size counts a NUL (byte)
//   1 delete value   name
//   2 fail calls     call (byte), result code (byte), calls to let through first (byte)
//   3 read the key with RegGetKeyValues
//   4 open the key with some access rights, read it with RegEnumKeyValues, close it
//   5 StripNulls of a text
//   6 delete the key with everything in it
//   7 read a key path of the input's choosing
//   8 ask whether a value exists
//   9 fail the nth registry call from now, whichever it is

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "fuzz/StoredValues.h"
#include "platform/CodePage.h"
#include "registry/mReg.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

constexpr char kKeyPath[] = "Software\\Tolvane\\Skeldra\\Favorites";

constexpr std::string_view kTexts[] = {
    "1", "2", "10", "Favorites", "C:\\Projects\\Orders\\Orders.vbp", std::string_view("a\0b", 3),
    "", "\\\\server\\share\\p.vbp", "\x80\x9f\xff", "Software\\Tolvane"};

constexpr const char* kCalls[] = {"RegOpenKeyA",     "RegQueryInfoKeyA", "RegEnumValueA",
                                  "RegOpenKeyExA",   "RegQueryValueExA", "RegCreateKeyExA",
                                  "RegSetValueExA",  "RegDeleteValueA",  ""};
constexpr std::int32_t kResults[] = {reg::kFileNotFound, reg::kAccessDenied,
                                     reg::kInvalidHandle, reg::kInvalidParameter,
                                     reg::kMoreData,     reg::kNoMoreItems, 1018, 1};
constexpr std::uint32_t kAccess[] = {reg::kRead, reg::kWrite, reg::kQueryValue, 0x02000000,
                                     reg::kSetValue};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::optional<std::vector<StoredValue>> Stored(MemoryRegistry& registry) {
  return StoredValues(registry, kKeyPath);
}

void CheckTable(const CodePage& ansi, const std::optional<RegValueTable>& table,
                const std::optional<std::vector<StoredValue>>& stored, bool failing) {
  if (table) {
    for (const RegValue& row : *table) {
      FUZZ_CHECK(row.Name.find(L'\0') == std::wstring::npos);
      FUZZ_CHECK(row.Data.find(L'\0') == std::wstring::npos);
      FUZZ_CHECK(row.Name.size() <= mReg::kBufferSize - 1);
      FUZZ_CHECK(row.Data.size() <= mReg::kBufferSize - 1);
    }
    FUZZ_CHECK(stored && table->size() == stored->size());
    for (std::size_t i = 0; i < table->size(); ++i) {
      const RegValue expected = ReadableRow(ansi, (*stored)[i]).value_or(RegValue{});
      // A failed reading leaves the row empty; any other row is the value's.
      FUZZ_CHECK((*table)[i] == expected || (failing && (*table)[i] == RegValue{}));
    }
  } else if (!failing) {
    FUZZ_CHECK(!stored || stored->empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Windows1252CodePage ansi;
  MemoryRegistry memory;
  MemoryRegistry failing{memory.View()};
  mReg reg(failing, ansi);
  bool namedFailure = false;  // whether a call named by the input fails
  bool nthFailure = false;    // whether a call chosen by its place in the run may still fail

  FuzzInput in(data, size);
  for (int step = 0; step < 64 && !in.Done(); ++step) {
    const bool failures = namedFailure || nthFailure;
    switch (in.Below(10)) {
      case 0: {
        const std::string name = in.Text(kTexts);
        const std::string bytes = in.Text(kTexts);
        const std::uint32_t type = in.Byte() % 5;
        const bool countNul = in.Byte() & 1;
        FUZZ_TRACE("set %s = %s type %u%s\n", Printable(name).c_str(), Printable(bytes).c_str(),
                   type, countNul ? " with its NUL" : "");
        HKey key{};
        if (memory.RegCreateKeyExA(kHkeyCurrentUser, kKeyPath, 0, nullptr, 0, reg::kWrite,
                                   nullptr, &key, nullptr) == reg::kSuccess) {
          // The value as any program may have stored it: the name up to its first NUL, the
          // bytes as given, with or without a NUL after them.
          memory.RegSetValueExA(key, name.c_str(), 0, type,
                                reinterpret_cast<const std::uint8_t*>(bytes.c_str()),
                                static_cast<std::uint32_t>(bytes.size() + (countNul ? 1 : 0)));
          memory.RegCloseKey(key);
        }
        break;
      }
      case 1: {
        const std::string name = in.Text(kTexts);
        FUZZ_TRACE("delete %s\n", Printable(name).c_str());
        HKey key{};
        if (memory.RegOpenKeyExA(kHkeyCurrentUser, kKeyPath, 0, reg::kWrite, &key) ==
            reg::kSuccess) {
          memory.RegDeleteValueA(key, name.c_str());
          memory.RegCloseKey(key);
        }
        break;
      }
      case 2: {
        const char* call = kCalls[in.Below(std::size(kCalls))];
        const std::int32_t result = kResults[in.Below(std::size(kResults))];
        const int skip = in.Byte() % 8;
        FUZZ_TRACE("fail %s with %d after %d\n", call, result, skip);
        failing.Fail(call, result, skip);
        namedFailure = *call != '\0';
        break;
      }
      case 3: {
        FUZZ_TRACE("read\n");
        const auto table = reg.RegGetKeyValues(kHkeyCurrentUser, ansi.ToWide(kKeyPath));
        CheckTable(ansi, table, Stored(memory), failures);
        break;
      }
      case 4: {
        const std::uint32_t access = kAccess[in.Below(std::size(kAccess))];
        FUZZ_TRACE("read a handle with access %X\n", access);
        HKey key{};
        if (memory.RegOpenKeyExA(kHkeyCurrentUser, kKeyPath, 0, access, &key) == reg::kSuccess) {
          const auto table = reg.RegEnumKeyValues(key);
          memory.RegCloseKey(key);
          // Without the right to query values every row stays empty.
          CheckTable(ansi, table, Stored(memory), failures || !(access & reg::kQueryValue));
        }
        break;
      }
      case 5: {
        const std::wstring text = ansi.ToWide(in.Text(kTexts));
        const std::wstring stripped = mReg::StripNulls(text);
        FUZZ_CHECK(stripped.find(L'\0') == std::wstring::npos);
        FUZZ_CHECK(text.compare(0, stripped.size(), stripped) == 0);
        FUZZ_CHECK(stripped.size() == text.size() || text[stripped.size()] == L'\0');
        break;
      }
      case 6:
        FUZZ_TRACE("delete the key\n");
        memory.DeleteTree(kHkeyCurrentUser, kKeyPath);
        break;
      case 7: {
        const std::string path = in.Text(kTexts);
        FUZZ_TRACE("read %s\n", Printable(path).c_str());
        const auto table = reg.RegGetKeyValues(kHkeyCurrentUser, ansi.ToWide(path));
        if (table) {
          for (const RegValue& row : *table) {
            FUZZ_CHECK(row.Name.find(L'\0') == std::wstring::npos);
            FUZZ_CHECK(row.Data.find(L'\0') == std::wstring::npos);
            FUZZ_CHECK(row.Name.size() <= mReg::kBufferSize - 1);
            FUZZ_CHECK(row.Data.size() <= mReg::kBufferSize - 1);
          }
        }
        break;
      }
      case 8: {
        const std::string name = in.Text(kTexts);
        FUZZ_TRACE("exists %s\n", Printable(name).c_str());
        const std::optional<bool> exists =
            reg.RegValueExists(kHkeyCurrentUser, ansi.ToWide(kKeyPath), ansi.ToWide(name));
        // The registry compares names up to their first NUL, without regard to case.
        const std::string_view wanted(name.c_str());
        bool stored = false;
        for (const StoredValue& v : Stored(memory).value_or(std::vector<StoredValue>{}))
          stored |= std::equal(v.name.begin(), v.name.end(), wanted.begin(), wanted.end(),
                               [](char a, char b) { return Lower(a) == Lower(b); });
        if (!failures) FUZZ_CHECK(exists == stored);
        break;
      }
      case 9: {
        const int n = 1 + in.Below(16);
        const std::int32_t result = kResults[in.Below(std::size(kResults))];
        FUZZ_TRACE("fail call %d from now with %d\n", n, result);
        failing.FailCall(n, result);
        nthFailure = true;
        break;
      }
    }
    // Every handle the module opened is closed again, whatever failed.
    FUZZ_CHECK(memory.OpenHandles() == 0);
  }
  return 0;
}
