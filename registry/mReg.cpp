#include "registry/mReg.h"

#include <algorithm>
#include <utility>

#include "platform/CodePage.h"
#include "platform/Error.h"

namespace {

std::wstring Describe(std::int32_t result) {
  return L"Error " + std::to_wstring(result) + L", Line 0";
}

// StripNulls in place, for a text made only to be cut.
void CutAtNul(std::wstring& text) { text.erase(std::min(text.find(L'\0'), text.size())); }

}  // namespace

void mReg::RegSetKeyValue(HKey root, std::wstring_view keyPath, std::wstring_view valueName,
                          std::wstring_view data) {
  const std::string path = ansi_.ToAnsi(keyPath);
  const std::string name = ansi_.ToAnsi(valueName);
  const std::string bytes = ansi_.ToAnsi(data.empty() ? std::wstring_view(L" ") : data);

  HKey key{};
  std::uint32_t disposition = 0;
  std::int32_t result = api_.RegCreateKeyExA(root, path.c_str(), 0, nullptr, reg::kOptionNonVolatile,
                                             reg::kWrite, nullptr, &key, &disposition);
  if (result == reg::kSuccess) {
    KeyCloser closer(api_, key);
    // The size counts the terminating NUL, which c_str() supplies.
    result = api_.RegSetValueExA(key, name.c_str(), 0, reg::kRegSz,
                                 reinterpret_cast<const std::uint8_t*>(bytes.c_str()),
                                 static_cast<std::uint32_t>(bytes.size() + 1));
  }
  if (result != reg::kSuccess) throw VbError(kSetKeyValueError, L"RegSetKeyValue", Describe(result));
}

void mReg::RegDelKey(HKey root, std::wstring_view keyPath, std::wstring_view valueName) {
  const std::string path = ansi_.ToAnsi(keyPath);
  const std::string name = ansi_.ToAnsi(valueName);

  HKey key{};
  std::int32_t result = api_.RegOpenKeyExA(root, path.c_str(), 0, reg::kWrite, &key);
  if (result == reg::kSuccess) {
    KeyCloser closer(api_, key);
    result = api_.RegDeleteValueA(key, name.c_str());
  }
  if (result != reg::kSuccess) throw VbError(result, L"RegDelKey", Describe(result));
}

std::optional<RegValueTable> mReg::RegGetKeyValues(HKey root, std::wstring_view keyPath) noexcept {
  try {
    const std::string path = ansi_.ToAnsi(keyPath);
    HKey key{};
    if (api_.RegOpenKeyA(root, path.c_str(), &key) != reg::kSuccess) return std::nullopt;
    KeyCloser closer(api_, key);
    return RegEnumKeyValues(key);
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<bool> mReg::RegValueExists(HKey root, std::wstring_view keyPath,
                                         std::wstring_view valueName) noexcept {
  try {
    const std::string path = ansi_.ToAnsi(keyPath);
    const std::string name = ansi_.ToAnsi(valueName);
    HKey key{};
    const std::int32_t opened = api_.RegOpenKeyExA(root, path.c_str(), 0, reg::kRead, &key);
    if (opened == reg::kFileNotFound) return false;
    if (opened != reg::kSuccess) return std::nullopt;
    KeyCloser closer(api_, key);
    switch (api_.RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr)) {
      case reg::kSuccess:
      case reg::kMoreData:
        return true;
      case reg::kFileNotFound:
        return false;
      default:
        return std::nullopt;
    }
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<RegValueTable> mReg::RegEnumKeyValues(HKey key) noexcept {
  try {
    char keyClass[kBufferSize];
    std::uint32_t classSize = kBufferSize;
    std::uint32_t subKeys = 0, maxSubKeyLen = 0, maxClassLen = 0, values = 0, maxValueNameLen = 0,
                  maxValueLen = 0, securitySize = 0;
    if (api_.RegQueryInfoKeyA(key, keyClass, &classSize, nullptr, &subKeys, &maxSubKeyLen,
                              &maxClassLen, &values, &maxValueNameLen, &maxValueLen, &securitySize,
                              nullptr) != reg::kSuccess)
      return std::nullopt;
    if (values < 1) return std::nullopt;

    RegValueTable table(values);
    char name[kBufferSize];
    std::uint8_t data[kBufferSize];
    for (std::uint32_t i = 0; i < values; ++i) {
      std::uint32_t nameSize = kBufferSize;
      std::uint32_t dataSize = kBufferSize;
      std::uint32_t type = 0;
      if (api_.RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) !=
          reg::kSuccess)
        continue;  // gone since the count, or too long for its buffer: the row stays empty
      if (nameSize > kBufferSize) nameSize = kBufferSize;
      if (dataSize > kBufferSize) dataSize = kBufferSize;
      std::wstring text =
          ansi_.ToWide(std::string_view(reinterpret_cast<const char*>(data), dataSize));
      CutAtNul(text);
      // Data that fills the buffer without a NUL (stored without its terminator) is a text longer
      // than the buffer holds: too long, as one that does not fit at all.
      if (text.size() > kBufferSize - 1) continue;
      table[i].Name = ansi_.ToWide(std::string_view(name, nameSize));
      CutAtNul(table[i].Name);
      table[i].Data = std::move(text);
    }
    return table;
  } catch (...) {
    return std::nullopt;
  }
}

std::wstring mReg::StripNulls(std::wstring_view text) {
  return std::wstring(text.substr(0, text.find(L'\0')));
}
