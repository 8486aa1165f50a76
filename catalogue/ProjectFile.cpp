#include "catalogue/ProjectFile.h"

#include <cstdint>
#include <limits>

#include "catalogue/Text.h"
#include "platform/CodePage.h"
#include "platform/Error.h"
#include "platform/FileSystem.h"

namespace {

enum class Field {
  Type, Title, ExeName, Name, Description, MajorVer, MinorVer, RevisionVer, VersionComments,
  VersionCompanyName, VersionFileDescription, VersionLegalCopyright, VersionProductName, StartMode,
};

struct ProjectKey {
  std::wstring_view key;  // upper case
  Field field;
};

constexpr ProjectKey kProjectKeys[] = {
    {L"TYPE", Field::Type},
    {L"TITLE", Field::Title},
    {L"EXENAME32", Field::ExeName},
    {L"NAME", Field::Name},
    {L"DESCRIPTION", Field::Description},
    {L"MAJORVER", Field::MajorVer},
    {L"MINORVER", Field::MinorVer},
    {L"REVISIONVER", Field::RevisionVer},
    {L"VERSIONCOMMENTS", Field::VersionComments},
    {L"VERSIONCOMPANYNAME", Field::VersionCompanyName},
    {L"VERSIONFILEDESCRIPTION", Field::VersionFileDescription},
    {L"VERSIONLEGALCOPYRIGHT", Field::VersionLegalCopyright},
    {L"VERSIONPRODUCTNAME", Field::VersionProductName},
    {L"STARTMODE", Field::StartMode},
};

template <typename T>
T ReadNumber(std::wstring_view value) {
  auto number = text::ReadWholeNumber(value, std::numeric_limits<T>::min(),
                                      std::numeric_limits<T>::max());
  if (!number) throw VbError(6, L"ApplyProjectKey", L"Overflow");
  return static_cast<T>(*number);
}

// The first "=" of a line is held as a 16-bit position (counted from 1): one further on ends
// the reading.
constexpr size_t kLastEqualsIndex = 32766;

// Where the first CR LF of the text starts, or npos. Searching for the CR alone lets the library
// scan many characters at a time.
size_t FindLineEnd(std::wstring_view text) {
  for (size_t cr = text.find(L'\r'); cr != std::wstring_view::npos; cr = text.find(L'\r', cr + 1))
    if (cr + 1 < text.size() && text[cr + 1] == L'\n') return cr;
  return std::wstring_view::npos;
}

// True when the key (trimmed of blanks, compared without case) names a field of the record.
bool IsRecordKey(std::wstring_view key) {
  key = text::TrimSpaces(key);
  for (const ProjectKey& k : kProjectKeys)
    if (key.size() == k.key.size() && text::EqualsIgnoringCase(key, k.key)) return true;
  return false;
}

}  // namespace

void ApplyProjectKey(cProject& project, std::wstring_view key, std::wstring_view value) {
  key = text::TrimSpaces(key);
  if (key.empty()) return;
  for (const ProjectKey& k : kProjectKeys) {
    if (key.size() != k.key.size() || !text::EqualsIgnoringCase(key, k.key)) continue;
    switch (k.field) {
      case Field::Type: project.TypeString(std::wstring(value)); break;
      case Field::Title: project.Title(std::wstring(value)); break;
      case Field::ExeName: project.ExeName(std::wstring(value)); break;
      case Field::Name: project.Name(std::wstring(value)); break;
      case Field::Description: project.Description(std::wstring(value)); break;
      case Field::MajorVer: project.VersionMajor(ReadNumber<std::int16_t>(value)); break;
      case Field::MinorVer: project.VersionMinor(ReadNumber<std::int16_t>(value)); break;
      case Field::RevisionVer: project.VersionRevision(ReadNumber<std::int16_t>(value)); break;
      case Field::VersionComments: project.VersionComments(std::wstring(value)); break;
      case Field::VersionCompanyName: project.VersionCompanyName(std::wstring(value)); break;
      case Field::VersionFileDescription: project.VersionFileDescription(std::wstring(value)); break;
      case Field::VersionLegalCopyright: project.VersionLegalCopyright(std::wstring(value)); break;
      case Field::VersionProductName: project.VersionProductName(std::wstring(value)); break;
      case Field::StartMode: project.StartMode(ReadNumber<std::int32_t>(value)); break;
    }
    return;
  }
}

cProject ReadProjectFile(const FileSystem& files, const CodePage& ansi,
                         std::wstring_view path) noexcept {
  try {
    if (!FileExists(files, path)) return cProject();
  } catch (...) {
    return cProject();
  }
  return ReadExistingProjectFile(files, ansi, path);
}

cProject ReadExistingProjectFile(const FileSystem& files, const CodePage& ansi,
                                 std::wstring_view path) noexcept {
  cProject project;
  try {
    const std::optional<std::string> bytes = files.ReadAll(path, kLargestProjectFile);
    if (!bytes) return project;
    const std::wstring content = ansi.ToWide(*bytes);
    std::wstring_view rest = text::TrimSpaces(content);

    std::wstring value;  // reused for every line: the value without its double quotes
    while (!rest.empty()) {
      const size_t end = FindLineEnd(rest);
      const std::wstring_view line = rest.substr(0, end);
      rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 2);

      const size_t equals = line.find(L'=');
      if (equals == std::wstring_view::npos) continue;
      if (equals > kLastEqualsIndex) break;
      // Most lines (references, objects, source files, compiler switches) have keys the record
      // does not keep: their values are not even copied.
      if (!IsRecordKey(line.substr(0, equals))) continue;
      value.clear();
      for (wchar_t c : line.substr(equals + 1))
        if (c != L'"') value += c;
      ApplyProjectKey(project, line.substr(0, equals), value);
    }
  } catch (...) {
    // Whatever failed, the record keeps what the lines before the failure set.
  }
  return project;
}
