#include "registry/RegistrySettings.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/Error.h"

namespace {

bool IsText(std::uint32_t type) { return type == reg::kRegSz || type == reg::kRegExpandSz; }

}  // namespace

std::wstring RegistrySettings::SectionPath(std::wstring_view application,
                                           std::wstring_view section) {
  std::wstring path = L"Software\\VB and VBA Program Settings\\";
  path.append(application).append(L"\\").append(section);
  return path;
}

std::wstring RegistrySettings::GetSetting(std::wstring_view application, std::wstring_view section,
                                          std::wstring_view key, std::wstring_view fallback) {
  const std::string path = ansi_.ToAnsi(SectionPath(application, section));
  const std::string name = ansi_.ToAnsi(key);

  HKey handle{};
  if (api_.RegOpenKeyExA(kHkeyCurrentUser, path.c_str(), 0, reg::kRead, &handle) != reg::kSuccess)
    return std::wstring(fallback);
  KeyCloser closer(api_, handle);

  // Asks the size first; asks again while the value grows between the calls.
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (api_.RegQueryValueExA(handle, name.c_str(), nullptr, &type, nullptr, &size) !=
          reg::kSuccess ||
      !IsText(type))
    return std::wstring(fallback);
  std::string bytes;
  std::int32_t result;
  do {
    bytes.resize(size);
    result = api_.RegQueryValueExA(handle, name.c_str(), nullptr, &type,
                                   reinterpret_cast<std::uint8_t*>(bytes.data()), &size);
  } while (result == reg::kMoreData);
  if (result != reg::kSuccess || !IsText(type)) return std::wstring(fallback);
  bytes.resize(std::min<std::size_t>(size, bytes.size()));
  const std::wstring text = ansi_.ToWide(bytes);
  return text.substr(0, text.find(L'\0'));
}

void RegistrySettings::SaveSetting(std::wstring_view application, std::wstring_view section,
                                   std::wstring_view key, std::wstring_view value) {
  const std::string path = ansi_.ToAnsi(SectionPath(application, section));
  const std::string name = ansi_.ToAnsi(key);
  const std::string bytes = ansi_.ToAnsi(value);

  HKey handle{};
  std::uint32_t disposition = 0;
  std::int32_t result =
      api_.RegCreateKeyExA(kHkeyCurrentUser, path.c_str(), 0, nullptr, reg::kOptionNonVolatile,
                           reg::kWrite, nullptr, &handle, &disposition);
  if (result == reg::kSuccess) {
    KeyCloser closer(api_, handle);
    // The size counts the terminating NUL, which c_str() supplies.
    result = api_.RegSetValueExA(handle, name.c_str(), 0, reg::kRegSz,
                                 reinterpret_cast<const std::uint8_t*>(bytes.c_str()),
                                 static_cast<std::uint32_t>(bytes.size() + 1));
  }
  if (result != reg::kSuccess)
    RaiseInvalidCall(L"SaveSetting");
}
