#pragma once
// The project browser document: a toolbar, a tab strip over three pages (recent projects,
// favourite projects, properties of the selected project) and the customize page that chooses
// the lists' columns. The handlers carry the names of the control and event they serve.
//
// Every event a control raises enters through a guard: nothing escapes into the host. Handlers
// that ignore errors (layout, toolbar clicks, "Add to Favorites") do so step by step; a failure
// that reaches the guard is shown in a message box with the critical icon.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "browser/ProjectListView.h"
#include "browser/SkeldraControls.h"

class Clipboard;
class MsgBox;
class ProjectLists;
class Shell;

class Skeldra {
 public:
  /// Lays out the controls as the document is designed and binds their events.
  Skeldra(const SkeldraControls& controls, ProjectLists& lists, MsgBox& msgBox, Shell& shell,
          Clipboard& clipboard);
  Skeldra(const Skeldra&) = delete;
  Skeldra& operator=(const Skeldra&) = delete;

  // The public interface, for the add-in and other callers. Failures are raised as VbError.

  /// Resets the columns to their defaults and shows the page of the selected tab, unless the
  /// host is busy.
  void View();
  /// Lets the user pick a project file and opens it in the host in place of what it had open.
  void OpenProject();
  /// Removes the host's active project, if there is one.
  void RemoveProject();

  // Events of the container.
  void UserDocument_Initialize();
  void UserDocument_Show();
  void UserDocument_Resize();
  void UserDocument_Terminate();
  /// A key pressed while one of the document's controls has the focus, before the host's own
  /// shortcuts see it (keyCode a virtual-key code; shift: 1 shift, 2 ctrl, 4 alt). True when the
  /// document took the key: the host must then not act on it as well.
  bool UserDocument_KeyDown(int keyCode, int shift);

  // Handlers of the controls' events.
  void TabStrip1_Click();
  void lvwCustomize_ItemCheck(ListItem& item);
  void lvwRecent_ColumnClick(ColumnHeader& header);
  void lvwFavor_ColumnClick(ColumnHeader& header);
  void lvwRecent_DblClick();
  void lvwFavor_DblClick();
  void lvwRecent_MouseDown(int button, int shift, float x, float y);
  void lvwFavor_MouseDown(int button, int shift, float x, float y);
  void mnuPopRecent_Add_Click();
  void mnuPopRecent_Open_Click();
  void mnuPopRecent_Prop_Click();
  void mnuPopFavor_Delete_Click();
  void mnuPopFavor_Open_Click();
  void mnuPopFavor_Prop_Click();
  void mnuPopRecent_CopyPath_Click();
  void mnuPopRecent_Reveal_Click();
  void mnuPopFavor_CopyPath_Click();
  void mnuPopFavor_Reveal_Click();
  void txtFilter_Change();
  void Toolbar1_ButtonClick(const ToolbarButton& button);

  /// Fills the field list from the columns of the list that is showing and lays it over that list.
  void ShowFieldList(ListView& list);

  const Menu& mnuPopRecent() const { return mnuPopRecent_; }
  const Menu& mnuPopFavor() const { return mnuPopFavor_; }

 private:
  void Design();
  /// The properties page's display fields, top to bottom.
  std::array<TextBox*, 11> PropertyBoxes() const;
  void BindEvents();
  void SortByColumn(ListView& list, ColumnHeader& header);
  void OpenSelected(ListView& list);
  void PressList(ListView& list, const Menu& menu, int button, float x, float y);
  void ShowProperties();
  void PlaceFilter(float width);
  void SetColumnWidth(std::wstring_view key, float width);
  /// Reads the list again into its view, through the filter.
  void Load(ListView& list);
  /// The list whose page shows; null on the properties page.
  ListView* ShownList();
  std::vector<ListRow>& RowsOf(const ListView& list);
  /// The selected row's path on the clipboard; the file shown in its folder.
  void CopyPath(ListView& list);
  void Reveal(ListView& list);
  /// The key's command while a list (or, for list null, the filter box) has the focus.
  void ListKey(ListView* list, int keyCode, int shift);
  /// Runs an event's handler; whatever escapes it is shown to the user.
  template <typename Handler>
  void Guard(Handler&& handler) noexcept;

  SkeldraControls c_;
  ProjectLists& lists_;  // not owned
  MsgBox& msgBox_;       // not owned
  Shell& shell_;         // not owned
  Clipboard& clipboard_;  // not owned
  Menu mnuPopRecent_;
  Menu mnuPopFavor_;
  // Each list's rows as last read, before the filter; and the filter, "" for none.
  std::vector<ListRow> recentRows_, favorRows_;
  std::wstring filter_;
};
