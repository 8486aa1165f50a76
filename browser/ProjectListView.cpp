#include "browser/ProjectListView.h"

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
  static const int path = ListColumn(L"Path");
  Hourglass hourglass(app);
  list.ClearItems();
  SortedOnceFilled sortedOnce(list);
  for (const ProjectRow& entry : lists.ReadProjectList(favorites)) {
    ListItem& row =
        list.AddItem(L"k_" + entry.number, entry.number, entry.record ? kFileExists : kFileMissing);
    row.SubItems(path, entry.path);
    if (!entry.record) continue;
    for (int i = 1; i < static_cast<int>(std::size(kListFields)); ++i)
      if (i != path) row.SubItems(i, kListFields[i].cell(entry));
  }
}
