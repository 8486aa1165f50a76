#pragma once
// A key's values as the in-memory registry holds them, read with buffers large enough for any
// of them, and the row that mReg must give for each.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "platform/CodePage.h"
#include "registry/mReg.h"
#include "registry/tests/MemoryRegistry.h"

struct StoredValue {
  std::string name;
  std::string data;
  bool operator==(const StoredValue&) const = default;
};

/// The values of the key below HKEY_CURRENT_USER in enumeration order; nullopt when there is no
/// such key.
inline std::optional<std::vector<StoredValue>> StoredValues(MemoryRegistry& registry,
                                                            const char* keyPath) {
  HKey key{};
  if (registry.RegOpenKeyExA(kHkeyCurrentUser, keyPath, 0, reg::kRead, &key) != reg::kSuccess)
    return std::nullopt;
  std::uint32_t longestName = 0, longestData = 0;
  FUZZ_CHECK(registry.RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, &longestName, &longestData, nullptr,
                                       nullptr) == reg::kSuccess);
  std::vector<StoredValue> values;
  std::vector<char> name(longestName + 1);
  std::vector<std::uint8_t> data(longestData + 1);
  for (std::uint32_t i = 0;; ++i) {
    auto nameSize = static_cast<std::uint32_t>(name.size());
    auto dataSize = static_cast<std::uint32_t>(data.size());
    const std::int32_t rc = registry.RegEnumValueA(key, i, name.data(), &nameSize, nullptr,
                                                   nullptr, data.data(), &dataSize);
    if (rc == reg::kNoMoreItems) break;
    FUZZ_CHECK(rc == reg::kSuccess);
    values.push_back({std::string(name.data(), nameSize),
                      std::string(reinterpret_cast<const char*>(data.data()), dataSize)});
  }
  registry.RegCloseKey(key);
  return values;
}

/// The row mReg gives for the value when every call answers: its name and its data up to the
/// first NUL; nullopt (an empty row) when the name or the data is longer than 1023 characters,
/// or the data does not fit the 1024-byte buffer.
inline std::optional<RegValue> ReadableRow(const CodePage& ansi, const StoredValue& v) {
  if (v.name.size() > mReg::kBufferSize - 1 || v.data.size() > mReg::kBufferSize)
    return std::nullopt;
  RegValue row{ansi.ToWide(v.name), mReg::StripNulls(ansi.ToWide(v.data))};
  if (row.Data.size() > mReg::kBufferSize - 1) return std::nullopt;
  return row;
}
