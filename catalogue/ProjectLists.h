#pragma once
// The recent and favourite lists: reading a list key into entries, loading a list into one row
// per entry with a record per existing project file, and the favourites' storage.

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/cProject.h"
#include "catalogue/cRecent.h"

class CodePage;
class FileSystem;
class mReg;

/// The host's own list of recently opened projects (read only).
inline constexpr wchar_t kRecentFilesKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles";
/// The add-in's favourites.
inline constexpr wchar_t kFavoritesKey[] = L"Software\\Tolvane\\Skeldra\\Favorites";

/// The records of one load of a list, in entry order, keyed by the entry's number as text.
class ProjectCollection {
 public:
  /// The record added, which stays where it is while the collection lives.
  const cProject& Add(std::wstring key, cProject project);
  /// The record under the key, or none.
  const cProject* Item(std::wstring_view key) const;
  std::size_t Count() const { return items_.size(); }

 private:
  std::deque<std::pair<std::wstring, cProject>> items_;  // a deque: records never move
};

/// One entry of a loaded list.
struct ProjectRow {
  std::wstring number;  // the entry's number as text: the row's text and its record's key
  std::wstring path;
  const cProject* record;  // the project file's, in the list's collection; null when missing
};

class ProjectLists {
 public:
  ProjectLists(mReg& reg, const FileSystem& files, const CodePage& ansi)
      : reg_(reg), files_(files), ansi_(ansi) {}

  /// The entries of a key below HKEY_CURRENT_USER in the registry's order; empty when the key is
  /// absent or has no values. A value whose name is not a whole number from -32768 to 32767, or
  /// repeats a number read before it, is left out.
  std::vector<cRecent> ReadRegistryList(std::wstring_view keyPath);

  /// Reads the recent key (favorites false) or the favourites key and every listed project file
  /// that exists, replaces that list's collection and returns its rows in entry order; the rows'
  /// records live as long as the collection. A file whose existence cannot be tested counts as
  /// missing, and so does one on a share or drive that does not answer in time (see
  /// BoundedExistence): one load waits about a second at most for volumes that are down.
  std::vector<ProjectRow> ReadProjectList(bool favorites);

  /// The records of the last load of each list; none before the first load.
  const std::optional<ProjectCollection>& RecentProjects() const { return recent_; }
  const std::optional<ProjectCollection>& FavoriteProjects() const { return favorites_; }

  /// Releases both collections, as when the window ends.
  void Release();

  /// Stores the path as a new favourite, never replacing one: nothing is written when a
  /// favourite already holds exactly this path. The name is the number of records of the last
  /// favourites load plus one, or when that is taken the lowest free number above it up to 32767
  /// (none free, or the registry cannot tell whether a name is free: nothing written). Returns
  /// whether a value was written; throws VbError when the registry refuses the write.
  bool AddFavorite(std::wstring_view path);

  /// Deletes the favourite shown with this number: the first value of the key whose name reads
  /// as the number. Throws VbError (number 2 when there is no such value).
  void RemoveFavorite(std::wstring_view number);

 private:
  mReg& reg_;                // not owned
  const FileSystem& files_;  // not owned
  const CodePage& ansi_;     // not owned
  std::optional<ProjectCollection> recent_;
  std::optional<ProjectCollection> favorites_;
};
