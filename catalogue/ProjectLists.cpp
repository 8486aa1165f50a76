#include "catalogue/ProjectLists.h"

#include <limits>
#include <set>

#include "ui/Controls.h"
#include "catalogue/BoundedExistence.h"
#include "catalogue/ProjectFile.h"
#include "catalogue/Text.h"
#include "registry/mReg.h"

namespace {

constexpr int kHourglass = 11;
constexpr int kDefaultPointer = 0;

// Shows the hourglass for as long as it lives.
class Hourglass {
 public:
  explicit Hourglass(Application& app) : app_(app) { app_.MousePointer(kHourglass); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;
  ~Hourglass() {
    try {
      app_.MousePointer(kDefaultPointer);
    } catch (...) {
      // Nothing more can be done for the pointer; the load itself has ended.
    }
  }

 private:
  Application& app_;
};

// Leaves a sorted list unsorted while it is filled and sorts it once, when the filling ends by
// whatever path: a sorted list view sorts itself again at every row added and at every change
// of its key column.
class SortedOnceFilled {
 public:
  explicit SortedOnceFilled(ListView& list) : list_(list), sorted_(list.Sorted()) {
    if (sorted_) list_.Sorted(false);
  }
  SortedOnceFilled(const SortedOnceFilled&) = delete;
  SortedOnceFilled& operator=(const SortedOnceFilled&) = delete;
  ~SortedOnceFilled() {
    if (!sorted_) return;
    try {
      list_.Sorted(true);
    } catch (...) {
      // The rows are all there, in the order they were read.
    }
  }

 private:
  ListView& list_;
  bool sorted_;
};

std::optional<std::int16_t> EntryNumber(std::wstring_view valueName) {
  auto n = text::ParseWholeNumber(valueName, std::numeric_limits<std::int16_t>::min(),
                                  std::numeric_limits<std::int16_t>::max());
  if (!n) return std::nullopt;
  return static_cast<std::int16_t>(*n);
}

}  // namespace

void ProjectCollection::Add(std::wstring key, cProject project) {
  items_.emplace_back(std::move(key), std::move(project));
}

const cProject* ProjectCollection::Item(std::wstring_view key) const {
  for (const auto& [k, project] : items_)
    if (k == key) return &project;
  return nullptr;
}

std::vector<cRecent> ProjectLists::ReadRegistryList(std::wstring_view keyPath) {
  std::vector<cRecent> entries;
  const auto table = reg_.RegGetKeyValues(kHkeyCurrentUser, keyPath);
  if (!table) return entries;
  std::set<std::int16_t> seen;
  for (const RegValue& row : *table) {
    const auto number = EntryNumber(row.Name);
    if (!number || !seen.insert(*number).second) continue;
    cRecent& entry = entries.emplace_back();
    entry.Order(*number);
    entry.FilePath(row.Data);
  }
  return entries;
}

void ProjectLists::LoadProjectList(ListView& list, bool favorites) {
  Hourglass hourglass(app_);
  list.ClearItems();
  SortedOnceFilled sortedOnce(list);
  std::optional<ProjectCollection>& projects = favorites ? favorites_ : recent_;
  projects.emplace();

  BoundedExistence existence(files_);
  for (const cRecent& entry : ReadRegistryList(favorites ? kFavoritesKey : kRecentFilesKey)) {
    bool exists = false;
    try {
      exists = existence.Exists(entry.FilePath());
    } catch (...) {
      // A drive or share that cannot be asked, or no worker to ask it: the file counts as
      // missing.
    }
    const std::wstring number = std::to_wstring(entry.Order());
    ListItem& row = list.AddItem(L"k_" + number, number, exists ? L"yes" : L"not");
    row.SubItems(2, entry.FilePath());
    if (!exists) continue;

    cProject project = ReadExistingProjectFile(files_, ansi_, entry.FilePath());
    row.SubItems(1, project.Title());
    row.SubItems(3, project.Name());
    row.SubItems(4, project.TypeFreindlyName());
    row.SubItems(5, project.VersionText());
    row.SubItems(6, project.Description());
    row.SubItems(7, project.VersionProductName());
    row.SubItems(8, project.VersionCompanyName());
    projects->Add(number, std::move(project));
  }
}

void ProjectLists::Release() {
  recent_.reset();
  favorites_.reset();
}

bool ProjectLists::AddFavorite(std::wstring_view path) {
  constexpr int kLastNumber = std::numeric_limits<std::int16_t>::max();
  // A path is a duplicate only of a favourite the list shows: a value the list leaves out (a
  // name that is no number, or repeats one) would block the add without the user seeing why.
  std::set<int> taken;
  for (const cRecent& entry : ReadRegistryList(kFavoritesKey)) {
    if (entry.FilePath() == path) return false;
    taken.insert(entry.Order());
  }
  // The table lacks the values it could not read (or all of them, when the key could not be
  // read): the registry itself must confirm that the name is free.
  int name = static_cast<int>(favorites_ ? favorites_->Count() : 0) + 1;
  for (; name <= kLastNumber; ++name) {
    if (taken.count(name)) continue;
    const auto exists =
        reg_.RegValueExists(kHkeyCurrentUser, kFavoritesKey, std::to_wstring(name));
    if (!exists) return false;
    if (!*exists) break;
  }
  if (name > kLastNumber) return false;
  reg_.RegSetKeyValue(kHkeyCurrentUser, kFavoritesKey, std::to_wstring(name), path);
  return true;
}

void ProjectLists::RemoveFavorite(std::wstring_view number) {
  std::wstring valueName(number);
  const auto wanted = EntryNumber(number);
  if (const auto table = reg_.RegGetKeyValues(kHkeyCurrentUser, kFavoritesKey); table && wanted) {
    for (const RegValue& row : *table) {
      if (EntryNumber(row.Name) == wanted) {
        valueName = row.Name;
        break;
      }
    }
  }
  reg_.RegDelKey(kHkeyCurrentUser, kFavoritesKey, valueName);
}
