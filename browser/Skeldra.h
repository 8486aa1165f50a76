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

#include "browser/SkeldraControls.h"

class MsgBox;
class ProjectLists;

class Skeldra {
 public:
  /// Lays out the controls as the document is designed and binds their events.
  Skeldra(const SkeldraControls& controls, ProjectLists& lists, MsgBox& msgBox);
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
  void SetColumnWidth(std::wstring_view key, float width);
  /// Runs an event's handler; whatever escapes it is shown to the user.
  template <typename Handler>
  void Guard(Handler&& handler) noexcept;

  SkeldraControls c_;
  ProjectLists& lists_;  // not owned
  MsgBox& msgBox_;       // not owned
  Menu mnuPopRecent_;
  Menu mnuPopFavor_;
};
