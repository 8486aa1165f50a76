#pragma once
// What the About box shows: the texts its form load puts on it, from the application title and
// the add-in's version record, and the maker's web address behind its link.

#include <cstdint>
#include <string>
#include <string_view>

class CodePage;
class FileSystem;
class RegistryApi;
class Shell;

/// What the About box uses of the system; each part is not owned and outlives the box.
struct AboutPlatform {
  RegistryApi& registry;
  const CodePage& ansi;
  const FileSystem& files;
  Shell& shell;
};

inline constexpr wchar_t kMakerWebAddress[] = L"http://www.tolvane.example/";
inline constexpr wchar_t kMakerLinkCaption[] = L"Tolvane WWW: http://www.tolvane.example/";

/// The parts of a module's version record that the box shows. The file version a.b.c.d is packed
/// as the record keeps it: a and b in the high and low words of FileVersionMS, c and d in those
/// of FileVersionLS.
struct VersionRecord {
  std::uint32_t FileVersionMS = 0;
  std::uint32_t FileVersionLS = 0;
  std::wstring FileDescription;
  std::wstring LegalCopyright;
};

struct AboutTexts {
  std::wstring Caption;      // the window's: "About " and the title
  std::wstring Title;        // lblTitle
  std::wstring Version;      // lblVersion: "Version major.minor.revision"
  std::wstring Description;  // lblDescription
  std::wstring Copyright;    // lblCopy
};

/// The texts of the box. The version line numbers the add-in as the host language numbers an
/// application, major.minor.revision: a, b and d of the file version (a record of 1.0.0.1 reads
/// "Version 1.0.1"; the third number is not shown).
AboutTexts FormLoadTexts(std::wstring_view appTitle, const VersionRecord& record);
