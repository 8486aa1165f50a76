#include "about/SysInfo.h"

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"
#include "platform/CodePage.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"

namespace {

constexpr std::uint32_t kValueBufferSize = 1024;

std::wstring HexDigits(unsigned byte) {
  constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring digits;
  if (byte >= 16) digits += kDigits[byte / 16];
  digits += kDigits[byte % 16];
  return digits;
}

}  // namespace

bool GetKeyValue(RegistryApi& registry, const CodePage& ansi, HKey keyRoot,
                 std::wstring_view keyName, std::wstring_view valueName, std::wstring& keyVal) {
  try {
    const std::string key = ansi.ToAnsi(keyName);
    const std::string name = ansi.ToAnsi(valueName);
    HKey opened{};
    if (registry.RegOpenKeyExA(keyRoot, key.c_str(), 0, reg::kRead, &opened) != reg::kSuccess) {
      keyVal.clear();
      return false;
    }
    KeyCloser closer(registry, opened);

    std::uint8_t data[kValueBufferSize] = {};
    std::uint32_t size = kValueBufferSize;
    std::uint32_t type = 0;
    if (registry.RegQueryValueExA(opened, name.c_str(), nullptr, &type, data, &size) !=
            reg::kSuccess ||
        size == 0 || size > kValueBufferSize) {
      keyVal.clear();
      return false;
    }
    if (data[size - 1] == 0) --size;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    if (type == reg::kRegSz) {
      keyVal = ansi.ToWide(bytes);
    } else if (type == reg::kRegDword) {
      std::wstring digits;
      for (auto b = bytes.rbegin(); b != bytes.rend(); ++b)
        digits += HexDigits(static_cast<unsigned char>(*b));
      keyVal = L"&h" + digits;
    }
    return true;
  } catch (...) {
    keyVal.clear();
    return false;
  }
}

void StartSysInfo(const AboutPlatform& platform, MsgBox& msgBox, std::wstring_view title) {
  try {
    std::wstring path;
    bool found = GetKeyValue(platform.registry, platform.ansi, kHkeyLocalMachine, kSysInfoKey,
                             kSysInfoValue, path);
    if (!found && GetKeyValue(platform.registry, platform.ansi, kHkeyLocalMachine,
                              kSysInfoLocationKey, kSysInfoLocationValue, path)) {
      path += kSysInfoProgram;
      found = FileExists(platform.files, path);
    }
    if (found) {
      platform.shell.Start(path, Shell::kNormalFocus);
      return;
    }
  } catch (...) {
    // A path that cannot be tested or started counts as no path at all.
  }
  msgBox.Show(kSysInfoUnavailable, MsgBox::kOkOnly, title);
}
