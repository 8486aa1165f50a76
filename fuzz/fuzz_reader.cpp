// The project file reader over arbitrary bytes: the bytes are a project file in memory, read as
// the list loader reads it. The record must be consistent in itself, equal on a second reading,
// and equal to a plain reading of the file line by line with ApplyProjectKey; the code page must
// convert each byte on its own and back.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/ProjectFile.h"
#include "catalogue/Text.h"
#include "fuzz/FuzzInput.h"
#include "catalogue/tests/ReferenceReading.h"
#include "catalogue/tests/SameRecord.h"
#include "platform/CodePage.h"
#include "platform/Error.h"
#include "platform/tests/MemoryFileSystem.h"

namespace {

constexpr wchar_t kPath[] = L"C:\\Projects\\Fuzzed\\Fuzzed.vbp";

// The type table: ProjectType and TypeFreindlyName follow from TypeString, except in a record
// no "Type" line has set, which keeps 0 and the empty name.
void CheckType(const cProject& p) {
  const std::wstring upper = text::UpperAscii(p.TypeString());
  if (p.TypeString().empty() && p.ProjectType() == 0) {
    FUZZ_CHECK(p.TypeFreindlyName().empty());
    return;
  }
  if (upper == L"EXE") {
    FUZZ_CHECK(p.ProjectType() == 0 && p.TypeFreindlyName() == L"Standard EXE");
  } else if (upper == L"OLEDLL") {
    FUZZ_CHECK(p.ProjectType() == 2 && p.TypeFreindlyName() == L"ActiveX DLL");
  } else if (upper == L"CONTROL") {
    FUZZ_CHECK(p.ProjectType() == 3 && p.TypeFreindlyName() == L"ActiveX Control");
  } else {
    FUZZ_CHECK(p.ProjectType() == 1 && p.TypeFreindlyName() == L"ActiveX EXE");
  }
}

void CheckTexts(const cProject& p) {
  // Values lose every double quote. (A CR LF may still appear in one: the quotes between a CR
  // and an LF are deleted after the lines are split.)
  for (const std::wstring* t :
       {&p.Name(), &p.TypeString(), &p.Title(), &p.ExeName(), &p.Description(),
        &p.VersionComments(), &p.VersionCompanyName(), &p.VersionFileDescription(),
        &p.VersionLegalCopyright(), &p.VersionProductName()})
    FUZZ_CHECK(t->find(L'"') == std::wstring::npos);
  FUZZ_CHECK(p.VersionText() == std::to_wstring(p.VersionMajor()) + L"." +
                                    std::to_wstring(p.VersionMinor()) + L"." +
                                    std::to_wstring(p.VersionRevision()));
}

void CheckCodePage(const CodePage& ansi, std::string_view bytes) {
  const std::wstring wide = ansi.ToWide(bytes);
  FUZZ_CHECK(wide.size() == bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i)
    FUZZ_CHECK(wide[i] == ansi.ToWide(bytes.substr(i, 1))[0]);
  FUZZ_CHECK(ansi.ToAnsi(wide) == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Windows1252CodePage ansi;
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  MemoryFileSystem files;
  files.AddFile(kPath, bytes);
  const cProject first = ReadProjectFile(files, ansi, kPath);  // noexcept: a throw terminates
  const cProject second = ReadProjectFile(files, ansi, kPath);
  FUZZ_CHECK(SameRecord(first, second));
  CheckType(first);
  CheckTexts(first);
  FUZZ_CHECK(SameRecord(first, ReferenceReading(ansi.ToWide(bytes))));

  // The same bytes in a hidden file, or one that cannot be read: the empty record.
  MemoryFileSystem hidden;
  hidden.AddFile(kPath, bytes, MemoryFileSystem::kHidden);
  FUZZ_CHECK(SameRecord(ReadProjectFile(hidden, ansi, kPath), cProject()));
  MemoryFileSystem locked;
  locked.AddFile(kPath, bytes);
  locked.FailReading(kPath);
  FUZZ_CHECK(SameRecord(ReadProjectFile(locked, ansi, kPath), cProject()));

  CheckCodePage(ansi, bytes);
  return 0;
}
