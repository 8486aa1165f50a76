// The project file reader over every file system this build has: files in memory, and under
// Windows real files in a temporary folder.

#include <gtest/gtest.h>

#include "catalogue/ProjectFile.h"
#include "platform/Error.h"
#include "platform/tests/FileWorld.h"
#include "platform/tests/MemoryFileSystem.h"

namespace {

// The fields a reading gives, in one line.
std::wstring Fields(const cProject& p) {
  return p.Name() + L"|" + p.Title() + L"|" + p.Description() + L"|" + p.ExeName() + L"|" +
         p.TypeFreindlyName() + L"|" + p.VersionText() + L"|" + std::to_wstring(p.StartMode());
}
const std::wstring kEmpty = L"|||||0.0.0|0";

class ProjectFileTest : public testing::TestWithParam<FileWorldMaker> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }

  cProject Read(std::string_view bytes, unsigned attributes = 0) {
    world_->AddFile(L"p.vbp", bytes, attributes);
    return ReadProjectFile(world_->Files(), world_->Ansi(), world_->PathOf(L"p.vbp"));
  }

  std::unique_ptr<FileWorld> world_;
};

TEST_P(ProjectFileTest, ReadsAProjectFileAsTheIdeWritesIt) {
  const cProject p = Read(
      "Type=Exe\r\n"
      "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\stdole2.tlb#OLE Automation\r\n"
      "Form=frmMain.frm\r\nModule=mMain; mMain.bas\r\nStartup=\"frmMain\"\r\n"
      "Title=\"Order Entry\"\r\nExeName32=\"OrderEntry.exe\"\r\nName=\"OrderEntry\"\r\n"
      "Description=\"Takes the \"day's\" orders\"\r\nMajorVer=2\r\nMinorVer=1\r\nRevisionVer=15\r\n"
      "VersionComments=\"Internal build\"\r\nVersionCompanyName=\"Harbour Supplies\"\r\n"
      "VersionFileDescription=\"Order entry front end\"\r\n"
      "VersionLegalCopyright=\"(c) Harbour Supplies\"\r\nVersionProductName=\"Harbour Orders\"\r\n"
      "StartMode=1\r\n\r\n[MS Transaction Server]\r\nAutoRefresh=1\r\n");
  EXPECT_EQ(L"OrderEntry|Order Entry|Takes the day's orders|OrderEntry.exe|Standard EXE|2.1.15|1",
            Fields(p));
  EXPECT_EQ((std::vector<std::wstring>{L"Internal build", L"Harbour Supplies", L"Order entry front end",
                                       L"(c) Harbour Supplies", L"Harbour Orders"}),
            (std::vector<std::wstring>{p.VersionComments(), p.VersionCompanyName(),
                                       p.VersionFileDescription(), p.VersionLegalCopyright(),
                                       p.VersionProductName()}));
}

TEST_P(ProjectFileTest, ReadsLinesAndValuesByTheRulesOfTheIde) {
  const struct {
    const char* why;
    std::string text;
    std::wstring fields;
  } cases[] = {
      {"empty", "", kEmpty},
      {"only blank lines", "   \r\n\r\n", kEmpty},
      {"lines end only at CR LF", "Name=One\nTitle=Two\nMajorVer=3\n", L"One\nTitle=Two\nMajorVer=3\n|||||0.0.0|0"},
      {"a lone CR is text", "Name=One\rTitle=Two\r\nDescription=Three", L"One\rTitle=Two||Three|||0.0.0|0"},
      {"keys trimmed and ignoring case, values lose only their quotes",
       "Title = \"My App\"\r\nname=lower\r\nDescription=Say \"hi\" twice\r\nStartup=\"frmMain\"\r\n"
       "[Section]\r\nno equals sign here\r\n=empty key\r\nExeName32=a=b\r\n",
       L"lower| My App|Say hi twice|a=b||0.0.0|0"},
      {"the whole text is trimmed of blanks, inner lines are not", "   Name=First  \r\nTitle=Last   ",
       L"First  |Last||||0.0.0|0"},
      {"the last occurrence wins", "Name=A\r\n[Other]\r\nName=B\r\nName=C\r\nType=Control\r\nType=OleDll",
       L"C||||ActiveX DLL|0.0.0|0"},
      {"versions read leniently", "MajorVer=2.5\r\nMinorVer=3.5\r\nRevisionVer=  7 \r\nStartMode=100000",
       L"|||||2.4.7|100000"},
      {"versions that are no number", "MajorVer=\r\nMinorVer=abc\r\nRevisionVer=\"\"", kEmpty},
      {"a number out of range ends the reading at its line",
       "Type=OleDll\r\nName=Kept\r\nMinorVer=4\r\nMajorVer=40000\r\nDescription=Never read\r\nRevisionVer=9",
       L"Kept||||ActiveX DLL|0.4.0|0"},
      {"a start mode out of range too", "StartMode=2147483648\r\nName=Lost", kEmpty},
      {"bytes in the ANSI code page", "Title=Caf\xe9 \x80", L"|Caf\u00e9 \u20ac||||0.0.0|0"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.fields, Fields(Read(c.text))) << c.why;
}

TEST_P(ProjectFileTest, AnEqualsSignBeyondPosition32767EndsTheReadingAndALargeFileIsReadWhole) {
  const std::string atLimit = "Name=Kept\r\nDescription" + std::string(32766 - 11, ' ') + "=yes";
  EXPECT_EQ(L"Kept||yes|||0.0.0|0", Fields(Read(atLimit)));
  const std::string beyond = "Name=Kept\r\nDescription" + std::string(32767 - 11, ' ') + "=no";
  EXPECT_EQ(L"Kept|||||0.0.0|0", Fields(Read(beyond + "\r\nTitle=After")));

  std::string big = "Name=Big\r\n";
  while (big.size() < (1u << 20)) big += "Module=Module" + std::to_string(big.size()) + "; m.bas\r\n";
  EXPECT_EQ(L"Big|At the end||||0.0.0|0", Fields(Read(big + "Title=At the end")));
}

TEST_P(ProjectFileTest, OnlyNormalFilesExistAndAreRead) {
  const struct {
    const wchar_t* name;
    unsigned attributes;
    bool exists;
  } files[] = {
      {L"plain.vbp", 0, true}, {L"readonly.vbp", FileWorld::kReadOnly, true},
      {L"archive.vbp", FileWorld::kArchive, true}, {L"hidden.vbp", FileWorld::kHidden, false},
      {L"system.vbp", FileWorld::kSystem, false},
  };
  for (const auto& f : files) {
    world_->AddFile(f.name, "Name=A", f.attributes);
    EXPECT_EQ(f.exists, FileExists(world_->Files(), world_->PathOf(f.name))) << f.name;
    EXPECT_EQ(f.exists ? L"A" : L"", ReadProjectFile(world_->Files(), world_->Ansi(), world_->PathOf(f.name)).Name());
  }
  world_->AddDirectory(L"folder.vbp");
  for (const wchar_t* name : {L"folder.vbp", L"none.vbp", L"*.vbp", L"plain.vb?"})
    EXPECT_FALSE(FileExists(world_->Files(), world_->PathOf(name))) << name;
  EXPECT_TRUE(FileExists(world_->Files(), world_->PathOf(L"PLAIN.VBP"))) << "paths ignore case";
  EXPECT_FALSE(FileExists(world_->Files(), L"")) << "the empty path names no file";
  EXPECT_EQ(kEmpty, Fields(ReadProjectFile(world_->Files(), world_->Ansi(), world_->PathOf(L"folder.vbp"))));
}

INSTANTIATE_TEST_SUITE_P(FileSystems, ProjectFileTest, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

TEST(ProjectFileFailures, AFileThatCannotBeListedOrReadGivesAnEmptyRecordAfterOneRead) {
  MemoryFileSystem files;
  Windows1252CodePage ansi;
  files.AddFile(L"Q:\\p.vbp", "Name=A");
  files.FailListing(L"Q:\\p.vbp");
  EXPECT_THROW(FileExists(files, L"Q:\\p.vbp"), VbError);
  EXPECT_EQ(L"", ReadProjectFile(files, ansi, L"Q:\\p.vbp").Name());
  files.AddFile(L"C:\\locked.vbp", "Name=A");
  files.FailReading(L"C:\\locked.vbp");
  const std::size_t reads = files.Reads();
  EXPECT_EQ(L"", ReadProjectFile(files, ansi, L"C:\\locked.vbp").Name());
  EXPECT_EQ(reads + 1, files.Reads());
}

}  // namespace
