// The project file reader and the record it fills, over files in memory: the file system's own
// rules are the platform's contract, tested there against real files too.

#include <gtest/gtest.h>

#include "catalogue/ProjectFile.h"
#include "platform/CodePage.h"
#include "platform/tests/MemoryFileSystem.h"

namespace {

// Windows-1252 taken for a double-byte code page: the reader then widens the whole file before
// it splits it, which must read the same.
class WidenedFirst final : public CodePage {
 public:
  std::wstring ToWide(std::string_view bytes) const override { return cp_.ToWide(bytes); }
  std::string ToAnsi(std::wstring_view text) const override { return cp_.ToAnsi(text); }
  bool IsDoubleByte() const override { return true; }

 private:
  Windows1252CodePage cp_;
};

std::wstring Fields(const cProject& p) {
  return p.Name() + L"|" + p.Title() + L"|" + p.Description() + L"|" + p.ExeName() + L"|" +
         p.TypeFreindlyName() + L"|" + p.VersionText() + L"|" + std::to_wstring(p.StartMode()) +
         L"|" + p.VersionComments() + L"|" + p.VersionCompanyName() + L"|" +
         p.VersionFileDescription() + L"|" + p.VersionLegalCopyright() + L"|" +
         p.VersionProductName();
}

// The fields of the record read from the text, in one line, the same both ways.
std::wstring Read(std::string text) {
  MemoryFileSystem files;
  files.AddFile(L"C:\\p.vbp", std::move(text));
  const std::wstring fields = Fields(ReadProjectFile(files, Windows1252CodePage(), L"C:\\p.vbp"));
  EXPECT_EQ(fields, Fields(ReadProjectFile(files, WidenedFirst(), L"C:\\p.vbp")));
  return fields;
}
const std::wstring kEmpty = L"|||||0.0.0|0|||||";

TEST(ReadProjectFile, ReadsLinesAndValuesByTheRulesOfTheIde) {
  const struct {
    const char* why;
    std::string text;
    std::wstring fields;
  } cases[] = {
      {"as the IDE writes it",
       "Type=Exe\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\stdole2.tlb#OLE "
       "Automation\r\nForm=frmMain.frm\r\nModule=mMain; mMain.bas\r\nStartup=\"frmMain\"\r\n"
       "Title=\"Order Entry\"\r\nExeName32=\"OrderEntry.exe\"\r\nName=\"OrderEntry\"\r\n"
       "Description=\"Takes the \"day's\" orders\"\r\nMajorVer=2\r\nMinorVer=1\r\nRevisionVer=15\r\n"
       "VersionComments=\"Internal\"\r\nVersionCompanyName=\"Harbour\"\r\n"
       "VersionFileDescription=\"Front end\"\r\nVersionLegalCopyright=\"(c) Harbour\"\r\n"
       "VersionProductName=\"Orders\"\r\nStartMode=1\r\n\r\n[MS Transaction Server]\r\n"
       "AutoRefresh=1\r\n",
       L"OrderEntry|Order Entry|Takes the day's orders|OrderEntry.exe|Standard EXE|2.1.15|1|"
       L"Internal|Harbour|Front end|(c) Harbour|Orders"},
      {"empty", "", kEmpty},  {"only blank lines", "   \r\n\r\n", kEmpty},
      {"lines end only at CR LF: a lone LF or CR is text",
       "Name=One\nTitle=Two\rMajorVer=3\r\nDescription=4\n",
       L"One\nTitle=Two\rMajorVer=3||4\n|||0.0.0|0|||||"},
      {"keys with letters past z are none; a CR ends no line, also last",
       "N\xc4ME=x\r\nTitle~=y\r\nName=A\r", L"A\r|||||0.0.0|0|||||"},
      {"keys trimmed and ignoring case, as are the types' names; values lose only their quotes",
       "Title = \"My App\"\r\nname=lower\r\nDescription=Say \"hi\" twice\r\nStartup=\"frmMain\"\r\n"
       "[Section]\r\nno equals sign here\r\n=empty key\r\nExeName32=a=b\r\nType=control",
       L"lower| My App|Say hi twice|a=b|ActiveX Control|0.0.0|0|||||"},
      {"the whole text is trimmed of blanks, inner lines are not",
       "   Name=First  \r\nTitle=Last   ", L"First  |Last||||0.0.0|0|||||"},
      {"the last occurrence wins",
       "Name=A\r\n[Other]\r\nName=B\r\nName=C\r\nType=Control\r\nType=OleDll",
       L"C||||ActiveX DLL|0.0.0|0|||||"},
      {"versions read leniently",
       "MajorVer=2.5\r\nMinorVer=10.5\r\nRevisionVer=  -7 \r\nStartMode=100000",
       L"|||||2.10.-7|100000|||||"},
      {"a number out of range ends the reading at its line; any other type is an ActiveX EXE",
       "Type=OleExe\r\nName=Kept\r\nMinorVer=4\r\nMajorVer=40000\r\nDescription=No\r\nRevisionVer=9",
       L"Kept||||ActiveX EXE|0.4.0|0|||||"},
      {"a start mode out of range too", "StartMode=2147483648\r\nName=Lost", kEmpty},
      {"bytes in the ANSI code page", "Title=Caf\xe9 \x80", L"|Caf\u00e9 \u20ac||||0.0.0|0|||||"},
      {"an equals sign at position 32767 is read",
       "Name=Kept\r\nDescription" + std::string(32766 - 11, ' ') + "=yes",
       L"Kept||yes|||0.0.0|0|||||"},
      {"one beyond ends the reading",
       "Name=Kept\r\nDescription" + std::string(32767 - 11, ' ') + "=no\r\nTitle=After",
       L"Kept|||||0.0.0|0|||||"},
      {"after any key", "Form" + std::string(32767 - 4, ' ') + "=x\r\nName=Lost", kEmpty},
  };
  for (const auto& c : cases) EXPECT_EQ(c.fields, Read(c.text)) << c.why;
}

// A project file is a few kilobytes: a larger file is some other file, and is not read. The
// largest is read whole. (The reader's fuzz target reads hidden and unreadable files too.)
TEST(ReadProjectFile, AFileThatCannotBeListedOrIsLargerGivesAnEmptyRecord) {
  MemoryFileSystem files;
  const std::string largest = std::string(kLargestProjectFile - 6, ' ') + "Name=A";
  files.AddFile(L"Q:\\unlisted.vbp", "Name=A");
  files.FailListing(L"Q:\\unlisted.vbp");
  files.AddFile(L"C:\\largest.vbp", largest);
  files.AddFile(L"C:\\larger.vbp", largest + ' ');
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"Q:\\unlisted.vbp", L""}, {L"C:\\largest.vbp", L"A"}, {L"C:\\larger.vbp", L""}};
  for (const auto& [path, name] : cases)
    EXPECT_EQ(name, ReadProjectFile(files, Windows1252CodePage(), path).Name()) << path;
}

}  // namespace
