#include "browser/ProjectListView.h"

#include <algorithm>
#include <unordered_set>

#include "ui/Controls.h"

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

using Row = ProjectRow;

}  // namespace

const ListField kListFields[9] = {
    {L"N", 600, 1, true, [](const Row& r) { return r.number; }},
    {L"Title", 1200, 2, false, [](const Row& r) { return r.record->Title(); }},
    {L"Path", 3000, 3, true, [](const Row& r) { return r.path; }},
    {L"Name", 1440, 4, false, [](const Row& r) { return r.record->Name(); }},
    {L"Type", 1440, 8, false, [](const Row& r) { return r.record->TypeFreindlyName(); }},
    {L"Version", 1440, 6, false, [](const Row& r) { return r.record->VersionText(); }},
    {L"Description", 1440, 7, false, [](const Row& r) { return r.record->Description(); }},
    {L"Product Name", 1440, 5, true, [](const Row& r) { return r.record->VersionProductName(); }},
    {L"Company Name", 1440, 9, false, [](const Row& r) { return r.record->VersionCompanyName(); }},
};

int ListColumn(std::wstring_view key) {
  for (int i = 0; i < static_cast<int>(std::size(kListFields)); ++i)
    if (kListFields[i].key == key) return i;
  return -1;
}

void LoadProjectList(ProjectLists& lists, Application& app, ListView& list, bool favorites) {
  LoadProjectList(lists, app, list, favorites, L"");
}

std::vector<ListRow> LoadProjectList(ProjectLists& lists, Application& app, ListView& list,
                                     bool favorites, std::wstring_view filter) {
  static const int path = ListColumn(L"Path");
  Hourglass hourglass(app);
  list.ClearItems();
  std::vector<ListRow> rows;
  for (const ProjectRow& entry : lists.ReadProjectList(favorites)) {
    ListRow& row = rows.emplace_back();
    row.key = L"k_" + entry.number;
    row.icon = entry.record ? kFileExists : kFileMissing;
    row.cells[0] = entry.number;
    row.cells[path] = entry.path;
    if (!entry.record) continue;
    for (int i = 1; i < static_cast<int>(std::size(kListFields)); ++i)
      if (i != path) row.cells[i] = kListFields[i].cell(entry);
  }
  ShowRows(list, rows, filter);
  return rows;
}

namespace {

// Letters without case: ASCII and Latin-1's, which is what paths and project names mostly use.
wchar_t Folded(wchar_t c) {
  if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  return c;
}

bool Contains(std::wstring_view text, std::wstring_view folded) {
  if (folded.size() > text.size()) return false;
  for (std::size_t at = 0; at + folded.size() <= text.size(); ++at) {
    std::size_t i = 0;
    while (i < folded.size() && Folded(text[at + i]) == folded[i]) ++i;
    if (i == folded.size()) return true;
  }
  return false;
}

}  // namespace

void ShowRows(ListView& list, const std::vector<ListRow>& rows, std::wstring_view filter) {
  std::wstring folded(filter);
  for (wchar_t& c : folded) c = Folded(c);
  std::vector<int> shown;  // the sub-items whose columns show
  for (int i = 1; i <= list.ColumnCount(); ++i)
    if (list.Column(i).Width() != 0) shown.push_back(i - 1);

  std::vector<const ListRow*> matches;
  for (const ListRow& r : rows)
    if (folded.empty() || std::any_of(shown.begin(), shown.end(),
                                      [&](int i) { return Contains(r.cells[i], folded); }))
      matches.push_back(&r);
  // A keystroke that leaves the same rows showing leaves the list as it is, undrawn.
  if (static_cast<std::size_t>(list.ItemCount()) == matches.size()) {
    std::unordered_set<std::wstring_view> keys;
    for (const ListRow* r : matches) keys.insert(r->key);
    bool same = true;
    for (int i = 1; i <= list.ItemCount() && same; ++i) same = keys.count(list.Item(i).Key()) > 0;
    if (same) return;
  }

  const ListItem* selected = list.SelectedItem();
  const std::wstring selectedKey = selected ? selected->Key() : L"";
  list.ClearItems();
  SortedOnceFilled sortedOnce(list);
  for (const ListRow* match : matches) {
    const ListRow& r = *match;
    ListItem& row = list.AddItem(r.key, r.cells[0], r.icon);
    for (int i = 1; i < static_cast<int>(r.cells.size()); ++i)
      if (!r.cells[i].empty()) row.SubItems(i, r.cells[i]);
    if (!selectedKey.empty() && r.key == selectedKey) list.SelectedItem(&row);
  }
}
