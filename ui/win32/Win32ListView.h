#pragma once
// The list view in report view over the common control. Each row is an object of ours that the
// control's item carries in its lParam, so Item(i) is the row the control shows at place i. The
// rows keep the cells' texts, which the control asks for as it draws them (LVN_GETDISPINFOW):
// filling a list copies no text into it. The sort runs in the control (LVM_SORTITEMS) over the
// rows, ties in insertion order.
//
// Three aids to reading the list, which change neither its rows nor its events: the sorted
// column's header shows the sort's arrow; rows of a chosen small icon are drawn in the grey of
// disabled text; a cell whose text is cut shows its whole text in an info tip.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "ui/win32/Win32ControlBase.h"

class DrawnImages;

class Win32ListView final : public Win32Control<ListView>, public NotifyTarget {
 public:
  /// smallIcons: the rows' icons by key, or null for none (it outlives the list view);
  /// checkBoxes: every row shows a check box; greyIcon: the rows whose small icon has this key
  /// are drawn in the grey of disabled text (empty: none are).
  Win32ListView(HWND parent, int id, const Twips& twips, const DrawnImages* smallIcons,
                bool checkBoxes, std::wstring greyIcon = {});
  ~Win32ListView() override;

  ColumnHeader& AddColumn(std::wstring key, std::wstring text, float width) override;
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  ColumnHeader& Column(int index) override;
  ColumnHeader& Column(std::wstring_view key) override;

  /// While the rows change the control's drawing is held (see HoldRedraw): the window style may
  /// then say hidden on some systems, so the visibility reads as it was before.
  bool Visible() const override;
  void Visible(bool visible) override;

  void ClearItems() override;
  ListItem& AddItem(std::wstring key, std::wstring text, std::wstring smallIcon) override;
  int ItemCount() const override { return ListView_GetItemCount(hwnd_); }
  ListItem& Item(int index) override;

  ListItem* SelectedItem() override;
  void SelectedItem(ListItem* item) override;
  /// The row at the point in the list's client area, in twips; past the last column the row's
  /// band still counts, as for a full-row selection.
  ListItem* HitTest(float x, float y) override;
  ListItem* DropHighlight() override;
  void DropHighlight(ListItem* item) override;

  int SortKey() const override { return sortKey_; }
  void SortKey(int key) override;
  int SortOrder() const override { return sortOrder_; }
  void SortOrder(int order) override;
  bool Sorted() const override { return sorted_; }
  void Sorted(bool sorted) override;

  // For WM_NOTIFY: LVN_COLUMNCLICK, NM_DBLCLK, LVN_ITEMCHANGED, NM_CUSTOMDRAW, LVN_DELETEALLITEMS,
  // LVN_GETDISPINFOW and LVN_GETINFOTIPW.
  LRESULT OnNotify(NMHDR& header) override;
  void OnCommand(WORD, WORD) override {}

 private:
  class Row;
  class Header;
  // Marks a change the code makes, which raises no event.
  class FromCode;

  // In front of the control's procedure: for the mouse buttons' WM_*BUTTONDOWN, WM_PAINT,
  // WM_PRINT, WM_PRINTCLIENT and the message HoldRedraw posts.
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM self) noexcept;

  /// Stops the control drawing each change of its rows until the thread's message loop runs
  /// again, or the control is about to paint: a list filled row by row is drawn once. (Drawn row
  /// by row, a thousand rows took seconds under Wine.)
  void HoldRedraw();
  void ResumeRedraw();

  /// The row at a place of the control (0-based), or null.
  Row* RowAt(int place) const;
  /// The row's place in the control, or -1.
  int PlaceOf(const Row& row) const;
  /// The row as one of this list's, null for null; throws VbError (35601) for another's.
  Row* Own(const ListItem* item) const;
  /// Draws a row's changed cell again and keeps the sort.
  void CellChanged(int column);
  /// Orders the items: by the key column while sorted, else by insertion.
  void Sort();
  /// The header's sort arrow on the key column while sorted, on none otherwise.
  void ShowSortArrow();
  // For NM_CUSTOMDRAW: the text colour of each row.
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
  // For LVN_GETDISPINFOW: the text of the cell asked for, from its row.
  void FillCellText(LVITEMW& item) const;
  // For LVN_GETINFOTIPW: the whole text of a cut cell, else an empty tip.
  void FillInfoTip(NMLVGETINFOTIPW& tip) const;

  WNDPROC controlProc_ = nullptr;  // the control's own
  const DrawnImages* smallIcons_;  // not owned; may be null
  bool checkBoxes_;
  std::wstring greyIcon_;  // the small icon of the rows drawn grey; empty for none
  int fromCode_ = 0;  // nesting of changes made by the code
  std::vector<std::unique_ptr<Header>> columns_;  // creation order
  std::vector<std::unique_ptr<Row>> rows_;        // insertion order
  std::unordered_set<std::wstring> keys_;         // of the rows that have one
  std::uint64_t nextSequence_ = 0;
  std::uint64_t sorts_ = 0;  // made so far: a row's place hint is sure while none came after it
  int sortKey_ = 0;
  int sortOrder_ = 0;
  bool sorted_ = false;
  bool redrawHeld_ = false;
  bool visibleWhenHeld_ = false;
};
