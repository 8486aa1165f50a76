#include "catalogue/ProjectFile.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

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

// Where the first CR LF of the bytes starts, or npos. Searching for the CR alone lets the
// library scan many bytes at a time.
size_t FindLineEnd(std::string_view bytes) {
  for (size_t cr = bytes.find('\r'); cr != std::string_view::npos; cr = bytes.find('\r', cr + 1))
    if (cr + 1 < bytes.size() && bytes[cr + 1] == '\n') return cr;
  return std::string_view::npos;
}

// The bytes without blanks at either end.
std::string_view TrimSpaces(std::string_view bytes) {
  const size_t first = bytes.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return bytes.substr(first, bytes.find_last_not_of(' ') - first + 1);
}

// True when the bytes spell the upper-case key, letters compared without case.
bool IsKey(std::string_view bytes, std::wstring_view upper) {
  if (bytes.size() != upper.size()) return false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (static_cast<wchar_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) != upper[i]) return false;
  }
  return true;
}

// The key the bytes name (trimmed of blanks, compared without case), or none.
const ProjectKey* RecordKey(std::string_view bytes) {
  bytes = TrimSpaces(bytes);
  for (const ProjectKey& k : kProjectKeys)
    if (IsKey(bytes, k.key)) return &k;
  return nullptr;
}

void Apply(cProject& project, Field field, std::wstring_view value) {
  switch (field) {
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
}

}  // namespace

void ApplyProjectKey(cProject& project, std::wstring_view key, std::wstring_view value) {
  key = text::TrimSpaces(key);
  for (const ProjectKey& k : kProjectKeys) {
    if (key.size() == k.key.size() && text::EqualsIgnoringCase(key, k.key)) {
      Apply(project, k.field, value);
      return;
    }
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
    // The lines are split and their keys matched in the file's own bytes, and only the values
    // the record keeps are widened. That reads as widening the whole file first would in every
    // ANSI code page, double-byte ones included: a blank, CR, LF, "=" and a double quote are
    // never the trail byte of a double-byte character, and every key is ASCII.
    std::string_view rest = TrimSpaces(*bytes);
    std::wstring value;
    while (!rest.empty()) {
      const size_t end = FindLineEnd(rest);
      const std::string_view line = rest.substr(0, end);
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);

      const size_t equals = line.find('=');
      if (equals == std::string_view::npos) continue;
      // The position counts characters, of which a double-byte code page has fewer than bytes.
      if (equals > kLastEqualsIndex && ansi.ToWide(line.substr(0, equals)).size() > kLastEqualsIndex)
        break;
      // Most lines (references, objects, source files, compiler switches) have keys the record
      // does not keep: their values are not even widened.
      const ProjectKey* key = RecordKey(line.substr(0, equals));
      if (!key) continue;
      // Quotes go after widening: taken out of the bytes, they could join a lead byte to the
      // byte after them.
      value = ansi.ToWide(line.substr(equals + 1));
      std::erase(value, L'"');
      Apply(project, key->field, value);
    }
  } catch (...) {
    // Whatever failed, the record keeps what the lines before the failure set.
  }
  return project;
}
