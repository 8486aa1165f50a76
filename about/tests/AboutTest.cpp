// The About box's texts, and its System Info command over an in-memory registry and file system:
// how the registered values read as text, which program it starts, and when it tells the user
// there is none.

#include <gtest/gtest.h>

#include <optional>

#include "about/AboutBox.h"
#include "about/SysInfo.h"
#include "platform/CodePage.h"
#include "platform/tests/MemoryFileSystem.h"
#include "platform/tests/RecordingMsgBox.h"
#include "platform/tests/RecordingShell.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

TEST(FormLoadTexts, ComeFromTheTitleAndTheVersionRecord) {
  // The file version 65534.5.7.65533: major.minor.revision, the third number is not shown.
  const AboutTexts texts =
      FormLoadTexts(L"Skeldra", {0xFFFE0005, 0x0007FFFD, L"Add-In", L"\u00A9 Tolvane"});
  EXPECT_EQ(L"About Skeldra|Skeldra|Version 65534.5.65533|Add-In|\u00A9 Tolvane",
            texts.Caption + L"|" + texts.Title + L"|" + texts.Version + L"|" +
                texts.Description + L"|" + texts.Copyright);
}

// Stores a value below HKEY_LOCAL_MACHINE, making the key.
void Store(RegistryApi& registry, const char* key, const char* name, const std::string& bytes,
           std::uint32_t type) {
  HKey opened{};
  registry.RegCreateKeyExA(kHkeyLocalMachine, key, 0, nullptr, 0, reg::kWrite, nullptr, &opened,
                           nullptr);
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  registry.RegSetValueExA(opened, name, 0, type, data, static_cast<std::uint32_t>(bytes.size()));
  registry.RegCloseKey(opened);
}

// A text as programs store it, with its terminating NUL.
std::string Sz(const std::string& text) { return text + '\0'; }

// The registered path, read as text, is started as it is; a path that cannot be read gives way
// to the program in the registered folder, if it is there.
TEST(StartSysInfo, StartsTheRegisteredProgramWithANormalWindowOrTellsTheUserThereIsNone) {
  const std::wstring kProgram = L"C:\\Program Files\\MSInfo\\msinfo32.exe",
                     kInFolder = L"C:\\Tools\\MSINFO32.EXE", kLong(1023, L'a'),
                     kMessage = L"System Information Is Unavailable At This Time|0|Skeldra";
  constexpr std::uint32_t kSz = reg::kRegSz, kDword = reg::kRegDword;
  const struct {
    const char* name;
    std::optional<std::string> path;  // the registered path's bytes, if any
    std::uint32_t type;
    const char* folder;  // the registered folder, if any
    std::wstring seen;   // the program started and its window style (1: normal), or the message
  } cases[] = {
      {"the path wins, unquoted and unchecked", Sz("C:\\Program Files\\MSInfo\\msinfo32.exe"), kSz,
       "C:\\Tools", kProgram + L"|1"},
      {"only one NUL is dropped", std::string("x\0\0", 3), kSz, nullptr, std::wstring(L"x\0|1", 4)},
      {"1023 characters fill the buffer", Sz(std::string(1023, 'a')), kSz, nullptr, kLong + L"|1"},
      {"1024 characters and a NUL", Sz(std::string(1024, 'a')), kSz, "C:\\Tools",
       kInFolder + L"|1"},
      {"no bytes", "", kSz, "C:\\Tools", kInFolder + L"|1"},
      {"no path: the program in the folder", {}, kSz, "C:\\Tools", kInFolder + L"|1"},
      {"a DWORD: its bytes in hexadecimal, last first", "\x78\x56\x34\x10", kDword, nullptr,
       L"&h10345678|1"},
      {"no leading zeros in a byte; a last NUL dropped", std::string("\x0B\x0A\0\0", 4), kDword,
       nullptr, L"&h0AB|1"},
      {"another type reads as nothing, yet read", Sz("C:\\x"), reg::kRegBinary, "C:\\Tools",
       kMessage},
      {"a folder without the program", {}, kSz, "C:\\Other", kMessage},
      {"neither value", {}, kSz, nullptr, kMessage},
      {"a path that cannot be started", Sz("C:\\Gone.exe"), kSz, nullptr, kMessage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry registry;
    if (c.path)
      Store(registry, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", *c.path, c.type);
    if (c.folder)
      Store(registry, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", Sz(c.folder), kSz);
    MemoryFileSystem files;
    files.AddFile(L"C:\\Tools\\msinfo32.exe", "MZ");
    Windows1252CodePage ansi;
    RecordingShell shell;  // starts only these
    shell.programs = {kProgram, kInFolder, std::wstring(L"x\0", 2), kLong, L"&h10345678", L"&h0AB"};
    RecordingMsgBox msgBox;

    StartSysInfo({registry, ansi, files, shell}, msgBox, L"Skeldra");

    std::vector<std::wstring> seen;
    for (const auto& call : msgBox.calls)
      seen.push_back(call.prompt + L"|" + std::to_wstring(call.style) + L"|" + call.title);
    for (const auto& call : shell.calls)
      seen.push_back(call.target + L"|" + std::to_wstring(call.windowStyle));
    EXPECT_EQ(std::vector<std::wstring>{c.seen}, seen);
    EXPECT_EQ(0u, registry.OpenHandles()) << "every key opened is closed";
  }
}

}  // namespace
