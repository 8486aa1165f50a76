#pragma once
// Controls without windows, for scenario tests of the browser document. Each honours the effects
// its interface promises and raises the common controls' errors (ControlsContract pins both); the
// User* calls act as the user does, raising the events the document handles. Geometry is fixed:
// a list view's rows are kRowHeight twips high from its top, a tab strip's pages sit inside
// fixed margins.

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/Controls.h"

namespace headless {
/// VbError 380, "Invalid property value", as a control raises it for a value it refuses.
[[noreturn]] void ThrowInvalidValue(const wchar_t* source);
/// A stacking level above (front) or below every level given before, process-wide.
int NextLevel(bool front);
/// The control with the keyboard focus, process-wide; null for none.
extern Control* focused;
}  // namespace headless

/// The placement, visibility and stacking that every headless control shares.
template <typename Base>
class HeadlessControl : public Base {
 public:
  using Base::Move;
  void Move(float left, float top, float width, float height) override {
    if (failMoves || width < 0 || height < 0) headless::ThrowInvalidValue(L"Move");
    place_ = {left, top, width, height};
  }
  float Left() const override { return place_[0]; }
  float Top() const override { return place_[1]; }
  float Width() const override { return place_[2]; }
  float Height() const override { return place_[3]; }
  bool Visible() const override { return visible_; }
  void Visible(bool visible) override { visible_ = visible; }
  void ZOrder(int position) override { zLevel = headless::NextLevel(position == 0); }
  void SetFocus() override { headless::focused = this; }

  int zLevel = 0;          // of two controls, the higher is in front
  bool failMoves = false;  // while set, every Move throws VbError 380 and changes nothing

 private:
  std::array<float, 4> place_{};
  bool visible_ = true;
};

/// A list view in report view. Rows keep their insertion order; while Sorted they show stably
/// sorted by the key column's text, following every later change of rows, texts or settings.
class HeadlessListView final : public HeadlessControl<ListView> {
 public:
  static constexpr float kRowHeight = 240.f;

  HeadlessListView();
  ~HeadlessListView() override;

  ColumnHeader& AddColumn(std::wstring key, std::wstring text, float width) override;
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  ColumnHeader& Column(int index) override;
  ColumnHeader& Column(std::wstring_view key) override;

  void ClearItems() override;
  ListItem& AddItem(std::wstring key, std::wstring text, std::wstring smallIcon) override;
  int ItemCount() const override { return static_cast<int>(rows_.size()); }
  ListItem& Item(int index) override;

  ListItem* SelectedItem() override { return selected_; }
  void SelectedItem(ListItem* item) override { selected_ = item; }
  /// The row at floor(y / kRowHeight) in the current order, for 0 <= x < Width() and y >= 0.
  ListItem* HitTest(float x, float y) override;
  ListItem* DropHighlight() override { return dropHighlight_; }
  void DropHighlight(ListItem* item) override { dropHighlight_ = item; }

  int SortKey() const override { return sortKey_; }
  void SortKey(int key) override;
  int SortOrder() const override { return sortOrder_; }
  void SortOrder(int order) override;
  bool Sorted() const override { return sorted_; }
  void Sorted(bool sorted) override;

  // What the user does.
  /// The centre of the row, as HitTest takes it.
  std::pair<float, float> PointOf(const ListItem& item) const;
  /// A click on the header of the column created (creationIndex)th.
  void UserClickColumn(int creationIndex) { events.ColumnClick(Column(creationIndex)); }
  void UserDoubleClick() { events.DblClick(); }
  void UserMouseDown(int button, int shift, float x, float y) { events.MouseDown(button, shift, x, y); }
  /// Ticks or clears the row's check box, then raises ItemCheck with the row.
  void UserCheck(ListItem& item, bool checked);

 private:
  class Row;
  class Header;
  const std::vector<Row*>& Order() const;  // the rows as shown, derived again when stale

  std::vector<std::unique_ptr<Header>> columns_;  // creation order
  std::vector<Header*> columnOrder_;              // display order
  std::vector<std::unique_ptr<Row>> rows_;        // insertion order
  mutable std::vector<Row*> order_;
  mutable bool stale_ = false;
  ListItem* selected_ = nullptr;
  ListItem* dropHighlight_ = nullptr;
  int sortKey_ = 0, sortOrder_ = 0;
  bool sorted_ = false;
};

class HeadlessTabStrip final : public HeadlessControl<TabStrip> {
 public:
  void AddTab(std::wstring caption) override;
  int TabCount() const override { return static_cast<int>(captions_.size()); }
  const std::wstring& TabCaption(int index) const override;
  /// 0 until the first tab is added, which becomes the selected one.
  int SelectedIndex() const override { return selected_; }
  void SelectTab(int index) override;
  /// The pages sit inside margins of 45 twips left and right, 330 at the top and 45 below.
  float ClientLeft() const override { return Left() + 45; }
  float ClientTop() const override { return Top() + 330; }
  float ClientWidth() const override { return std::max(0.f, Width() - 90); }
  float ClientHeight() const override { return std::max(0.f, Height() - 375); }
  int TabIndex() const override { return tabIndex_; }
  void TabIndex(int index) override { tabIndex_ = index; }

  /// A click on a tab: selects it and raises Click, as SelectTab does.
  void UserClickTab(int index) { SelectTab(index); }

 private:
  std::vector<std::wstring> captions_;
  int selected_ = 0, tabIndex_ = 0;
};

class HeadlessToolbar final : public HeadlessControl<Toolbar> {
 public:
  HeadlessToolbar() { HeadlessControl::Move(0, 0, 0, 390); }
  /// A key already in use throws VbError 35602.
  void AddButton(std::wstring key, std::wstring, std::wstring, bool twoState) override;
  int ButtonValue(std::wstring_view key) const override { return Find(key).value; }
  void ButtonValue(std::wstring_view key, int value) override { Find(key).value = value; }
  using HeadlessControl<Toolbar>::Move;
  void Move(float left, float top, float width) override { Move(left, top, width, Height()); }

  /// A click on the button: a two-state one toggles first; then ButtonClick.
  void UserClick(std::wstring_view key);

 private:
  struct Button {
    std::wstring key;
    bool twoState;
    int value;
  };
  Button& Find(std::wstring_view key) const;
  mutable std::vector<Button> buttons_;
};

/// A text box, a frame or a label: a control with a text.
template <typename Base>
class HeadlessText final : public HeadlessControl<Base> {
 public:
  const std::wstring& Text() const { return text_; }
  void Text(std::wstring text) { text_ = std::move(text); }
  const std::wstring& Caption() const { return text_; }
  void Caption(std::wstring text) { text_ = std::move(text); }

 private:
  std::wstring text_;
};
using HeadlessTextBox = HeadlessText<TextBox>;

class HeadlessEditBox final : public HeadlessControl<EditBox> {
 public:
  const std::wstring& Text() const override { return text_; }
  void Text(std::wstring text) override {
    text_ = std::move(text);
    if (events.Change) events.Change();
  }
  const std::wstring& CueBanner() const override { return cue_; }
  void CueBanner(std::wstring text) override { cue_ = std::move(text); }

 private:
  std::wstring text_, cue_;
};
using HeadlessFrame = HeadlessText<Frame>;
using HeadlessLabel = HeadlessText<Label>;

/// Keeps the settings the document applies; the user chooses nextFileName, or cancels when it
/// is empty.
class HeadlessCommonDialog final : public CommonDialog {
 public:
  void CancelError(bool value) override { cancelError = value; }
  void DialogTitle(std::wstring title) override { dialogTitle = std::move(title); }
  void Filter(std::wstring text) override { filter = std::move(text); }
  void FilterIndex(int index) override { filterIndex = index; }
  void InitDir(std::wstring folder) override { initDir = std::move(folder); }
  void Flags(long value) override { flags = value; }
  void ShowOpen() override { fileName_ = nextFileName; }
  const std::wstring& FileName() const override { return fileName_; }

  bool cancelError = true;
  std::wstring dialogTitle, filter, initDir, nextFileName;
  int filterIndex = 0;
  long flags = 0;

 private:
  std::wstring fileName_;
};

class HeadlessContainer final : public DocumentContainer {
 public:
  /// The user resizes the container: the new inside size.
  void Size(float width, float height) {
    scaleWidth_ = width;
    scaleHeight_ = height;
  }
  float ScaleWidth() const override { return scaleWidth_; }
  float ScaleHeight() const override { return scaleHeight_; }
  float MinWidth() const override { return minWidth_; }
  void MinWidth(float width) override { minWidth_ = width; }
  float MinHeight() const override { return minHeight_; }
  void MinHeight(float height) override { minHeight_ = height; }
  /// Records the menu, then runs the Click of the item named by choose, if any, and empties
  /// choose: a later menu closes without a choice unless the test chooses again.
  void PopupMenu(const Menu& menu, int flags) override;
  void PopupMenu(const Menu& menu, int flags, float x, float y) override;
  Control* ActiveControl() const override { return headless::focused; }

  std::vector<std::pair<std::wstring, int>> popups;  // menu name and flags, each time shown
  std::pair<float, float> popupPlace{-1, -1};       // where the last placed menu showed
  std::wstring choose;                               // the item the user will pick; "" none

 private:
  float scaleWidth_ = 0, scaleHeight_ = 0, minWidth_ = 0, minHeight_ = 0;
};

class HeadlessApplication final : public Application {
 public:
  int MousePointer() const override { return pointers.empty() ? 0 : pointers.back(); }
  void MousePointer(int pointer) override { pointers.push_back(pointer); }
  void DoEvents() override {}
  std::wstring Path() const override { return path; }

  std::vector<int> pointers;  // every pointer set, in order
  std::wstring path = L"C:\\Program Files\\Marrowby";
};

class HeadlessModalForm final : public ModalForm {
 public:
  void ShowModal() override { ++shows; }
  int shows = 0;
};
