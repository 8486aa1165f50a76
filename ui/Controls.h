#pragma once
// The controls the project browser is built from, as the document uses them. Positions and sizes
// are in twips (1440 to the inch). Two implementations: the Win32 common controls, and headless
// ones for the tests, which honour every effect listed here.
//
// Rows and column headers are owned by their list view: a reference to a row stays valid until
// the row is removed (ClearItems), a header's for the life of the list view.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

/// A control's place in the window, and whether and how it shows.
class Control {
 public:
  virtual ~Control() = default;

  /// Places the control. A size the control refuses (a negative width or height) throws VbError
  /// and leaves it where it was.
  virtual void Move(float left, float top, float width, float height) = 0;
  virtual float Left() const = 0;
  virtual float Top() const = 0;
  virtual float Width() const = 0;
  virtual float Height() const = 0;

  virtual bool Visible() const = 0;
  virtual void Visible(bool visible) = 0;

  /// 0 brings the control in front of its siblings.
  virtual void ZOrder(int position) = 0;

  /// Gives the control the keyboard focus.
  virtual void SetFocus() = 0;
};

/// One row of a list view.
class ListItem {
 public:
  virtual ~ListItem() = default;
  virtual const std::wstring& Key() const = 0;
  virtual const std::wstring& Text() const = 0;
  virtual void Text(std::wstring text) = 0;
  /// Sub-item i (1-based): the text of the column created (i + 1)th; empty when never set.
  virtual const std::wstring& SubItems(int index) const = 0;
  virtual void SubItems(int index, std::wstring text) = 0;
  /// The key of the row's small icon in the list's small image list.
  virtual const std::wstring& SmallIcon() const = 0;
  virtual bool Checked() const = 0;
  /// Setting the check from code does not raise ItemCheck.
  virtual void Checked(bool checked) = 0;
  virtual int Tag() const = 0;
  virtual void Tag(int tag) = 0;
  /// The row's top in the list's client area, in twips, where it shows now.
  virtual float Top() const = 0;
};

/// One column of a list view.
class ColumnHeader {
 public:
  virtual ~ColumnHeader() = default;
  /// The creation index, 1-based; it does not change when the column moves.
  virtual int Index() const = 0;
  virtual const std::wstring& Key() const = 0;
  virtual const std::wstring& Text() const = 0;
  /// The display place, 1-based. Setting it moves the column there and shifts the others.
  virtual int Position() const = 0;
  virtual void Position(int position) = 0;
  /// Width 0 hides the column.
  virtual float Width() const = 0;
  virtual void Width(float width) = 0;
};

class ListView : public Control {
 public:
  struct Events {
    std::function<void(ColumnHeader&)> ColumnClick;
    std::function<void()> DblClick;
    /// button: 1 left, 2 right, 4 middle; shift: 1 shift, 2 ctrl, 4 alt; x, y as HitTest takes them.
    std::function<void(int button, int shift, float x, float y)> MouseDown;
    /// Raised when the user changes a row's check box; the row carries its new state.
    std::function<void(ListItem&)> ItemCheck;
  };
  Events events;

  /// Design: adds a column at the end of the display order.
  virtual ColumnHeader& AddColumn(std::wstring key, std::wstring text, float width) = 0;
  virtual int ColumnCount() const = 0;
  /// By creation index (1-based).
  virtual ColumnHeader& Column(int index) = 0;
  /// By key; throws VbError when no column has that key.
  virtual ColumnHeader& Column(std::wstring_view key) = 0;

  /// ListItems.Clear: removes every row; the selection and drop highlight go with them.
  virtual void ClearItems() = 0;
  /// ListItems.Add: a new row with no icon and the given small icon. While Sorted, the row
  /// takes its place by the sort. Throws VbError (35602) when the key is already in use.
  virtual ListItem& AddItem(std::wstring key, std::wstring text, std::wstring smallIcon) = 0;
  virtual int ItemCount() const = 0;
  /// ListItems(i): the rows in their current order, 1-based.
  virtual ListItem& Item(int index) = 0;

  virtual ListItem* SelectedItem() = 0;
  virtual void SelectedItem(ListItem* item) = 0;
  /// The row at the point, or none.
  virtual ListItem* HitTest(float x, float y) = 0;
  virtual ListItem* DropHighlight() = 0;
  virtual void DropHighlight(ListItem* item) = 0;

  /// The sort column, 0-based in creation order (0 the row's text, k its sub-item k).
  virtual int SortKey() const = 0;
  virtual void SortKey(int key) = 0;
  /// 0 ascending, 1 descending.
  virtual int SortOrder() const = 0;
  virtual void SortOrder(int order) = 0;
  virtual bool Sorted() const = 0;
  /// True sorts the rows by the key column's text at once, and keeps later rows sorted.
  virtual void Sorted(bool sorted) = 0;
};

class TabStrip : public Control {
 public:
  struct Events {
    std::function<void()> Click;
  };
  Events events;

  /// Design: adds a tab at the end.
  virtual void AddTab(std::wstring caption) = 0;
  virtual int TabCount() const = 0;
  virtual const std::wstring& TabCaption(int index) const = 0;
  /// SelectedItem.Index, 1-based.
  virtual int SelectedIndex() const = 0;
  /// Set SelectedItem = Tabs(index): selecting a tab from code raises Click as a user's click does.
  virtual void SelectTab(int index) = 0;
  /// The area inside the tabs, where the pages go.
  virtual float ClientLeft() const = 0;
  virtual float ClientTop() const = 0;
  virtual float ClientWidth() const = 0;
  virtual float ClientHeight() const = 0;
  /// The place in the window's keyboard tab order.
  virtual int TabIndex() const = 0;
  virtual void TabIndex(int index) = 0;
};

/// The clicked button, as ButtonClick hands it over.
struct ToolbarButton {
  std::wstring Key;
  int Value;  // 1 pressed, 0 released
};

class Toolbar : public Control {
 public:
  struct Events {
    std::function<void(const ToolbarButton&)> ButtonClick;
  };
  Events events;

  /// Design: a push button, or a two-state one that toggles its Value before ButtonClick.
  virtual void AddButton(std::wstring key, std::wstring toolTip, std::wstring imageKey,
                         bool twoState) = 0;
  /// Buttons(key).Value; throws VbError for an unknown key.
  virtual int ButtonValue(std::wstring_view key) const = 0;
  virtual void ButtonValue(std::wstring_view key, int value) = 0;
  /// The toolbar keeps its own height.
  virtual void Move(float left, float top, float width) = 0;
  using Control::Move;
};

class TextBox : public Control {
 public:
  virtual const std::wstring& Text() const = 0;
  virtual void Text(std::wstring text) = 0;
};

/// A text box the user types into.
class EditBox : public TextBox {
 public:
  struct Events {
    /// Raised at every change of the text, the user's or the code's.
    std::function<void()> Change;
  };
  Events events;

  /// The grey hint the box shows while it is empty.
  virtual const std::wstring& CueBanner() const = 0;
  virtual void CueBanner(std::wstring text) = 0;
};

class Frame : public Control {
 public:
  virtual const std::wstring& Caption() const = 0;
  virtual void Caption(std::wstring caption) = 0;
};

/// A label: fixed text at a fixed place inside its frame.
class Label : public Control {
 public:
  virtual const std::wstring& Caption() const = 0;
  virtual void Caption(std::wstring caption) = 0;
};

/// The open-file dialog.
class CommonDialog {
 public:
  virtual ~CommonDialog() = default;
  virtual void CancelError(bool value) = 0;
  virtual void DialogTitle(std::wstring title) = 0;
  /// Pairs of description and pattern separated by "|".
  virtual void Filter(std::wstring filter) = 0;
  virtual void FilterIndex(int index) = 0;
  virtual void InitDir(std::wstring folder) = 0;
  virtual void Flags(long flags) = 0;
  /// Shows the dialog and returns when the user has chosen a file or cancelled.
  virtual void ShowOpen() = 0;
  /// The chosen path; empty after a cancel.
  virtual const std::wstring& FileName() const = 0;
};

/// A menu used as a pop-up: its items, each with the command its Click runs.
struct MenuItem {
  std::wstring Name;
  std::wstring Caption;
  std::function<void()> Click;
};
struct Menu {
  std::wstring Name;
  std::vector<MenuItem> Items;
};

/// The container the document lives in.
class DocumentContainer {
 public:
  virtual ~DocumentContainer() = default;
  virtual float ScaleWidth() const = 0;
  virtual float ScaleHeight() const = 0;
  virtual float MinWidth() const = 0;
  virtual void MinWidth(float width) = 0;
  virtual float MinHeight() const = 0;
  virtual void MinHeight(float height) = 0;
  /// Shows the menu at the pointer; returns after the chosen item's command has run (or when
  /// the menu was closed without a choice). Flag 2: the right button may choose items.
  virtual void PopupMenu(const Menu& menu, int flags) = 0;
  /// The same, at a place of the document (twips from its top left) instead of the pointer.
  virtual void PopupMenu(const Menu& menu, int flags, float x, float y) = 0;
  /// The document's control that has the keyboard focus; null when none has.
  virtual Control* ActiveControl() const = 0;
};

/// What the document needs of the running application.
class Application {
 public:
  virtual ~Application() = default;
  /// The screen's mouse pointer: 11 hourglass, 0 default.
  virtual int MousePointer() const = 0;
  virtual void MousePointer(int pointer) = 0;
  /// Lets the pending window events run once.
  virtual void DoEvents() = 0;
  /// The folder that holds the add-in's library file.
  virtual std::wstring Path() const = 0;
};

/// A form shown modally over the document (the About box).
class ModalForm {
 public:
  virtual ~ModalForm() = default;
  virtual void ShowModal() = 0;
};
