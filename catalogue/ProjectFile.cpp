#include "catalogue/ProjectFile.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
// the reading. A line no longer than this cannot hold such an "=".
constexpr size_t kLastEqualsIndex = 32766;

// The characters a key the record keeps may start with, its first letter in either case: a
// line that starts otherwise (after its blanks) holds no such key.
constexpr auto kKeyStarts = [] {
  std::array<bool, 128> starts{};
  for (const ProjectKey& k : kProjectKeys) {
    starts[static_cast<size_t>(k.key[0])] = true;
    starts[static_cast<size_t>(k.key[0] - 'A' + 'a')] = true;
  }
  return starts;
}();

template <typename Char>
bool StartsAKey(Char c) {
  const auto code = static_cast<std::make_unsigned_t<Char>>(c);
  return code < kKeyStarts.size() && kKeyStarts[code];
}

// The first CR at or after `from`, or null. A call into the library costs more than a line of a
// project file takes to scan: the bytes are compared here, sixteen at a time where the processor
// has SSE2, else eight at a time as the bytes of a word.
inline const char* FindCr(const char* from, const char* end) {
#if defined(__SSE2__)
  const __m128i crs = _mm_set1_epi8('\r');
  for (; end - from >= 16; from += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    if (const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, crs)))
      return from + std::countr_zero(static_cast<unsigned>(found));
  }
#endif
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
    for (; end - from >= 8; from += 8) {
      std::uint64_t word;
      std::memcpy(&word, from, 8);
      const std::uint64_t crs = word ^ (kOnes * '\r');
      // Sets the high bit of each byte that is 0 in crs (and may set bits above the first such
      // byte, which the lowest set bit ignores).
      if (const std::uint64_t zero = (crs - kOnes) & ~crs & kHighs)
        return from + std::countr_zero(zero) / 8;
    }
  }
  for (; from < end; ++from)
    if (*from == '\r') return from;
  return nullptr;
}

inline const wchar_t* FindCr(const wchar_t* from, const wchar_t* end) {
  return std::char_traits<wchar_t>::find(from, static_cast<size_t>(end - from), L'\r');
}

// Where the first CR LF at or after `from` starts, or the end of the text.
template <typename Char>
const Char* FindLineEnd(const Char* from, const Char* end) {
  for (const Char* cr; (cr = FindCr(from, end)) != nullptr; from = cr + 1)
    if (cr + 1 < end && cr[1] == Char('\n')) return cr;
  return end;
}

// The text without blanks at either end.
template <typename Char>
std::basic_string_view<Char> TrimBlanks(std::basic_string_view<Char> text) {
  const size_t first = text.find_first_not_of(Char(' '));
  if (first == text.npos) return {};
  return text.substr(first, text.find_last_not_of(Char(' ')) - first + 1);
}

// The keys by their length, at most two of each: the one looked at first, then the other.
constexpr auto kKeysByLength = [] {
  std::array<std::array<const ProjectKey*, 2>, 23> byLength{};
  for (const ProjectKey& k : kProjectKeys) {
    auto& slot = byLength.at(k.key.size());  // a longer key fails the build here
    if (slot[1]) throw "three keys of one length";  // and so does a third key of a length
    slot[slot[0] ? 1 : 0] = &k;
  }
  return byLength;
}();

// The key the text names (trimmed of blanks, letters compared without case), or none.
template <typename Char>
const ProjectKey* RecordKey(std::basic_string_view<Char> text) {
  text = TrimBlanks(text);
  if (text.size() >= kKeysByLength.size()) return nullptr;
  for (const ProjectKey* k : kKeysByLength[text.size()]) {
    if (!k) break;
    size_t i = 0;
    for (; i < text.size(); ++i) {
      const auto c = static_cast<std::make_unsigned_t<Char>>(text[i]);
      if (static_cast<wchar_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) != k->key[i]) break;
    }
    if (i == text.size()) return k;
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
  using View = std::basic_string_view<Char>;
  text = TrimBlanks(text);
  const Char* const end = text.data() + text.size();
  for (const Char *line = text.data(), *lineEnd; line < end;
       line = lineEnd == end ? end : lineEnd + 2) {
    lineEnd = FindLineEnd(line, end);
    const View whole(line, static_cast<size_t>(lineEnd - line));
    // Most lines (references, objects, source files, compiler switches) have keys the record
    // does not keep. Unless a line is long enough for its "=" to end the reading, one whose key
    // starts with no letter of the record's keys is passed over without a search for its "=";
    // and only the values the record keeps are copied.
    const size_t key = whole.find_first_not_of(Char(' '));
    if (key == whole.npos) continue;
    if (whole.size() <= kLastEqualsIndex + 1 && !StartsAKey(whole[key])) continue;
    const size_t equals = whole.find(Char('='), key);
    if (equals == whole.npos) continue;
    if (equals > kLastEqualsIndex) break;
    if (const ProjectKey* k = RecordKey(whole.substr(0, equals))) {
      std::wstring value = widen(whole.substr(equals + 1));
      std::erase(value, L'"');
      Apply(project, k->field, std::move(value));
    }
  }
}

}  // namespace

void ApplyProjectKey(cProject& project, std::wstring_view key, std::wstring_view value) {
  if (const ProjectKey* k = RecordKey(key)) Apply(project, k->field, std::wstring(value));
}

cProject ReadProjectFile(const FileSystem& files, const CodePage& ansi,
                         std::wstring_view path) noexcept {
  std::optional<std::uint64_t> size;
  try {
    size = files.NormalFileSize(path);
  } catch (...) {
    // A listing that cannot be made: the file counts as missing.
  }
  if (!size) return cProject();
  std::string buffer;
  return ReadExistingProjectFile(files, ansi, path, *size, buffer);
}

cProject ReadExistingProjectFile(const FileSystem& files, const CodePage& ansi,
                                 std::wstring_view path, std::uint64_t listedSize,
                                 std::string& buffer) noexcept {
  cProject project;
  try {
    if (!files.ReadListed(path, listedSize, kLargestProjectFile, buffer)) return project;
    const std::string_view bytes = buffer;
    // In a single-byte code page every byte is a character: the lines are split and their keys
    // matched in the file's own bytes, and only the values the record keeps are widened. A
    // double-byte code page pairs a lead byte with whatever byte follows it, a CR or "=" included
    // (so Wine's converter does), so there the whole file is widened first.
    if (ansi.IsDoubleByte())
      ReadLines<wchar_t>(project, ansi.ToWide(bytes),
                         [](std::wstring_view v) { return std::wstring(v); });
    else
      ReadLines<char>(project, bytes, [&ansi](std::string_view v) { return ansi.ToWide(v); });
  } catch (...) {
    // Whatever failed, the record keeps what the lines before the failure set.
  }
  return project;
}
