#pragma once
// The recent and favourite lists: reading a list key into entries, loading a list view with one
// row per entry and a record per existing project file, and the favourites' storage.
//
// Rows: key "k_" plus the number, text the number, small icon "yes" when the project file exists
// and "not" when it does not, sub-items 1 to 8 Title, Path, Name, Type, Version, Description,
// Product Name and Company Name (only Path for a missing file).

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/cProject.h"
#include "catalogue/cRecent.h"

class Application;
class CodePage;
class FileSystem;
class ListView;
class mReg;

/// The host's own list of recently opened projects (read only).
inline constexpr wchar_t kRecentFilesKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles";
/// The add-in's favourites.
inline constexpr wchar_t kFavoritesKey[] = L"Software\\Tolvane\\Skeldra\\Favorites";

/// The records of one load of a list, in entry order, keyed by the entry's number as text.
class ProjectCollection {
 public:
  void Add(std::wstring key, cProject project);
  /// The record under the key, or none.
  const cProject* Item(std::wstring_view key) const;
  std::size_t Count() const { return items_.size(); }

 private:
  std::vector<std::pair<std::wstring, cProject>> items_;
};

class ProjectLists {
 public:
  ProjectLists(mReg& reg, const FileSystem& files, const CodePage& ansi, Application& app)
      : reg_(reg), files_(files), ansi_(ansi), app_(app) {}

  /// The entries of a key below HKEY_CURRENT_USER in the registry's order; empty when the key is
  /// absent or has no values. A value whose name is not a whole number from -32768 to 32767, or
  /// repeats a number read before it, is left out.
  std::vector<cRecent> ReadRegistryList(std::wstring_view keyPath);

  /// Refills the list view from the recent key (favorites false) or the favourites key, reading
  /// every listed project file, and replaces that list's collection. The hourglass shows while it
  /// runs and the pointer is restored however it ends. A file whose existence cannot be tested
  /// counts as missing, and so does one on a share or drive that does not answer in time (see
  /// BoundedExistence): one load waits about a second at most for volumes that are down.
  void LoadProjectList(ListView& list, bool favorites);

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
  Application& app_;         // not owned
  std::optional<ProjectCollection> recent_;
  std::optional<ProjectCollection> favorites_;
};
