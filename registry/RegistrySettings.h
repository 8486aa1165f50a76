#pragma once
// The host language's settings store, where its SaveSetting and GetSetting keep their texts:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, one string
// value per key. Texts cross the registry in the ANSI code page.

#include <string>
#include <string_view>

#include "platform/Settings.h"
#include "registry/RegistryApi.h"

class CodePage;

class RegistrySettings final : public Settings {
 public:
  RegistrySettings(RegistryApi& api, const CodePage& ansi) : api_(api), ansi_(ansi) {}

  /// The key's text up to its first NUL; fallback when the section's key or the value is absent,
  /// or the value is not a string. Never throws for the registry's sake.
  std::wstring GetSetting(std::wstring_view application, std::wstring_view section,
                          std::wstring_view key, std::wstring_view fallback) override;

  /// Stores the text as a string value (the empty text as empty), creating the section's key and
  /// its parents. Throws VbError 5 (source "SaveSetting") when the registry refuses.
  void SaveSetting(std::wstring_view application, std::wstring_view section, std::wstring_view key,
                   std::wstring_view value) override;

  /// The section's key path below HKEY_CURRENT_USER.
  static std::wstring SectionPath(std::wstring_view application, std::wstring_view section);

 private:
  RegistryApi& api_;      // not owned
  const CodePage& ansi_;  // not owned
};
