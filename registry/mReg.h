#pragma once
// The add-in's one way into the registry for its lists: set a string value (creating the key),
// delete a value, and read all values of a key as (name, data) pairs. Texts are converted to and
// from the system ANSI code page on their way.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry/RegistryApi.h"

class CodePage;

// <windows.h> maps RegSetKeyValue to RegSetKeyValueA or W; this module's operation keeps its name.
#undef RegSetKeyValue

/// One value of a key: its name and its data as text.
struct RegValue {
  std::wstring Name;
  std::wstring Data;
  bool operator==(const RegValue&) const = default;
};

/// A key's values, in the registry's enumeration order.
using RegValueTable = std::vector<RegValue>;

// The module name mReg is kept as the add-in's code has always named it.
class mReg {
 public:
  /// The number RegSetKeyValue raises its errors with (the host language's first object error).
  static constexpr std::int32_t kSetKeyValueError = -2147221504;
  /// The buffer size for a value's name and data, and for the key's class text.
  static constexpr std::uint32_t kBufferSize = 1024;

  mReg(RegistryApi& api, const CodePage& ansi) : api_(api), ansi_(ansi) {}

  /// Stores data as a string value, creating the key and its missing parents. The empty text is
  /// stored as a single blank. Throws VbError (number kSetKeyValueError, source "RegSetKeyValue").
  void RegSetKeyValue(HKey root, std::wstring_view keyPath, std::wstring_view valueName,
                      std::wstring_view data);

  /// Deletes one value. Throws VbError whose number is the failing call's result code (2 for a
  /// missing key or value), source "RegDelKey".
  void RegDelKey(HKey root, std::wstring_view keyPath, std::wstring_view valueName);

  /// All values of the key; nullopt when the key cannot be opened or has no values. A value
  /// that cannot be read (name or data over kBufferSize - 1) gives an empty row. Never throws.
  std::optional<RegValueTable> RegGetKeyValues(HKey root, std::wstring_view keyPath) noexcept;

  /// Whether the key holds a value of that name: false when the key or the value does not
  /// exist, nullopt when the registry cannot tell (the key or the value cannot be queried).
  /// Never throws.
  std::optional<bool> RegValueExists(HKey root, std::wstring_view keyPath,
                                     std::wstring_view valueName) noexcept;

  /// All values of an open key, as RegGetKeyValues. Never throws.
  std::optional<RegValueTable> RegEnumKeyValues(HKey key) noexcept;

  /// The text up to its first NUL, or all of it.
  static std::wstring StripNulls(std::wstring_view text);

 private:
  RegistryApi& api_;      // not owned
  const CodePage& ansi_;  // not owned
};
