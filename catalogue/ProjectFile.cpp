#include "catalogue/ProjectFile.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

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

// Where the first CR LF of the text starts, or npos. Searching for the CR alone lets the
// library scan many characters at a time.
template <typename Char>
size_t FindLineEnd(std::basic_string_view<Char> text) {
  for (size_t cr = text.find(Char('\r')); cr != text.npos; cr = text.find(Char('\r'), cr + 1))
    if (cr + 1 < text.size() && text[cr + 1] == Char('\n')) return cr;
  return text.npos;
}

// The text without blanks at either end.
template <typename Char>
std::basic_string_view<Char> TrimBlanks(std::basic_string_view<Char> text) {
  const size_t first = text.find_first_not_of(Char(' '));
  if (first == text.npos) return {};
  return text.substr(first, text.find_last_not_of(Char(' ')) - first + 1);
}

// The key the text names (trimmed of blanks, letters compared without case), or none.
template <typename Char>
const ProjectKey* RecordKey(std::basic_string_view<Char> text) {
  text = TrimBlanks(text);
  for (const ProjectKey& k : kProjectKeys) {
    if (text.size() != k.key.size()) continue;
    size_t i = 0;
    for (; i < text.size(); ++i) {
      const auto c = static_cast<std::make_unsigned_t<Char>>(text[i]);
      if (static_cast<wchar_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) != k.key[i]) break;
    }
    if (i == text.size()) return &k;
  }
  return nullptr;
}

// The value goes into the record as it is: the texts are moved, not copied.
void Apply(cProject& project, Field field, std::wstring&& value) {
  switch (field) {
    case Field::Type: project.TypeString(std::move(value)); break;
    case Field::Title: project.Title(std::move(value)); break;
    case Field::ExeName: project.ExeName(std::move(value)); break;
    case Field::Name: project.Name(std::move(value)); break;
    case Field::Description: project.Description(std::move(value)); break;
    case Field::MajorVer: project.VersionMajor(ReadNumber<std::int16_t>(value)); break;
    case Field::MinorVer: project.VersionMinor(ReadNumber<std::int16_t>(value)); break;
    case Field::RevisionVer: project.VersionRevision(ReadNumber<std::int16_t>(value)); break;
    case Field::VersionComments: project.VersionComments(std::move(value)); break;
    case Field::VersionCompanyName: project.VersionCompanyName(std::move(value)); break;
    case Field::VersionFileDescription: project.VersionFileDescription(std::move(value)); break;
    case Field::VersionLegalCopyright: project.VersionLegalCopyright(std::move(value)); break;
    case Field::VersionProductName: project.VersionProductName(std::move(value)); break;
    case Field::StartMode: project.StartMode(ReadNumber<std::int32_t>(value)); break;
  }
}

// Reads the lines of the text into the record, widening each value the record keeps.
template <typename Char, typename Widen>
void ReadLines(cProject& project, std::basic_string_view<Char> text, const Widen& widen) {
  std::basic_string_view<Char> rest = TrimBlanks(text);
  while (!rest.empty()) {
    const size_t end = FindLineEnd(rest);
    const std::basic_string_view<Char> line = rest.substr(0, end);
    rest = end == rest.npos ? std::basic_string_view<Char>() : rest.substr(end + 2);

    const size_t equals = line.find(Char('='));
    if (equals == line.npos) continue;
    if (equals > kLastEqualsIndex) break;
    // Most lines (references, objects, source files, compiler switches) have keys the record
    // does not keep: their values are not even copied.
    const ProjectKey* key = RecordKey(line.substr(0, equals));
    if (!key) continue;
    std::wstring value = widen(line.substr(equals + 1));
    std::erase(value, L'"');
    Apply(project, key->field, std::move(value));
  }
}

}  // namespace

void ApplyProjectKey(cProject& project, std::wstring_view key, std::wstring_view value) {
  if (const ProjectKey* k = RecordKey(key)) Apply(project, k->field, std::wstring(value));
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
    // In a single-byte code page every byte is a character: the lines are split and their keys
    // matched in the file's own bytes, and only the values the record keeps are widened. A
    // double-byte code page pairs a lead byte with whatever byte follows it, a CR or "=" included
    // (so Wine's converter does), so there the whole file is widened first.
    if (ansi.IsDoubleByte())
      ReadLines<wchar_t>(project, ansi.ToWide(*bytes), [](std::wstring_view v) { return std::wstring(v); });
    else
      ReadLines<char>(project, *bytes, [&ansi](std::string_view v) { return ansi.ToWide(v); });
  } catch (...) {
    // Whatever failed, the record keeps what the lines before the failure set.
  }
  return project;
}
