#pragma once
// Controls without windows, for scenario tests of the browser document. Each honours the effects
// its interface promises, as the Win32 controls do (browser/tests/win32/RealControlsTest.cpp pins
// the list view's); the User* calls act as the user does, raising the events the document handles. Geometry is fixed: a list view's rows are kRowHeight
// twips high from its top, a tab strip's pages sit inside fixed margins.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/ControlErrors.h"
#include "ui/Controls.h"
#include "ui/ListSort.h"

namespace headless {
inline int frontLevel = 0, backLevel = 0;  // the stacking levels given out so far
inline Control* focused = nullptr;         // the control with the keyboard focus, process-wide
}  // namespace headless

/// The placement, visibility and stacking that every headless control shares.
template <typename Base>
class HeadlessControl : public Base {
 public:
  void Move(float left, float top, float width, float height) override {
    if (failMoves) ThrowInvalidValue(L"Move");
    place_ = {left, top, width, height};
  }
  float Left() const override { return place_[0]; }
  float Top() const override { return place_[1]; }
  float Width() const override { return place_[2]; }
  float Height() const override { return place_[3]; }
  bool Visible() const override { return visible_; }
  void Visible(bool visible) override { visible_ = visible; }
  void ZOrder(int position) override {
    zLevel = position == 0 ? ++headless::frontLevel : --headless::backLevel;
  }
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
  class Row;

 public:
  static constexpr float kRowHeight = 240.f;

  // The document gives each column its key as its text: the headless header keeps one of them.
  ColumnHeader& AddColumn(std::wstring key, std::wstring, float width) override {
    columns_.push_back(std::make_unique<Header>(*this, ColumnCount() + 1, std::move(key), width));
    columnOrder_.push_back(columns_.back().get());
    return *columns_.back();
  }
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  ColumnHeader& Column(int index) override { return *columns_.at(std::size_t(index - 1)); }
  ColumnHeader& Column(std::wstring_view key) override {
    for (auto& column : columns_)
      if (column->Key() == key) return *column;
    ThrowNotFound(L"ColumnHeaders");
  }

  void ClearItems() override {
    selected_ = dropHighlight_ = nullptr;
    rows_.clear();
  }
  ListItem& AddItem(std::wstring key, std::wstring text, std::wstring smallIcon) override {
    for (auto& row : rows_)
      if (!key.empty() && row->Key() == key) ThrowKeyNotUnique(L"ListItems.Add");
    rows_.push_back(
        std::make_unique<Row>(*this, std::move(key), std::move(text), std::move(smallIcon)));
    return *rows_.back();
  }
  int ItemCount() const override { return static_cast<int>(rows_.size()); }
  ListItem& Item(int index) override { return *Order().at(std::size_t(index - 1)); }

  ListItem* SelectedItem() override { return selected_; }
  void SelectedItem(ListItem* item) override { selected_ = item; }
  /// The row at floor(y / kRowHeight) in the current order, for 0 <= x < Width() and y >= 0.
  ListItem* HitTest(float x, float y) override {
    if (x < 0 || x >= Width() || y < 0 || y / kRowHeight >= ItemCount()) return nullptr;
    return Order()[static_cast<std::size_t>(y / kRowHeight)];
  }
  ListItem* DropHighlight() override { return dropHighlight_; }
  void DropHighlight(ListItem* item) override { dropHighlight_ = item; }

  int SortKey() const override { return sortKey_; }
  void SortKey(int key) override { sortKey_ = key; }
  int SortOrder() const override { return sortOrder_; }
  void SortOrder(int order) override { sortOrder_ = order; }
  bool Sorted() const override { return sorted_; }
  void Sorted(bool sorted) override { sorted_ = sorted; }

  // What the user does.
  /// The centre of the row, as HitTest takes it.
  std::pair<float, float> PointOf(const ListItem& item) const {
    const auto& order = Order();
    const auto slot = std::find(order.begin(), order.end(), &item) - order.begin();
    EXPECT_LT(slot, ItemCount()) << "the row does not belong to this list view";
    return {Width() / 2, (static_cast<float>(slot) + 0.5f) * kRowHeight};
  }
  /// A click on the header of the column created (creationIndex)th.
  void UserClickColumn(int creationIndex) { events.ColumnClick(Column(creationIndex)); }
  void UserDoubleClick() { events.DblClick(); }
  void UserMouseDown(int button, int shift, float x, float y) { events.MouseDown(button, shift, x, y); }
  /// Ticks or clears the row's check box, then raises ItemCheck with the row.
  void UserCheck(ListItem& item, bool checked) {
    item.Checked(checked);
    events.ItemCheck(item);
  }

 private:
  class Row final : public ListItem {
   public:
    Row(HeadlessListView& owner, std::wstring key, std::wstring text, std::wstring smallIcon)
        : owner_(owner), key_(std::move(key)), icon_(std::move(smallIcon)),
          cells_{{0, std::move(text)}} {}
    const std::wstring& Key() const override { return key_; }
    const std::wstring& Text() const override { return cells_.at(0); }
    void Text(std::wstring text) override { cells_[0] = std::move(text); }
    /// Sub-item index, or the row's text for 0; empty when never set.
    const std::wstring& SubItems(int index) const override {
      static const std::wstring kNeverSet;
      const auto it = cells_.find(index);
      return it == cells_.end() ? kNeverSet : it->second;
    }
    void SubItems(int index, std::wstring text) override { cells_[index] = std::move(text); }
    const std::wstring& SmallIcon() const override { return icon_; }
    bool Checked() const override { return checked_; }
    void Checked(bool checked) override { checked_ = checked; }
    int Tag() const override { return tag_; }
    void Tag(int tag) override { tag_ = tag; }
    float Top() const override { return owner_.PointOf(*this).second - kRowHeight / 2; }

   private:
    HeadlessListView& owner_;
    std::wstring key_, icon_;
    std::map<int, std::wstring> cells_;  // 0 the row's text, k its sub-item k
    bool checked_ = false;
    int tag_ = 0;
  };

  class Header final : public ColumnHeader {
   public:
    Header(HeadlessListView& owner, int index, std::wstring key, float width)
        : order_(owner.columnOrder_), index_(index), key_(std::move(key)), width_(width) {}
    int Index() const override { return index_; }
    const std::wstring& Key() const override { return key_; }
    const std::wstring& Text() const override { return key_; }
    int Position() const override {
      return static_cast<int>(std::find(order_.begin(), order_.end(), this) - order_.begin()) + 1;
    }
    void Position(int position) override {
      order_.erase(order_.begin() + (Position() - 1));
      const int place = std::clamp(position, 1, static_cast<int>(order_.size()) + 1);
      order_.insert(order_.begin() + (place - 1), this);
    }
    float Width() const override { return width_; }
    void Width(float width) override { width_ = width; }

   private:
    std::vector<Header*>& order_;  // the list's display order
    int index_;
    std::wstring key_;
    float width_;
  };

  // The rows as shown, derived afresh from the rows and the settings as they are now.
  std::vector<Row*> Order() const {
    std::vector<Row*> order;
    for (auto& row : rows_) order.push_back(row.get());
    // A stable sort keeps equal rows in insertion order in both directions.
    const int column = sortKey_, sign = sortOrder_ == 1 ? -1 : 1;
    if (sorted_)
      std::stable_sort(order.begin(), order.end(), [column, sign](Row* a, Row* b) {
        return sign * CompareListText(a->SubItems(column), b->SubItems(column)) < 0;
      });
    return order;
  }

  std::vector<std::unique_ptr<Header>> columns_;  // creation order
  std::vector<Header*> columnOrder_;              // display order
  std::vector<std::unique_ptr<Row>> rows_;        // insertion order
  ListItem* selected_ = nullptr;
  ListItem* dropHighlight_ = nullptr;
  int sortKey_ = 0, sortOrder_ = 0;
  bool sorted_ = false;
};

class HeadlessTabStrip final : public HeadlessControl<TabStrip> {
 public:
  void AddTab(std::wstring caption) override {
    captions_.push_back(std::move(caption));
    selected_ = std::max(selected_, 1);
  }
  int TabCount() const override { return static_cast<int>(captions_.size()); }
  const std::wstring& TabCaption(int index) const override {
    return captions_.at(std::size_t(index - 1));
  }
  /// 0 until the first tab is added, which becomes the selected one.
  int SelectedIndex() const override { return selected_; }
  void SelectTab(int index) override {
    selected_ = index;
    if (events.Click) events.Click();
  }
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
  void AddButton(std::wstring key, std::wstring, std::wstring, bool twoState) override {
    buttons_[std::move(key)] = {twoState, 0};
  }
  int ButtonValue(std::wstring_view key) const override { return Find(key).second; }
  void ButtonValue(std::wstring_view key, int value) override { Find(key).second = value; }
  using HeadlessControl<Toolbar>::Move;
  void Move(float left, float top, float width) override { Move(left, top, width, Height()); }

  /// A click on the button: a two-state one toggles first; then ButtonClick.
  void UserClick(std::wstring_view key) {
    auto& [twoState, value] = Find(key);
    if (twoState) value = 1 - value;
    events.ButtonClick(ToolbarButton{std::wstring(key), value});
  }

 private:
  std::pair<bool, int>& Find(std::wstring_view key) const {
    const auto it = buttons_.find(key);
    if (it == buttons_.end()) ThrowNotFound(L"Buttons");
    return it->second;
  }
  mutable std::map<std::wstring, std::pair<bool, int>, std::less<>> buttons_;  // two-state, value
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
using HeadlessFrame = HeadlessText<Frame>;
using HeadlessLabel = HeadlessText<Label>;

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

/// Keeps the filter, folder and flags the document applies (its title shows in the real dialog);
/// the user chooses nextFileName, or cancels when it is empty.
class HeadlessCommonDialog final : public CommonDialog {
 public:
  void CancelError(bool) override {}
  void DialogTitle(std::wstring) override {}
  void Filter(std::wstring text) override { filter = std::move(text); }
  void FilterIndex(int) override {}
  void InitDir(std::wstring folder) override { initDir = std::move(folder); }
  void Flags(long value) override { flags = value; }
  void ShowOpen() override { fileName = nextFileName; }
  const std::wstring& FileName() const override { return fileName; }

  std::wstring filter, initDir, nextFileName, fileName;
  long flags = 0;
};

class HeadlessContainer final : public DocumentContainer {
 public:
  /// The user resizes the container: the new inside size.
  void Size(float width, float height) { scale_ = {width, height}; }
  float ScaleWidth() const override { return scale_.first; }
  float ScaleHeight() const override { return scale_.second; }
  float MinWidth() const override { return min_.first; }
  void MinWidth(float width) override { min_.first = width; }
  float MinHeight() const override { return min_.second; }
  void MinHeight(float height) override { min_.second = height; }
  /// Records the menu, then runs the Click of the item named by choose, if any, and empties
  /// choose: a later menu closes without a choice unless the test chooses again.
  void PopupMenu(const Menu& menu, int flags) override;
  void PopupMenu(const Menu& menu, int flags, float, float) override { PopupMenu(menu, flags); }
  Control* ActiveControl() const override { return headless::focused; }

  std::vector<std::pair<std::wstring, int>> popups;  // menu name and flags, each time shown
  std::wstring choose;                               // the item the user will pick; "" none

 private:
  std::pair<float, float> scale_{0, 0}, min_{0, 0};
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
