#pragma once
// The per-user settings store of the host language: texts by application, section and key.

#include <string>
#include <string_view>

class Settings {
 public:
  virtual ~Settings() = default;
  /// The stored text, or fallback when there is none.
  virtual std::wstring GetSetting(std::wstring_view application, std::wstring_view section,
                                  std::wstring_view key, std::wstring_view fallback) = 0;
  /// Stores the text; throws VbError when it cannot.
  virtual void SaveSetting(std::wstring_view application, std::wstring_view section,
                           std::wstring_view key, std::wstring_view value) = 0;
};
