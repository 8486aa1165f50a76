#pragma once
// Controls without windows, for scenario tests of the browser document. Each honours the effects
// its interface promises and raises the common controls' errors; the User* calls act as the user
// does, raising the events the document handles. Geometry is simple and fixed: a list view's rows
// are kRowHeight twips high from its top edge, a tab strip's pages sit inside fixed margins.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "ui/Controls.h"

namespace headless {

/// VbError 380, "Invalid property value", as a control raises it for a value it refuses.
[[noreturn]] void ThrowInvalidValue(const wchar_t* source);

/// Stacking levels shared by every control in the process: each call gives a level above
/// (below) every level given before.
int NextFrontLevel();
int NextBackLevel();

}  // namespace headless

/// The placement, visibility and stacking that every headless control shares.
template <typename Base>
class HeadlessControl : public Base {
 public:
  using Base::Move;
  void Move(float left, float top, float width, float height) override {
    if (failMoves_ || width < 0 || height < 0) headless::ThrowInvalidValue(L"Move");
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
  }
  float Left() const override { return left_; }
  float Top() const override { return top_; }
  float Width() const override { return width_; }
  float Height() const override { return height_; }

  bool Visible() const override { return visible_; }
  void Visible(bool visible) override { visible_ = visible; }

  /// 0 in front of every control so far, anything else behind them.
  void ZOrder(int position) override {
    zLevel_ = position == 0 ? headless::NextFrontLevel() : headless::NextBackLevel();
  }
  /// Of two controls, the one with the higher level is in front; every control starts at 0.
  int ZLevel() const { return zLevel_; }

  /// While set, every Move throws VbError 380 and the control stays where it is.
  void FailMoves(bool fail) { failMoves_ = fail; }

 private:
  float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  int zLevel_ = 0;
  bool failMoves_ = false;
};

/// A list view in report view. Rows keep their insertion order; while Sorted they show stably
/// sorted by the key column's text (ties in insertion order whichever the direction), and the
/// order follows every later change of rows, texts or sort settings.
class HeadlessListView final : public HeadlessControl<ListView> {
 public:
  static constexpr float kRowHeight = 240.f;

  HeadlessListView();
  ~HeadlessListView() override;
  HeadlessListView(const HeadlessListView&) = delete;
  HeadlessListView& operator=(const HeadlessListView&) = delete;

  ColumnHeader& AddColumn(std::wstring key, std::wstring text, float width) override;
  int ColumnCount() const override;
  ColumnHeader& Column(int index) override;
  ColumnHeader& Column(std::wstring_view key) override;

  void ClearItems() override;
  ListItem& AddItem(std::wstring key, std::wstring text, std::wstring smallIcon) override;
  int ItemCount() const override;
  ListItem& Item(int index) override;

  ListItem* SelectedItem() override;
  void SelectedItem(ListItem* item) override;
  /// The row at floor(y / kRowHeight) in the current order, for 0 <= x < Width() and y >= 0.
  ListItem* HitTest(float x, float y) override;
  ListItem* DropHighlight() override;
  void DropHighlight(ListItem* item) override;

  int SortKey() const override { return sortKey_; }
  void SortKey(int key) override;
  int SortOrder() const override { return sortOrder_; }
  void SortOrder(int order) override;
  bool Sorted() const override { return sorted_; }
  void Sorted(bool sorted) override;

  // What the user does.
  /// The centre of the row in the current order, as HitTest takes it.
  std::pair<float, float> PointOf(const ListItem& item) const;
  /// A click on the header of the column created (creationIndex)th: ColumnClick.
  void UserClickColumn(int creationIndex);
  void UserDoubleClick();
  void UserMouseDown(int button, int shift, float x, float y);
  /// Ticks or clears the row's check box, then raises ItemCheck with the row.
  void UserCheck(ListItem& item, bool checked);

 private:
  class Row;
  class Header;

  const std::vector<Row*>& Order() const;  // the rows as shown, derived when stale
  void OrderChanged() { orderStale_ = true; }
  // The row as one of this list's, null for null; a row of another list fails the test.
  Row* Own(const ListItem* item) const;

  std::vector<std::unique_ptr<Header>> columns_;  // creation order
  std::vector<Header*> columnOrder_;              // display order
  std::vector<std::unique_ptr<Row>> rows_;        // insertion order
  std::unordered_set<std::wstring> keys_;         // of the rows that have one
  mutable std::vector<Row*> order_;
  mutable bool orderStale_ = false;
  Row* selected_ = nullptr;
  Row* dropHighlight_ = nullptr;
  int sortKey_ = 0;
  int sortOrder_ = 0;
  bool sorted_ = false;
};

class HeadlessTabStrip final : public HeadlessControl<TabStrip> {
 public:
  /// The page area's margins inside the strip, tabs at the top.
  static constexpr float kClientLeftMargin = 45.f;
  static constexpr float kClientTopMargin = 330.f;
  static constexpr float kClientWidthMargin = 90.f;
  static constexpr float kClientHeightMargin = 375.f;

  void AddTab(std::wstring caption) override;
  int TabCount() const override;
  const std::wstring& TabCaption(int index) const override;
  /// 0 until the first tab is added, which becomes the selected one.
  int SelectedIndex() const override { return selected_; }
  void SelectTab(int index) override;
  float ClientLeft() const override;
  float ClientTop() const override;
  float ClientWidth() const override;
  float ClientHeight() const override;
  int TabIndex() const override { return tabIndex_; }
  void TabIndex(int index) override { tabIndex_ = index; }

  /// A click on a tab: selects it and raises Click, as SelectTab does.
  void UserClickTab(int index) { SelectTab(index); }

 private:
  std::vector<std::wstring> captions_;
  int selected_ = 0;
  int tabIndex_ = 0;
};

class HeadlessToolbar final : public HeadlessControl<Toolbar> {
 public:
  static constexpr float kHeight = 390.f;

  struct Button {
    std::wstring key, toolTip, imageKey;
    bool twoState;
    int value;
  };

  HeadlessToolbar();

  /// A key already in use throws VbError 35602.
  void AddButton(std::wstring key, std::wstring toolTip, std::wstring imageKey,
                 bool twoState) override;
  int ButtonValue(std::wstring_view key) const override;
  void ButtonValue(std::wstring_view key, int value) override;
  using HeadlessControl<Toolbar>::Move;
  void Move(float left, float top, float width) override;

  /// A click on the button: a two-state one toggles first; then ButtonClick.
  void UserClick(std::wstring_view key);

 private:
  Button& Find(std::wstring_view key);
  const Button& Find(std::wstring_view key) const;

  std::vector<Button> buttons_;
};

class HeadlessTextBox final : public HeadlessControl<TextBox> {
 public:
  const std::wstring& Text() const override { return text_; }
  void Text(std::wstring text) override { text_ = std::move(text); }

 private:
  std::wstring text_;
};

class HeadlessFrame final : public HeadlessControl<Frame> {
 public:
  const std::wstring& Caption() const override { return caption_; }
  void Caption(std::wstring caption) override { caption_ = std::move(caption); }

 private:
  std::wstring caption_;
};

class HeadlessLabel final : public HeadlessControl<Label> {
 public:
  const std::wstring& Caption() const override { return caption_; }
  void Caption(std::wstring caption) override { caption_ = std::move(caption); }

 private:
  std::wstring caption_;
};

/// Keeps the settings the document applies; the test picks the file.
class HeadlessCommonDialog final : public CommonDialog {
 public:
  void CancelError(bool value) override { cancelError = value; }
  void DialogTitle(std::wstring title) override { dialogTitle = std::move(title); }
  void Filter(std::wstring text) override { filter = std::move(text); }
  void FilterIndex(int index) override { filterIndex = index; }
  void InitDir(std::wstring folder) override { initDir = std::move(folder); }
  void Flags(long value) override { flags = value; }
  /// The user chooses nextFileName, or cancels when it is empty.
  void ShowOpen() override;
  const std::wstring& FileName() const override { return fileName_; }

  bool cancelError = false;
  std::wstring dialogTitle;
  std::wstring filter;
  int filterIndex = 0;
  std::wstring initDir;
  long flags = 0;

  std::wstring nextFileName;
  int shows = 0;

 private:
  std::wstring fileName_;
};

class HeadlessContainer final : public DocumentContainer {
 public:
  /// The user resizes the container: the new inside size.
  void Size(float width, float height);

  float ScaleWidth() const override { return scaleWidth_; }
  float ScaleHeight() const override { return scaleHeight_; }
  float MinWidth() const override { return minWidth_; }
  void MinWidth(float width) override { minWidth_ = width; }
  float MinHeight() const override { return minHeight_; }
  void MinHeight(float height) override { minHeight_ = height; }
  /// Records the menu, then runs the Click of the item named by choose, if any, and empties
  /// choose: a later menu closes without a choice unless the test chooses again.
  void PopupMenu(const Menu& menu, int flags) override;

  std::vector<std::pair<std::wstring, int>> popups;  // menu name and flags, each time shown
  std::wstring choose;                               // the item the user will pick; "" none

 private:
  float scaleWidth_ = 0, scaleHeight_ = 0;
  float minWidth_ = 0, minHeight_ = 0;
};

class HeadlessApplication final : public Application {
 public:
  int MousePointer() const override { return pointer_; }
  void MousePointer(int pointer) override;
  void DoEvents() override { ++doEvents; }
  std::wstring Path() const override { return path; }

  std::vector<int> pointers;  // every pointer set, in order
  int doEvents = 0;
  std::wstring path = L"C:\\Program Files\\Marrowby";

 private:
  int pointer_ = 0;
};

class HeadlessModalForm final : public ModalForm {
 public:
  void ShowModal() override { ++shows; }

  int shows = 0;
};

