// The reader in the double-byte ANSI code pages, as the system converts them: it must read as
// widening the whole file first, also where a lead byte comes right before a CR LF, an "=", a
// quote, a blank or the end, which the converter pairs with the lead byte.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/ProjectFile.h"
#include "catalogue/tests/ReferenceReading.h"
#include "catalogue/tests/SameRecord.h"
#include "platform/tests/MemoryFileSystem.h"
#include "platform/win32/Win32CodePage.h"

namespace {

TEST(DoubleByte, TheReaderReadsAsTheWholeFileWidenedFirst) {
  std::vector<std::string> inputs = {
      "Name=\x82\xa0\r\nTitle=\x81\r\nDescription=\x81",  // lead bytes before CR LF and at the end
      "\x81Name=A\r\nName =\x81\"B\"\r\nTitle=\x81=x\r\nExeName32=\x81 \x81",
      "Title=\x81\x40\"\x81\r\n \x81 Type=Exe\r\nMajorVer=\x81" "1",
      // An "=" past byte 32767 but within 32767 characters keeps the reading going.
      "X" + std::string(40000, '\0') + "=y\r\nTitle=After",
  };
  for (std::size_t i = 0; i < 40000; ++i) inputs.back()[1 + i] = i % 2 ? '\xa1' : '\x82';
  const auto corpus = std::filesystem::path(MARROWBY_SOURCE_DIR) / "fuzz" / "corpus" / "fuzz_reader";
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    std::ostringstream bytes;
    bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
    inputs.push_back(bytes.str());
  }
  ASSERT_GT(inputs.size(), 5u);
  for (UINT codePage : {932, 936, 949, 950}) {
    const Win32CodePage ansi(codePage);
    EXPECT_TRUE(ansi.IsDoubleByte()) << codePage;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
      MemoryFileSystem files;
      files.AddFile(L"C:\\p.vbp", inputs[i]);
      const cProject read = ReadProjectFile(files, ansi, L"C:\\p.vbp");
      EXPECT_TRUE(SameRecord(ReferenceReading(ansi.ToWide(inputs[i])), read))
          << codePage << ", input " << i << ": " << testing::PrintToString(read.Title());
    }
  }
}

}  // namespace
