#include "catalogue/ProjectLists.h"

#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include "catalogue/BoundedExistence.h"
#include "catalogue/ProjectFile.h"
#include "catalogue/Text.h"
#include "registry/mReg.h"

namespace {

std::optional<std::int16_t> EntryNumber(std::wstring_view valueName) {
  auto n = text::ParseWholeNumber(valueName, std::numeric_limits<std::int16_t>::min(),
                                  std::numeric_limits<std::int16_t>::max());
  if (!n) return std::nullopt;
  return static_cast<std::int16_t>(*n);
}

}  // namespace

const cProject& ProjectCollection::Add(std::wstring key, cProject project) {
  return items_.emplace_back(std::move(key), std::move(project)).second;
}

const cProject* ProjectCollection::Item(std::wstring_view key) const {
  for (const auto& [k, project] : items_)
    if (k == key) return &project;
  return nullptr;
}

std::vector<cRecent> ProjectLists::ReadRegistryList(std::wstring_view keyPath) {
  std::vector<cRecent> entries;
  auto table = reg_.RegGetKeyValues(kHkeyCurrentUser, keyPath);
  if (!table) return entries;
  entries.reserve(table->size());
  // Every number from -32768 to 32767, by whether an entry has it already.
  std::vector<bool> seen(std::size_t{1} << 16);
  for (RegValue& row : *table) {
    const auto number = EntryNumber(row.Name);
    if (!number) continue;
    const auto index = static_cast<std::size_t>(static_cast<std::uint16_t>(*number));
    if (seen[index]) continue;
    seen[index] = true;
    cRecent& entry = entries.emplace_back();
    entry.Order(*number);
    entry.FilePath(std::move(row.Data));
  }
  return entries;
}

std::vector<ProjectRow> ProjectLists::ReadProjectList(bool favorites) {
  std::optional<ProjectCollection>& projects = favorites ? favorites_ : recent_;
  projects.emplace();
  const std::vector<cRecent> entries =
      ReadRegistryList(favorites ? kFavoritesKey : kRecentFilesKey);
  std::vector<ProjectRow> rows;
  rows.reserve(entries.size());
  BoundedExistence existence(files_);
  std::string buffer;  // every file's bytes in turn
  for (const cRecent& entry : entries) {
    std::optional<std::uint64_t> size;
    try {
      size = existence.ListedSize(entry.FilePath());
    } catch (...) {
      // A drive or share that cannot be asked, or no worker to ask it: the file counts as
      // missing.
    }
    std::wstring number;
    text::AppendWholeNumber(number, entry.Order());
    ProjectRow& row = rows.emplace_back(ProjectRow{std::move(number), entry.FilePath(), nullptr});
    if (size)
      row.record = &projects->Add(
          row.number, ReadExistingProjectFile(files_, ansi_, row.path, *size, buffer));
  }
  return rows;
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
