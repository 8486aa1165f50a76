// The System Info command over an in-memory registry and file system: which program it starts,
// when it tells the user there is none, and how a registry value reads as text.

#include <gtest/gtest.h>

#include <optional>

#include "about/SysInfo.h"
#include "platform/tests/RecordingShell.h"
#include "platform/CodePage.h"
#include "platform/tests/RecordingMsgBox.h"
#include "platform/tests/MemoryFileSystem.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

// Stores a value below HKEY_LOCAL_MACHINE, making the key.
void Store(RegistryApi& registry, const char* key, const char* name, const std::string& bytes,
           std::uint32_t type = reg::kRegSz) {
  HKey opened{};
  registry.RegCreateKeyExA(kHkeyLocalMachine, key, 0, nullptr, 0, reg::kWrite, nullptr, &opened,
                           nullptr);
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  registry.RegSetValueExA(opened, name, 0, type, data, static_cast<std::uint32_t>(bytes.size()));
  registry.RegCloseKey(opened);
}

// A text as programs store it, with its terminating NUL.
std::string Sz(const std::string& text) { return text + '\0'; }

TEST(StartSysInfo, StartsTheRegisteredProgramWithANormalWindowOrTellsTheUserThereIsNone) {
  const std::wstring kProgram = L"C:\\Program Files\\MSInfo\\msinfo32.exe";
  const std::wstring kInFolder = L"C:\\Tools\\MSINFO32.EXE";
  const std::wstring kMessage = L"System Information Is Unavailable At This Time|0|Skeldra";
  struct Case {
    const char* name;
    std::optional<std::string> path;  // the registered values
    const char* folder;
    const wchar_t* file;  // the one file there is
    std::wstring seen;  // the program started and its window style (1: normal), or the message
  } cases[] = {
      {"the path wins, unquoted and unchecked", Sz("C:\\Program Files\\MSInfo\\msinfo32.exe"),
       "C:\\Tools", L"C:\\Tools\\MSINFO32.EXE", kProgram + L"|1"},
      {"no path: the program in the folder", {}, "C:\\Tools", L"C:\\Tools\\msinfo32.exe",
       kInFolder + L"|1"},
      {"a folder without the program", {}, "C:\\Tools", L"C:\\Other\\MSINFO32.EXE", kMessage},
      {"neither value", {}, nullptr, L"C:\\Tools\\MSINFO32.EXE", kMessage},
      {"a path that cannot be started", Sz("C:\\Gone.exe"), nullptr, L"C:\\Gone.exe", kMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry registry;
    if (c.path) Store(registry, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", *c.path);
    if (c.folder)
      Store(registry, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", Sz(c.folder));
    MemoryFileSystem files;
    files.AddFile(c.file, "MZ");
    Windows1252CodePage ansi;
    RecordingShell shell;
    shell.programs = {kProgram, kInFolder};
    RecordingMsgBox msgBox;

    StartSysInfo({registry, ansi, files, shell}, msgBox, L"Skeldra");

    std::vector<std::wstring> seen;
    for (const auto& call : msgBox.calls)
      seen.push_back(call.prompt + L"|" + std::to_wstring(call.style) + L"|" + call.title);
    for (const auto& call : shell.calls)
      seen.push_back(call.target + L"|" + std::to_wstring(call.windowStyle));
    EXPECT_EQ(std::vector<std::wstring>{c.seen}, seen);
  }
}

TEST(GetKeyValue, ReadsTextAndDwordsAndEmptiesTheResultOfWhatCannotBeRead) {
  struct Case {
    const char* name;
    std::optional<std::string> stored;  // none: no such key
    std::uint32_t type;
    std::wstring read;  // over "before"; empty: nothing read
  } cases[] = {
      {"text in the ANSI code page, without a NUL", "C:\\Caf\xE9", reg::kRegSz, L"C:\\Caf\u00E9"},
      {"only one NUL is dropped", std::string("x\0\0", 3), reg::kRegSz, std::wstring(L"x\0", 2)},
      {"1023 characters fill the buffer", Sz(std::string(1023, 'a')), reg::kRegSz,
       std::wstring(1023, L'a')},
      {"1024 characters and a NUL", Sz(std::string(1024, 'a')), reg::kRegSz, L""},
      {"no bytes", "", reg::kRegSz, L""},
      {"no such key", {}, reg::kRegSz, L""},
      {"a DWORD: its bytes in hexadecimal, last first", "\x78\x56\x34\x10", reg::kRegDword,
       L"&h10345678"},
      {"no leading zeros in a byte; a last NUL dropped", std::string("\x0B\x0A\0\0", 4),
       reg::kRegDword, L"&h0AB"},
      {"another type leaves the result as it was", Sz("C:\\x"), reg::kRegBinary, L"before"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry registry;
    Windows1252CodePage ansi;
    if (c.stored) Store(registry, "SOFTWARE\\Caf\xE9", "\xC9t\xE9", *c.stored, c.type);
    std::wstring value = L"before";
    EXPECT_EQ(!c.read.empty(), GetKeyValue(registry, ansi, kHkeyLocalMachine,
                                           L"SOFTWARE\\Caf\u00E9", L"\u00C9t\u00E9", value));
    EXPECT_EQ(c.read, value);
    EXPECT_EQ(0u, registry.OpenHandles()) << "every key opened is closed";
  }
}

}  // namespace
