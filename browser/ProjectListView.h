#pragma once
// The lists' columns, one a field of the project, and the loading of a list into its list view.
//
// Rows: key "k_" plus the number, text the number, small icon "yes" when the project file exists
// and "not" when it does not, then the fields' cells (only Path for a missing file).

#include <array>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/ProjectLists.h"

class Application;
class ListView;

/// A column of both lists, in the order the columns are created, which is the sub-item each
/// shows: its width before the first View, the display place View gives it, whether View shows
/// it, and its cell in a row of an existing project file.
struct ListField {
  const wchar_t* key;  // also the header text
  float designWidth;
  int position;
  bool shown;
  std::wstring (*cell)(const ProjectRow& row);
};

extern const ListField kListFields[9];

/// The sub-item (0 the row's text) of the column with this key; -1 for none.
int ListColumn(std::wstring_view key);

inline constexpr wchar_t kFileExists[] = L"yes";
inline constexpr wchar_t kFileMissing[] = L"not";

/// A row as read, whether the filter shows it or not: its key, small icon and cells by sub-item
/// (0 the row's text).
struct ListRow {
  std::wstring key, icon;
  std::array<std::wstring, std::size(kListFields)> cells;
};

/// Refills the list view from the recent list (favorites false) or the favourites, reading every
/// listed project file: the rows of ProjectLists::ReadProjectList, whose collection it replaces.
/// The hourglass shows while it runs, and the pointer is restored however it ends; a sorted list
/// sorts once, when it is filled.
void LoadProjectList(ProjectLists& lists, Application& app, ListView& list, bool favorites);
/// The same through a filter (see ShowRows); returns every row read.
std::vector<ListRow> LoadProjectList(ProjectLists& lists, Application& app, ListView& list,
                                     bool favorites, std::wstring_view filter);

/// Refills the list view with the rows that hold the filter in a cell whose column shows (width
/// not 0), letters compared without case; every row for an empty filter. The rows keep their
/// order (a sorted list sorts them once), and the selected row stays selected if it is shown.
/// When the same rows show already, the list is left as it is.
void ShowRows(ListView& list, const std::vector<ListRow>& rows, std::wstring_view filter);
