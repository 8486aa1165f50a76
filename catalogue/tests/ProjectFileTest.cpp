// The project file reader over every file system this build has: files in memory, and under
// Windows real files in a temporary folder.

#include <gtest/gtest.h>

#include "catalogue/ProjectFile.h"
#include "platform/Error.h"
#include "platform/tests/FileWorld.h"
#include "platform/tests/MemoryFileSystem.h"

namespace {

// A project file as the IDE writes it.
constexpr char kStandardExe[] =
    "Type=Exe\r\n"
    "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\stdole2.tlb#OLE Automation\r\n"
    "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"
    "Form=frmMain.frm\r\n"
    "Module=mMain; mMain.bas\r\n"
    "Class=cOrder; cOrder.cls\r\n"
    "Startup=\"frmMain\"\r\n"
    "HelpFile=\"\"\r\n"
    "Title=\"Order Entry\"\r\n"
    "ExeName32=\"OrderEntry.exe\"\r\n"
    "Command32=\"\"\r\n"
    "Name=\"OrderEntry\"\r\n"
    "HelpContextID=\"0\"\r\n"
    "Description=\"Takes the \"day's\" orders\"\r\n"
    "CompatibleMode=\"0\"\r\n"
    "MajorVer=2\r\n"
    "MinorVer=1\r\n"
    "RevisionVer=15\r\n"
    "AutoIncrementVer=0\r\n"
    "ServerSupportFiles=0\r\n"
    "VersionComments=\"Internal build\"\r\n"
    "VersionCompanyName=\"Harbour Supplies\"\r\n"
    "VersionFileDescription=\"Order entry front end\"\r\n"
    "VersionLegalCopyright=\"(c) Harbour Supplies\"\r\n"
    "VersionProductName=\"Harbour Orders\"\r\n"
    "CompilationType=0\r\n"
    "StartMode=0\r\n"
    "\r\n"
    "[MS Transaction Server]\r\n"
    "AutoRefresh=1\r\n";

class ProjectFileTest : public testing::TestWithParam<FileWorldMaker> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }

  cProject Read(std::string_view bytes, unsigned attributes = 0) {
    world_->AddFile(L"p.vbp", bytes, attributes);
    return ReadProjectFile(world_->Files(), world_->Ansi(), world_->PathOf(L"p.vbp"));
  }
  bool Exists(std::wstring_view name) { return FileExists(world_->Files(), world_->PathOf(name)); }

  static void ExpectEmpty(const cProject& p) {
    EXPECT_EQ(L"", p.Name());
    EXPECT_EQ(L"", p.Title());
    EXPECT_EQ(L"", p.TypeString());
    EXPECT_EQ(0, p.ProjectType());
    EXPECT_EQ(L"", p.TypeFreindlyName());
    EXPECT_EQ(L"0.0.0", p.VersionText());
  }

  std::unique_ptr<FileWorld> world_;
};

TEST_P(ProjectFileTest, ReadsAProjectFileAsTheIdeWritesIt) {
  cProject p = Read(kStandardExe);
  EXPECT_EQ(L"Exe", p.TypeString());
  EXPECT_EQ(0, p.ProjectType());
  EXPECT_EQ(L"Standard EXE", p.TypeFreindlyName());
  EXPECT_EQ(L"Order Entry", p.Title());
  EXPECT_EQ(L"OrderEntry.exe", p.ExeName());
  EXPECT_EQ(L"OrderEntry", p.Name());
  EXPECT_EQ(L"Takes the day's orders", p.Description());
  EXPECT_EQ(L"2.1.15", p.VersionText());
  EXPECT_EQ(L"Internal build", p.VersionComments());
  EXPECT_EQ(L"Harbour Supplies", p.VersionCompanyName());
  EXPECT_EQ(L"Order entry front end", p.VersionFileDescription());
  EXPECT_EQ(L"(c) Harbour Supplies", p.VersionLegalCopyright());
  EXPECT_EQ(L"Harbour Orders", p.VersionProductName());
  EXPECT_EQ(0, p.StartMode());
}

TEST_P(ProjectFileTest, AMissingOrEmptyFileGivesAnEmptyRecord) {
  ExpectEmpty(ReadProjectFile(world_->Files(), world_->Ansi(), world_->PathOf(L"none.vbp")));
  ExpectEmpty(Read(""));
  ExpectEmpty(Read("   \r\n\r\n"));
}

TEST_P(ProjectFileTest, OnlyNormalFilesExist) {
  world_->AddFile(L"plain.vbp", "Name=A");
  world_->AddFile(L"readonly.vbp", "Name=A", FileWorld::kReadOnly);
  world_->AddFile(L"archive.vbp", "Name=A", FileWorld::kArchive);
  world_->AddFile(L"hidden.vbp", "Name=A", FileWorld::kHidden);
  world_->AddFile(L"system.vbp", "Name=A", FileWorld::kSystem);
  world_->AddDirectory(L"folder.vbp");

  EXPECT_TRUE(Exists(L"plain.vbp"));
  EXPECT_TRUE(Exists(L"PLAIN.VBP")) << "paths ignore case";
  EXPECT_TRUE(Exists(L"readonly.vbp"));
  EXPECT_TRUE(Exists(L"archive.vbp"));
  EXPECT_FALSE(Exists(L"hidden.vbp"));
  EXPECT_FALSE(Exists(L"system.vbp"));
  EXPECT_FALSE(Exists(L"folder.vbp"));
  EXPECT_FALSE(Exists(L"none.vbp"));
  EXPECT_FALSE(Exists(L"*.vbp")) << "a pattern names no file";
  EXPECT_FALSE(Exists(L"plain.vb?"));
  EXPECT_FALSE(FileExists(world_->Files(), L"")) << "the empty path names no file";

  EXPECT_EQ(L"A", ReadProjectFile(world_->Files(), world_->Ansi(), world_->PathOf(L"readonly.vbp")).Name());
  ExpectEmpty(ReadProjectFile(world_->Files(), world_->Ansi(), world_->PathOf(L"hidden.vbp")));
  ExpectEmpty(ReadProjectFile(world_->Files(), world_->Ansi(), world_->PathOf(L"system.vbp")));
  ExpectEmpty(ReadProjectFile(world_->Files(), world_->Ansi(), world_->PathOf(L"folder.vbp")));
}

TEST_P(ProjectFileTest, LinesEndOnlyAtCarriageReturnLineFeed) {
  cProject lf = Read("Name=One\nTitle=Two\nMajorVer=3\n");
  EXPECT_EQ(L"One\nTitle=Two\nMajorVer=3\n", lf.Name()) << "one line: the first = splits it";
  EXPECT_EQ(L"", lf.Title());
  EXPECT_EQ(0, lf.VersionMajor());

  cProject cr = Read("Name=One\rTitle=Two\r\nDescription=Three");
  EXPECT_EQ(L"One\rTitle=Two", cr.Name());
  EXPECT_EQ(L"Three", cr.Description());
}

TEST_P(ProjectFileTest, KeysAreTrimmedAndIgnoreCaseValuesLoseOnlyTheirQuotes) {
  cProject p = Read(
      "Title = \"My App\"\r\n"
      "name=lower\r\n"
      "Description=Say \"hi\" twice\r\n"
      "Startup=\"frmMain\"\r\n"
      "[Section]\r\n"
      "no equals sign here\r\n"
      "=empty key\r\n"
      "ExeName32=a=b\r\n");
  EXPECT_EQ(L" My App", p.Title()) << "the blank after = stays";
  EXPECT_EQ(L"lower", p.Name());
  EXPECT_EQ(L"Say hi twice", p.Description());
  EXPECT_EQ(L"a=b", p.ExeName()) << "only the first = splits";
  EXPECT_EQ(0, p.StartMode()) << "Startup is not StartMode";
}

TEST_P(ProjectFileTest, TheWholeTextIsTrimmedOfBlanksButInnerLinesAreNot) {
  cProject p = Read("   Name=First  \r\nTitle=Last   ");
  EXPECT_EQ(L"First  ", p.Name());
  EXPECT_EQ(L"Last", p.Title());
}

TEST_P(ProjectFileTest, TheLastOccurrenceOfAKeyWins) {
  cProject p = Read("Name=A\r\n[Other]\r\nName=B\r\nName=C\r\nType=Control\r\nType=OleDll");
  EXPECT_EQ(L"C", p.Name());
  EXPECT_EQ(L"OleDll", p.TypeString());
  EXPECT_EQ(2, p.ProjectType());
  EXPECT_EQ(L"ActiveX DLL", p.TypeFreindlyName());
}

TEST_P(ProjectFileTest, VersionNumbersAreReadLeniently) {
  EXPECT_EQ(L"2.0.15", Read("MajorVer=2\r\nMinorVer=0\r\nRevisionVer=15").VersionText());
  EXPECT_EQ(L"0.0.0", Read("MajorVer=\r\nMinorVer=abc\r\nRevisionVer=\"\"").VersionText());
  EXPECT_EQ(L"2.4.7", Read("MajorVer=2.5\r\nMinorVer=3.5\r\nRevisionVer=  7 ").VersionText());
  EXPECT_EQ(100000, Read("StartMode=100000").StartMode());
}

TEST_P(ProjectFileTest, ANumberOutOfRangeEndsTheReadingAtItsLine) {
  cProject p = Read(
      "Type=OleDll\r\nName=Kept\r\nTitle=Kept too\r\nMinorVer=4\r\n"
      "MajorVer=40000\r\n"
      "Description=Never read\r\nRevisionVer=9");
  EXPECT_EQ(L"Kept", p.Name());
  EXPECT_EQ(L"Kept too", p.Title());
  EXPECT_EQ(L"ActiveX DLL", p.TypeFreindlyName());
  EXPECT_EQ(L"0.4.0", p.VersionText());
  EXPECT_EQ(L"", p.Description());

  EXPECT_EQ(L"", Read("StartMode=2147483648\r\nName=Lost").Name());
}

TEST_P(ProjectFileTest, AnEqualsSignBeyondPosition32767EndsTheReading) {
  const std::string atLimit = "Name=Kept\r\nDescription" + std::string(32766 - 11, ' ') + "=yes";
  ASSERT_EQ(32766u, atLimit.find('=', 11) - 11);
  EXPECT_EQ(L"yes", Read(atLimit + "\r\nTitle=After").Description());

  const std::string beyond = "Name=Kept\r\nDescription" + std::string(32767 - 11, ' ') + "=no";
  cProject p = Read(beyond + "\r\nTitle=After");
  EXPECT_EQ(L"Kept", p.Name());
  EXPECT_EQ(L"", p.Description());
  EXPECT_EQ(L"", p.Title());
}

TEST_P(ProjectFileTest, BytesAreReadInTheAnsiCodePage) {
  cProject p = Read("Title=Caf\xe9\r\nVersionCompanyName=\x80uro Ltd");
  EXPECT_EQ(L"Caf\u00e9", p.Title());
  EXPECT_EQ(L"\u20acuro Ltd", p.VersionCompanyName());
}

TEST_P(ProjectFileTest, ALargeFileIsReadWhole) {
  std::string big = "Name=Big\r\n";
  while (big.size() < (1u << 20)) big += "Module=Module" + std::to_string(big.size()) + "; m.bas\r\n";
  big += "Title=At the end";
  cProject p = Read(big);
  EXPECT_EQ(L"Big", p.Name());
  EXPECT_EQ(L"At the end", p.Title());
}

INSTANTIATE_TEST_SUITE_P(FileSystems, ProjectFileTest, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

TEST(ProjectFileFailures, AListingThatFailsRaisesFromFileExistsButNotFromTheReader) {
  MemoryFileSystem files;
  Windows1252CodePage ansi;
  files.AddFile(L"Q:\\p.vbp", "Name=A");
  files.FailListing(L"Q:\\p.vbp");
  EXPECT_THROW(FileExists(files, L"Q:\\p.vbp"), VbError);
  EXPECT_EQ(L"", ReadProjectFile(files, ansi, L"Q:\\p.vbp").Name());
}

TEST(ProjectFileFailures, AFileThatCannotBeReadGivesAnEmptyRecordAfterOneRead) {
  MemoryFileSystem files;
  Windows1252CodePage ansi;
  files.AddFile(L"C:\\locked.vbp", "Name=A");
  files.FailReading(L"C:\\locked.vbp");
  EXPECT_EQ(L"", ReadProjectFile(files, ansi, L"C:\\locked.vbp").Name());
  EXPECT_EQ(1u, files.Reads());
  EXPECT_EQ(1u, files.Listings());
}

}  // namespace
