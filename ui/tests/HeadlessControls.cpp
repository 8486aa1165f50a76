#include "ui/tests/HeadlessControls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <map>

#include "ui/ControlErrors.h"
#include "ui/ListSort.h"

namespace headless {

void ThrowInvalidValue(const wchar_t* source) { ::ThrowInvalidValue(source); }

Control* focused = nullptr;

int NextLevel(bool front) {
  static std::atomic<int> frontLevel{0}, backLevel{0};
  return front ? ++frontLevel : --backLevel;
}

}  // namespace headless

// ---- HeadlessListView -----------------------------------------------------------------------

class HeadlessListView::Row final : public ListItem {
 public:
  Row(HeadlessListView& owner, std::wstring key, std::wstring text, std::wstring smallIcon)
      : owner_(owner), key_(std::move(key)), text_(std::move(text)), icon_(std::move(smallIcon)) {}

  const std::wstring& Key() const override { return key_; }
  const std::wstring& Text() const override { return text_; }
  void Text(std::wstring text) override {
    text_ = std::move(text);
    owner_.stale_ = true;
  }
  const std::wstring& SubItems(int index) const override {
    static const std::wstring kNeverSet;
    if (index < 1) ThrowOutOfBounds(L"SubItems");
    const auto it = subItems_.find(index);
    return it == subItems_.end() ? kNeverSet : it->second;
  }
  void SubItems(int index, std::wstring text) override {
    if (index < 1) ThrowOutOfBounds(L"SubItems");
    subItems_[index] = std::move(text);
    owner_.stale_ = true;
  }
  const std::wstring& SmallIcon() const override { return icon_; }
  bool Checked() const override { return checked_; }
  void Checked(bool checked) override { checked_ = checked; }
  int Tag() const override { return tag_; }
  void Tag(int tag) override { tag_ = tag; }
  float Top() const override {
    const auto& order = owner_.Order();
    return kRowHeight * static_cast<float>(std::find(order.begin(), order.end(), this) - order.begin());
  }

  // The text the list sorts this row by: column 0 is the row's own text.
  const std::wstring& SortText(int column) const { return column == 0 ? text_ : SubItems(column); }

 private:
  HeadlessListView& owner_;
  std::wstring key_, text_, icon_;
  std::map<int, std::wstring> subItems_;
  bool checked_ = false;
  int tag_ = 0;
};

class HeadlessListView::Header final : public ColumnHeader {
 public:
  Header(std::vector<Header*>& order, int index, std::wstring key, float width)
      : order_(order), index_(index), key_(std::move(key)), width_(width) {}

  int Index() const override { return index_; }
  const std::wstring& Key() const override { return key_; }
  const std::wstring& Text() const override { return key_; }
  int Position() const override {
    return static_cast<int>(std::find(order_.begin(), order_.end(), this) - order_.begin()) + 1;
  }
  void Position(int position) override {
    order_.erase(std::find(order_.begin(), order_.end(), this));
    const int place = std::clamp(position, 1, static_cast<int>(order_.size()) + 1);
    order_.insert(order_.begin() + (place - 1), this);
  }
  float Width() const override { return width_; }
  void Width(float width) override {
    if (width < 0) headless::ThrowInvalidValue(L"Width");
    width_ = width;
  }

 private:
  std::vector<Header*>& order_;  // the list's display order
  int index_;
  std::wstring key_;
  float width_;
};

HeadlessListView::HeadlessListView() = default;
HeadlessListView::~HeadlessListView() = default;

// The document gives each column its key as its text: the headless header keeps one of them.
ColumnHeader& HeadlessListView::AddColumn(std::wstring key, std::wstring, float width) {
  if (width < 0) headless::ThrowInvalidValue(L"ColumnHeaders.Add");
  for (auto& column : columns_)
    if (column->Key() == key) ThrowKeyNotUnique(L"ColumnHeaders.Add");
  columns_.push_back(std::make_unique<Header>(columnOrder_, ColumnCount() + 1, std::move(key), width));
  columnOrder_.push_back(columns_.back().get());
  return *columns_.back();
}

ColumnHeader& HeadlessListView::Column(int index) {
  if (index < 1 || index > ColumnCount()) ThrowOutOfBounds(L"ColumnHeaders");
  return *columns_[static_cast<std::size_t>(index - 1)];
}

ColumnHeader& HeadlessListView::Column(std::wstring_view key) {
  for (auto& column : columns_)
    if (column->Key() == key) return *column;
  ThrowNotFound(L"ColumnHeaders");
}

void HeadlessListView::ClearItems() {
  selected_ = dropHighlight_ = nullptr;
  order_.clear();
  rows_.clear();
  stale_ = false;
}

ListItem& HeadlessListView::AddItem(std::wstring key, std::wstring text, std::wstring smallIcon) {
  for (auto& row : rows_)
    if (!key.empty() && row->Key() == key) ThrowKeyNotUnique(L"ListItems.Add");
  rows_.push_back(std::make_unique<Row>(*this, std::move(key), std::move(text), std::move(smallIcon)));
  stale_ = true;
  return *rows_.back();
}

ListItem& HeadlessListView::Item(int index) {
  if (index < 1 || index > ItemCount()) ThrowOutOfBounds(L"ListItems");
  return *Order()[static_cast<std::size_t>(index - 1)];
}

const std::vector<HeadlessListView::Row*>& HeadlessListView::Order() const {
  if (!stale_) return order_;
  order_.clear();
  for (auto& row : rows_) order_.push_back(row.get());
  // A stable sort keeps equal rows in insertion order in both directions.
  const int column = sortKey_, sign = sortOrder_ == 1 ? -1 : 1;
  if (sorted_)
    std::stable_sort(order_.begin(), order_.end(), [column, sign](Row* a, Row* b) {
      return sign * CompareListText(a->SortText(column), b->SortText(column)) < 0;
    });
  stale_ = false;
  return order_;
}

ListItem* HeadlessListView::HitTest(float x, float y) {
  if (x < 0 || x >= Width() || y < 0 || y / kRowHeight >= ItemCount()) return nullptr;
  return Order()[static_cast<std::size_t>(std::floor(y / kRowHeight))];
}

void HeadlessListView::SortKey(int key) {
  if (key < 0) headless::ThrowInvalidValue(L"SortKey");
  sortKey_ = key;
  stale_ = true;
}

void HeadlessListView::SortOrder(int order) {
  if (order != 0 && order != 1) headless::ThrowInvalidValue(L"SortOrder");
  sortOrder_ = order;
  stale_ = true;
}

void HeadlessListView::Sorted(bool sorted) {
  sorted_ = sorted;
  stale_ = true;
}

std::pair<float, float> HeadlessListView::PointOf(const ListItem& item) const {
  const auto& order = Order();
  const auto slot = static_cast<int>(std::find(order.begin(), order.end(), &item) - order.begin());
  EXPECT_LT(slot, ItemCount()) << "the row does not belong to this list view";
  return {Width() / 2, (static_cast<float>(slot) + 0.5f) * kRowHeight};
}

void HeadlessListView::UserCheck(ListItem& item, bool checked) {
  item.Checked(checked);
  events.ItemCheck(item);
}

// ---- The tab strip, the toolbar and the container -------------------------------------------

void HeadlessTabStrip::AddTab(std::wstring caption) {
  captions_.push_back(std::move(caption));
  if (selected_ == 0) selected_ = 1;
}

const std::wstring& HeadlessTabStrip::TabCaption(int index) const {
  if (index < 1 || index > TabCount()) ThrowOutOfBounds(L"Tabs");
  return captions_[static_cast<std::size_t>(index - 1)];
}

void HeadlessTabStrip::SelectTab(int index) {
  if (index < 1 || index > TabCount()) ThrowOutOfBounds(L"Tabs");
  selected_ = index;
  if (events.Click) events.Click();
}

void HeadlessToolbar::AddButton(std::wstring key, std::wstring, std::wstring, bool twoState) {
  for (auto& button : buttons_)
    if (button.key == key) ThrowKeyNotUnique(L"Buttons.Add");
  buttons_.push_back(Button{std::move(key), twoState, 0});
}

HeadlessToolbar::Button& HeadlessToolbar::Find(std::wstring_view key) const {
  for (auto& button : buttons_)
    if (button.key == key) return button;
  ThrowNotFound(L"Buttons");
}

void HeadlessToolbar::UserClick(std::wstring_view key) {
  Button& button = Find(key);
  if (button.twoState) button.value = 1 - button.value;
  events.ButtonClick(ToolbarButton{button.key, button.value});
}

void HeadlessContainer::PopupMenu(const Menu& menu, int flags, float x, float y) {
  popupPlace = {x, y};
  PopupMenu(menu, flags);
}

void HeadlessContainer::PopupMenu(const Menu& menu, int flags) {
  popups.emplace_back(menu.Name, flags);
  // Taken before the command runs, so a menu the command pops up itself closes unchosen.
  const std::wstring chosen = std::exchange(choose, std::wstring());
  for (const MenuItem& item : menu.Items)
    if (!chosen.empty() && item.Name == chosen) return item.Click();
  EXPECT_EQ(L"", chosen) << "the menu has no such item";
}
