// The System Info command over an in-memory registry and file system: which program it starts,
// when it tells the user there is none, and how it reads the registry on the way.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "about/SysInfo.h"
#include "about/tests/AboutFakes.h"
#include "platform/CodePage.h"
#include "platform/tests/MemoryFileSystem.h"
#include "registry/tests/FailingRegistry.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

constexpr char kPathKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kLocationKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr wchar_t kRegisteredProgram[] =
    L"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";

// A text value as the registry keeps it when a program stores it with its terminating NUL.
std::string Terminated(std::string_view text) { return std::string(text) + '\0'; }

class SysInfoTest : public testing::Test {
 protected:
  // Stores a value below HKEY_LOCAL_MACHINE, making the key.
  void Store(const char* key, const char* name, std::string_view bytes,
             std::uint32_t type = reg::kRegSz) {
    HKey opened{};
    ASSERT_EQ(0, memory_.RegCreateKeyExA(kHkeyLocalMachine, key, 0, nullptr, 0, reg::kWrite,
                                         nullptr, &opened, nullptr));
    ASSERT_EQ(0, memory_.RegSetValueExA(opened, name, 0, type,
                                        reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                        static_cast<std::uint32_t>(bytes.size())));
    memory_.RegCloseKey(opened);
  }

  void Run() { StartSysInfo(platform_, msgBox_, L"Skeldra"); }

  // The one message the command may show.
  void ExpectUnavailableMessage() {
    ASSERT_EQ(1u, msgBox_.shown.size());
    EXPECT_EQ(L"System Information Is Unavailable At This Time", msgBox_.shown[0].prompt);
    EXPECT_EQ(0, msgBox_.shown[0].style) << "OK only";
    EXPECT_EQ(L"Skeldra", msgBox_.shown[0].title);
  }

  std::wstring Read(const char* key, const char* name, std::wstring before = {}) {
    std::wstring value = std::move(before);
    read_ = GetKeyValue(registry_, ansi_, kHkeyLocalMachine, ansi_.ToWide(key), ansi_.ToWide(name),
                        value);
    return value;
  }

  MemoryRegistry memory_;
  FailingRegistry failing_{memory_};
  RecordingRegistry registry_{failing_};
  Windows1252CodePage ansi_;
  MemoryFileSystem files_;
  RecordingShell shell_;
  RecordingMsgBox msgBox_;
  AboutPlatform platform_{registry_, ansi_, files_, shell_};
  bool read_ = false;
};

// --- Which program starts -------------------------------------------------------------------

TEST_F(SysInfoTest, TheRegisteredPathWinsAndStartsUnchangedWithoutAnExistenceTest) {
  Store(kPathKey, "PATH",
        Terminated("C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe"));
  Store(kLocationKey, "MSINFO", Terminated("C:\\Tools"));
  files_.AddFile(L"C:\\Tools\\MSINFO32.EXE", "MZ");

  Run();

  ASSERT_EQ(1u, shell_.started.size());
  EXPECT_EQ(kRegisteredProgram, shell_.started[0].commandLine)
      << "a path with blanks goes as it is, unquoted";
  EXPECT_EQ(1, shell_.started[0].windowStyle) << "a normal window with the focus";
  EXPECT_EQ(0u, files_.Listings());
  EXPECT_TRUE(msgBox_.shown.empty());
  EXPECT_EQ(1u, registry_.opens.size()) << "the folder's key is not read";
}

TEST_F(SysInfoTest, WithoutAPathTheProgramInTheRegisteredFolderStarts) {
  Store(kLocationKey, "MSINFO", Terminated("C:\\Tools"));
  files_.AddFile(L"C:\\Tools\\msinfo32.exe", "MZ", MemoryFileSystem::kReadOnly);

  Run();

  ASSERT_EQ(1u, shell_.started.size());
  EXPECT_EQ(L"C:\\Tools\\MSINFO32.EXE", shell_.started[0].commandLine);
  EXPECT_EQ(1, shell_.started[0].windowStyle);
  EXPECT_TRUE(msgBox_.shown.empty());
}

TEST_F(SysInfoTest, AnUnreadablePathFallsBackToTheFolder) {
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty data", ""},
      {"over 1024 bytes", Terminated(std::string(1100, 'p'))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    shell_.started.clear();
    msgBox_.shown.clear();
    Store(kPathKey, "PATH", c.bytes);
    Store(kLocationKey, "MSINFO", Terminated("D:\\Shared"));
    files_.AddFile(L"D:\\Shared\\MSINFO32.EXE", "MZ");

    Run();

    ASSERT_EQ(1u, shell_.started.size());
    EXPECT_EQ(L"D:\\Shared\\MSINFO32.EXE", shell_.started[0].commandLine);
    EXPECT_TRUE(msgBox_.shown.empty());
  }
}

// --- When there is none ---------------------------------------------------------------------

TEST_F(SysInfoTest, AFolderWithoutANormalProgramFileGivesTheMessage) {
  struct Case {
    const char* name;
    void (*prepare)(MemoryFileSystem&);
  } cases[] = {
      {"no file", [](MemoryFileSystem&) {}},
      {"a folder of that name",
       [](MemoryFileSystem& f) { f.AddDirectory(L"C:\\Tools\\MSINFO32.EXE"); }},
      {"a hidden file",
       [](MemoryFileSystem& f) {
         f.AddFile(L"C:\\Tools\\MSINFO32.EXE", "MZ", MemoryFileSystem::kHidden);
       }},
      {"a drive that cannot be listed",
       [](MemoryFileSystem& f) {
         f.AddFile(L"C:\\Tools\\MSINFO32.EXE", "MZ");
         f.FailListing(L"C:\\Tools\\MSINFO32.EXE");
       }},
  };
  Store(kLocationKey, "MSINFO", Terminated("C:\\Tools"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryFileSystem files;
    c.prepare(files);
    RecordingMsgBox msgBox;
    StartSysInfo({registry_, ansi_, files, shell_}, msgBox, L"Skeldra");
    EXPECT_TRUE(shell_.started.empty());
    ASSERT_EQ(1u, msgBox.shown.size());
    EXPECT_EQ(L"System Information Is Unavailable At This Time", msgBox.shown[0].prompt);
  }
}

TEST_F(SysInfoTest, NeitherKeyGivesTheMessage) {
  Run();
  ExpectUnavailableMessage();
  EXPECT_TRUE(shell_.started.empty());
}

TEST_F(SysInfoTest, AZeroByteValueInBothKeysGivesTheMessage) {
  Store(kPathKey, "PATH", "");
  Store(kLocationKey, "MSINFO", "");
  Run();
  ExpectUnavailableMessage();
  EXPECT_TRUE(shell_.started.empty());
}

TEST_F(SysInfoTest, AProgramThatCannotBeStartedGivesTheMessage) {
  Store(kPathKey, "PATH", Terminated("C:\\Gone\\msinfo32.exe"));
  shell_.failStarts = true;
  Run();
  EXPECT_EQ(1u, shell_.started.size());
  ExpectUnavailableMessage();
}

TEST_F(SysInfoTest, AnExpandableTextPathCountsAsReadButLeavesThePathEmpty) {
  Store(kPathKey, "PATH", Terminated("%ProgramFiles%\\msinfo32.exe"), reg::kRegExpandSz);
  Store(kLocationKey, "MSINFO", Terminated("C:\\Tools"));
  files_.AddFile(L"C:\\Tools\\MSINFO32.EXE", "MZ");

  Run();

  ASSERT_EQ(1u, shell_.started.size());
  EXPECT_EQ(L"", shell_.started[0].commandLine) << "the empty path is what fails to start";
  EXPECT_EQ(0u, files_.Listings()) << "the folder is not tried";
  ExpectUnavailableMessage();
}

// --- Reading a value ------------------------------------------------------------------------

TEST_F(SysInfoTest, TheKeyIsOpenedReadOnlyQueriedIntoAKilobyteAndAlwaysClosed) {
  Store(kPathKey, "PATH", Terminated("C:\\x.exe"));
  Store(kLocationKey, "other", Terminated("C:\\Tools"));

  EXPECT_EQ(L"C:\\x.exe", Read(kPathKey, "PATH"));
  EXPECT_TRUE(read_);
  EXPECT_EQ(L"", Read(kLocationKey, "MSINFO", L"before")) << "a missing value";
  EXPECT_FALSE(read_);
  failing_.Fail("RegQueryValueExA", reg::kAccessDenied);
  EXPECT_EQ(L"", Read(kPathKey, "PATH", L"before")) << "a query that fails";
  EXPECT_FALSE(read_);
  failing_.Fail("", 0);

  ASSERT_EQ(3u, registry_.opens.size());
  for (const auto& open : registry_.opens) {
    EXPECT_EQ(kHkeyLocalMachine, open.root);
    EXPECT_EQ(0u, open.options);
    EXPECT_EQ(0x20019u, open.access) << "KEY_READ: no right to change the key is asked for";
  }
  EXPECT_EQ(kPathKey, registry_.opens[0].subKey);
  ASSERT_EQ(3u, registry_.queries.size());
  EXPECT_EQ("PATH", registry_.queries[0].valueName);
  EXPECT_FALSE(registry_.queries[0].reservedGiven);
  EXPECT_TRUE(registry_.queries[0].bufferGiven);
  EXPECT_EQ(1024u, registry_.queries[0].bufferSize);
  EXPECT_EQ(3u, registry_.closes.size());
  EXPECT_EQ(0u, memory_.OpenHandles());
}

TEST_F(SysInfoTest, AKeyThatCannotBeOpenedIsNotClosedAndEmptiesTheResult) {
  EXPECT_EQ(L"", Read("SOFTWARE\\Nowhere", "PATH", L"before"));
  EXPECT_FALSE(read_);
  EXPECT_TRUE(registry_.closes.empty());
}

TEST_F(SysInfoTest, TextComesBackWithoutOneTerminatingNul) {
  struct Case {
    const char* name;
    std::string stored;
    std::wstring read;
  } cases[] = {
      {"with its NUL", Terminated("C:\\Tools"), L"C:\\Tools"},
      {"without a NUL", "C:\\Tools", L"C:\\Tools"},
      {"with two NULs", std::string("C:\\Tools\0\0", 10), std::wstring(L"C:\\Tools\0", 9)},
      {"a lone NUL", std::string(1, '\0'), L""},
      {"1023 characters and a NUL fill the buffer", Terminated(std::string(1023, 'a')),
       std::wstring(1023, L'a')},
      {"characters of the ANSI code page", Terminated("C:\\Caf\xE9"), L"C:\\Caf\u00E9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Store(kPathKey, "PATH", c.stored);
    EXPECT_EQ(c.read, Read(kPathKey, "PATH"));
    EXPECT_TRUE(read_);
  }
}

TEST_F(SysInfoTest, ValuesThatCannotBeReadGiveFalseAndAnEmptyResult) {
  struct Case {
    const char* name;
    std::string stored;
  } cases[] = {
      {"no bytes", ""},
      {"1025 bytes", std::string(1025, 'a')},
      {"1024 characters and a NUL", Terminated(std::string(1024, 'a'))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Store(kPathKey, "PATH", c.stored);
    EXPECT_EQ(L"", Read(kPathKey, "PATH", L"before"));
    EXPECT_FALSE(read_);
  }
  EXPECT_EQ(0u, memory_.OpenHandles());
}

TEST_F(SysInfoTest, ADwordReadsAsHexadecimalDigitsOfItsBytesLastFirst) {
  struct Case {
    const char* name;
    std::string bytes;
    std::wstring read;
  } cases[] = {
      {"every byte set", "\x78\x56\x34\x12", L"&h12345678"},
      {"no leading zero in a byte", "\x0D\x0C\x0B\x0A", L"&hABCD"},
      {"a last NUL byte is dropped as a text's would be", std::string("\x2A\0\0\0", 4), L"&h002A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Store(kPathKey, "n", c.bytes, reg::kRegDword);
    EXPECT_EQ(c.read, Read(kPathKey, "n", L"before"));
    EXPECT_TRUE(read_);
  }
}

TEST_F(SysInfoTest, OtherTypesCountAsReadAndLeaveTheResultAsItWas) {
  for (std::uint32_t type : {reg::kRegExpandSz, reg::kRegBinary}) {
    SCOPED_TRACE(type);
    Store(kPathKey, "PATH", Terminated("C:\\x.exe"), type);
    EXPECT_EQ(L"before", Read(kPathKey, "PATH", L"before"));
    EXPECT_TRUE(read_);
  }
}

TEST_F(SysInfoTest, KeyAndValueNamesGoInTheAnsiCodePage) {
  Store("SOFTWARE\\Caf\xE9", "\xC9t\xE9", Terminated("x"));
  std::wstring value;
  EXPECT_TRUE(GetKeyValue(registry_, ansi_, kHkeyLocalMachine, L"SOFTWARE\\Caf\u00E9",
                          L"\u00C9t\u00E9", value));
  EXPECT_EQ(L"x", value);
}

}  // namespace
