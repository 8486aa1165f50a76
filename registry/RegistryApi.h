#pragma once
// The advapi32 registry calls the add-in makes, ANSI forms, with their argument shapes and result
// codes. Two implementations: advapi32 itself (win32/Advapi32Registry) and MemoryRegistry, which
// behaves as Windows does for the tests.

#include <cstdint>

/// A registry key handle: one of the predefined roots or a handle an open call returned.
enum class HKey : std::uintptr_t {};

/// The predefined roots, with the values Windows gives them (sign-extended on 64-bit).
constexpr HKey RootKey(std::int32_t predefined) {
  return static_cast<HKey>(static_cast<std::uintptr_t>(static_cast<std::intptr_t>(predefined)));
}
inline constexpr HKey kHkeyClassesRoot = RootKey(static_cast<std::int32_t>(0x80000000u));
inline constexpr HKey kHkeyCurrentUser = RootKey(static_cast<std::int32_t>(0x80000001u));
inline constexpr HKey kHkeyLocalMachine = RootKey(static_cast<std::int32_t>(0x80000002u));

namespace reg {
// Result codes.
inline constexpr std::int32_t kSuccess = 0;
inline constexpr std::int32_t kFileNotFound = 2;
inline constexpr std::int32_t kAccessDenied = 5;
inline constexpr std::int32_t kInvalidHandle = 6;
inline constexpr std::int32_t kInvalidParameter = 87;
inline constexpr std::int32_t kMoreData = 234;
inline constexpr std::int32_t kNoMoreItems = 259;
// Value types.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
// Options and access rights.
inline constexpr std::uint32_t kOptionNonVolatile = 0;
inline constexpr std::uint32_t kQueryValue = 0x0001;
inline constexpr std::uint32_t kSetValue = 0x0002;
inline constexpr std::uint32_t kCreateSubKey = 0x0004;
inline constexpr std::uint32_t kEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kRead = 0x20019;
inline constexpr std::uint32_t kWrite = 0x20006;
}  // namespace reg

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  /// Opens the key below root, creating it and any missing parents. On failure (result != 0),
  /// (result) and (disposition) are not changed. The security attributes are not modelled.
  virtual std::int32_t RegCreateKeyExA(HKey root, const char* subKey, std::uint32_t reserved,
                                       char* keyClass, std::uint32_t options, std::uint32_t access,
                                       const void* security, HKey* result,
                                       std::uint32_t* disposition) = 0;

  /// Stores a value, replacing one of the same name; the data is kept as the bytes given.
  virtual std::int32_t RegSetValueExA(HKey key, const char* valueName, std::uint32_t reserved,
                                      std::uint32_t type, const std::uint8_t* data,
                                      std::uint32_t dataSize) = 0;

  /// Opens an existing key; 2 when it does not exist. On failure, (result) is not changed.
  virtual std::int32_t RegOpenKeyExA(HKey root, const char* subKey, std::uint32_t options,
                                     std::uint32_t access, HKey* result) = 0;

  /// Deletes a value of an open key; 2 when there is no value of that name.
  virtual std::int32_t RegDeleteValueA(HKey key, const char* valueName) = 0;

  /// Opens an existing key with full access, as the 16-bit call did.
  virtual std::int32_t RegOpenKeyA(HKey root, const char* subKey, HKey* result) = 0;

  /// The key's class text and counts; any out pointer may be null.
  virtual std::int32_t RegQueryInfoKeyA(HKey key, char* keyClass, std::uint32_t* classSize,
                                        std::uint32_t* reserved, std::uint32_t* subKeys,
                                        std::uint32_t* maxSubKeyLen, std::uint32_t* maxClassLen,
                                        std::uint32_t* values, std::uint32_t* maxValueNameLen,
                                        std::uint32_t* maxValueLen,
                                        std::uint32_t* securityDescriptorSize,
                                        void* lastWriteTime) = 0;

  /// The value at an index: its name (size in characters, including the NUL on the way in,
  /// without it on the way out), type and data (size in bytes). 234 when the name or the data
  /// does not fit its buffer, 259 past the last value.
  virtual std::int32_t RegEnumValueA(HKey key, std::uint32_t index, char* valueName,
                                     std::uint32_t* valueNameSize, std::uint32_t* reserved,
                                     std::uint32_t* type, std::uint8_t* data,
                                     std::uint32_t* dataSize) = 0;

  /// One value's type and data by name ("" or null: the key's default value). (dataSize) is the
  /// buffer's size in bytes on the way in and the data's on the way out, a stored terminating NUL
  /// included; data may be null to ask only the type and size. Results: 2 when there is no value
  /// of that name; 234 when the data exceeds the buffer, with (dataSize) set to the size needed,
  /// (type) set and the buffer's contents undefined; 87 when (reserved) is not null, or data is
  /// given without dataSize, and nothing is changed. On any other failure (type) is undefined
  /// (Wine sets 0), and (dataSize) is not changed when a buffer was given.
  virtual std::int32_t RegQueryValueExA(HKey key, const char* valueName, std::uint32_t* reserved,
                                        std::uint32_t* type, std::uint8_t* data,
                                        std::uint32_t* dataSize) = 0;

  virtual std::int32_t RegCloseKey(HKey key) = 0;
};

/// Closes a key handle when the scope ends, by whatever path.
class KeyCloser {
 public:
  KeyCloser(RegistryApi& api, HKey key) : api_(api), key_(key) {}
  KeyCloser(const KeyCloser&) = delete;
  KeyCloser& operator=(const KeyCloser&) = delete;
  ~KeyCloser() { api_.RegCloseKey(key_); }

 private:
  RegistryApi& api_;
  HKey key_;
};
