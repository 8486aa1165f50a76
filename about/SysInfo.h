#pragma once
// The About box's "System Info..." command: finding the system information program through the
// registry and starting it, or telling the user it is not there.

#include <string>
#include <string_view>

#include "about/AboutBox.h"
#include "registry/RegistryApi.h"

class MsgBox;

/// Where the program's path is registered, and the folder it may be found in instead.
inline constexpr wchar_t kSysInfoKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr wchar_t kSysInfoValue[] = L"PATH";
inline constexpr wchar_t kSysInfoLocationKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr wchar_t kSysInfoLocationValue[] = L"MSINFO";
inline constexpr wchar_t kSysInfoProgram[] = L"\\MSINFO32.EXE";
inline constexpr wchar_t kSysInfoUnavailable[] = L"System Information Is Unavailable At This Time";

/// The value valueName of the key keyName below keyRoot, as text. The key is opened read-only,
/// so that a user without rights to change it can still read it, and is always closed again.
/// Data of up to 1024 bytes is read; one terminating NUL is dropped. A string value (REG_SZ)
/// gives its text; a DWORD value "&h" followed by the hexadecimal code of each byte, the last
/// stored byte first, each without leading zeros. A value of another type leaves keyVal as it
/// was, and still counts as read. Returns false, with keyVal empty, when the key or value cannot
/// be read, the value has no bytes, or it holds more than 1024.
bool GetKeyValue(RegistryApi& registry, const CodePage& ansi, HKey keyRoot,
                 std::wstring_view keyName, std::wstring_view valueName, std::wstring& keyVal);

/// Starts the system information program with a normal window: the path registered for it
/// (kSysInfoKey), else MSINFO32.EXE in the folder registered for it (kSysInfoLocationKey) when
/// that file exists. When there is none, or it cannot be started, shows kSysInfoUnavailable with
/// an OK button under the caption title. Throws only what the message box throws.
void StartSysInfo(const AboutPlatform& platform, MsgBox& msgBox, std::wstring_view title);
