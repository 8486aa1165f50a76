#include "ui/tests/HeadlessControls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "ui/ListSort.h"
#include "ui/ControlErrors.h"
#include "platform/Error.h"

namespace {

std::atomic<int> frontLevel{0};
std::atomic<int> backLevel{0};

}  // namespace

namespace headless {

void ThrowInvalidValue(const wchar_t* source) { ::ThrowInvalidValue(source); }

int NextFrontLevel() { return ++frontLevel; }
int NextBackLevel() { return --backLevel; }

}  // namespace headless

// ---------------------------------------------------------------------------------------------
// HeadlessListView

class HeadlessListView::Row final : public ListItem {
 public:
  Row(HeadlessListView& owner, std::wstring key, std::wstring text, std::wstring smallIcon)
      : owner_(owner), key_(std::move(key)), text_(std::move(text)),
        smallIcon_(std::move(smallIcon)) {}

  const std::wstring& Key() const override { return key_; }
  const std::wstring& Text() const override { return text_; }
  void Text(std::wstring text) override {
    text_ = std::move(text);
    owner_.OrderChanged();
  }
  const std::wstring& SubItems(int index) const override {
    static const std::wstring kNeverSet;
    if (index < 1) ThrowOutOfBounds(L"SubItems");
    auto slot = static_cast<std::size_t>(index - 1);
    return slot < subItems_.size() ? subItems_[slot] : kNeverSet;
  }
  void SubItems(int index, std::wstring text) override {
    if (index < 1) ThrowOutOfBounds(L"SubItems");
    auto slot = static_cast<std::size_t>(index - 1);
    if (slot >= subItems_.size()) subItems_.resize(slot + 1);
    subItems_[slot] = std::move(text);
    owner_.OrderChanged();
  }
  const std::wstring& SmallIcon() const override { return smallIcon_; }
  bool Checked() const override { return checked_; }
  void Checked(bool checked) override { checked_ = checked; }
  int Tag() const override { return tag_; }
  void Tag(int tag) override { tag_ = tag; }

  // The text the list sorts this row by: column 0 is the row's own text.
  const std::wstring& SortText(int column) const { return column == 0 ? text_ : SubItems(column); }

 private:
  HeadlessListView& owner_;
  std::wstring key_, text_, smallIcon_;
  std::vector<std::wstring> subItems_;  // sub-item i at i - 1
  bool checked_ = false;
  int tag_ = 0;
};

class HeadlessListView::Header final : public ColumnHeader {
 public:
  Header(HeadlessListView& owner, int index, std::wstring key, std::wstring text, float width)
      : owner_(owner), index_(index), key_(std::move(key)), text_(std::move(text)),
        width_(width) {}

  int Index() const override { return index_; }
  const std::wstring& Key() const override { return key_; }
  const std::wstring& Text() const override { return text_; }
  int Position() const override {
    auto& order = owner_.columnOrder_;
    return static_cast<int>(std::find(order.begin(), order.end(), this) - order.begin()) + 1;
  }
  void Position(int position) override {
    auto& order = owner_.columnOrder_;
    order.erase(std::find(order.begin(), order.end(), this));
    const int place = std::clamp(position, 1, static_cast<int>(order.size()) + 1);
    order.insert(order.begin() + (place - 1), this);
  }
  float Width() const override { return width_; }
  void Width(float width) override {
    if (width < 0) headless::ThrowInvalidValue(L"Width");
    width_ = width;
  }

 private:
  HeadlessListView& owner_;
  int index_;
  std::wstring key_, text_;
  float width_;
};

HeadlessListView::HeadlessListView() = default;
HeadlessListView::~HeadlessListView() = default;

ColumnHeader& HeadlessListView::AddColumn(std::wstring key, std::wstring text, float width) {
  if (width < 0) headless::ThrowInvalidValue(L"ColumnHeaders.Add");
  if (!key.empty()) {
    for (auto& column : columns_)
      if (column->Key() == key) ThrowKeyNotUnique(L"ColumnHeaders.Add");
  }
  const int index = static_cast<int>(columns_.size()) + 1;
  columns_.push_back(std::make_unique<Header>(*this, index, std::move(key), std::move(text), width));
  columnOrder_.push_back(columns_.back().get());
  return *columns_.back();
}

int HeadlessListView::ColumnCount() const { return static_cast<int>(columns_.size()); }

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
  selected_ = nullptr;
  dropHighlight_ = nullptr;
  order_.clear();
  rows_.clear();
  keys_.clear();
  orderStale_ = false;
}

ListItem& HeadlessListView::AddItem(std::wstring key, std::wstring text, std::wstring smallIcon) {
  if (!key.empty() && !keys_.insert(key).second) ThrowKeyNotUnique(L"ListItems.Add");
  rows_.push_back(std::make_unique<Row>(*this, std::move(key), std::move(text),
                                        std::move(smallIcon)));
  OrderChanged();
  return *rows_.back();
}

int HeadlessListView::ItemCount() const { return static_cast<int>(rows_.size()); }

ListItem& HeadlessListView::Item(int index) {
  if (index < 1 || index > ItemCount()) ThrowOutOfBounds(L"ListItems");
  return *Order()[static_cast<std::size_t>(index - 1)];
}

const std::vector<HeadlessListView::Row*>& HeadlessListView::Order() const {
  if (!orderStale_) return order_;
  order_.clear();
  for (auto& row : rows_) order_.push_back(row.get());
  if (sorted_) {
    // A stable sort keeps equal rows in insertion order in both directions.
    const int column = sortKey_;
    const bool descending = sortOrder_ == 1;
    std::stable_sort(order_.begin(), order_.end(), [column, descending](Row* a, Row* b) {
      const int c = CompareListText(a->SortText(column), b->SortText(column));
      return descending ? c > 0 : c < 0;
    });
  }
  orderStale_ = false;
  return order_;
}

HeadlessListView::Row* HeadlessListView::Own(const ListItem* item) const {
  if (!item) return nullptr;
  for (auto& row : rows_)
    if (row.get() == item) return row.get();
  ADD_FAILURE() << "the row does not belong to this list view";
  return nullptr;
}

ListItem* HeadlessListView::SelectedItem() { return selected_; }

void HeadlessListView::SelectedItem(ListItem* item) { selected_ = Own(item); }

ListItem* HeadlessListView::DropHighlight() { return dropHighlight_; }

void HeadlessListView::DropHighlight(ListItem* item) { dropHighlight_ = Own(item); }

ListItem* HeadlessListView::HitTest(float x, float y) {
  if (x < 0 || x >= Width() || y < 0) return nullptr;
  const double slot = std::floor(static_cast<double>(y) / kRowHeight);
  if (slot >= ItemCount()) return nullptr;
  return Order()[static_cast<std::size_t>(slot)];
}

void HeadlessListView::SortKey(int key) {
  if (key < 0) headless::ThrowInvalidValue(L"SortKey");
  sortKey_ = key;
  OrderChanged();
}

void HeadlessListView::SortOrder(int order) {
  if (order != 0 && order != 1) headless::ThrowInvalidValue(L"SortOrder");
  sortOrder_ = order;
  OrderChanged();
}

void HeadlessListView::Sorted(bool sorted) {
  sorted_ = sorted;
  OrderChanged();
}

std::pair<float, float> HeadlessListView::PointOf(const ListItem& item) const {
  const auto& order = Order();
  auto it = std::find(order.begin(), order.end(), &item);
  if (it == order.end()) {
    ADD_FAILURE() << "the row does not belong to this list view";
    return {-1.f, -1.f};
  }
  const auto slot = static_cast<float>(it - order.begin());
  return {Width() / 2, (slot + 0.5f) * kRowHeight};
}

void HeadlessListView::UserClickColumn(int creationIndex) {
  ColumnHeader& header = Column(creationIndex);
  if (events.ColumnClick) events.ColumnClick(header);
}

void HeadlessListView::UserDoubleClick() {
  if (events.DblClick) events.DblClick();
}

void HeadlessListView::UserMouseDown(int button, int shift, float x, float y) {
  if (events.MouseDown) events.MouseDown(button, shift, x, y);
}

void HeadlessListView::UserCheck(ListItem& item, bool checked) {
  Row* row = Own(&item);
  if (!row) return;
  row->Checked(checked);
  if (events.ItemCheck) events.ItemCheck(*row);
}

// ---------------------------------------------------------------------------------------------
// HeadlessTabStrip

void HeadlessTabStrip::AddTab(std::wstring caption) {
  captions_.push_back(std::move(caption));
  if (selected_ == 0) selected_ = 1;
}

int HeadlessTabStrip::TabCount() const { return static_cast<int>(captions_.size()); }

const std::wstring& HeadlessTabStrip::TabCaption(int index) const {
  if (index < 1 || index > TabCount()) ThrowOutOfBounds(L"Tabs");
  return captions_[static_cast<std::size_t>(index - 1)];
}

void HeadlessTabStrip::SelectTab(int index) {
  if (index < 1 || index > TabCount()) ThrowOutOfBounds(L"Tabs");
  selected_ = index;
  if (events.Click) events.Click();
}

float HeadlessTabStrip::ClientLeft() const { return Left() + kClientLeftMargin; }
float HeadlessTabStrip::ClientTop() const { return Top() + kClientTopMargin; }
float HeadlessTabStrip::ClientWidth() const {
  return std::max(0.f, Width() - kClientWidthMargin);
}
float HeadlessTabStrip::ClientHeight() const {
  return std::max(0.f, Height() - kClientHeightMargin);
}

// ---------------------------------------------------------------------------------------------
// HeadlessToolbar

HeadlessToolbar::HeadlessToolbar() { HeadlessControl::Move(0, 0, 0, kHeight); }

void HeadlessToolbar::AddButton(std::wstring key, std::wstring toolTip, std::wstring imageKey,
                                bool twoState) {
  if (!key.empty()) {
    for (auto& button : buttons_)
      if (button.key == key) ThrowKeyNotUnique(L"Buttons.Add");
  }
  buttons_.push_back(Button{std::move(key), std::move(toolTip), std::move(imageKey), twoState, 0});
}

HeadlessToolbar::Button& HeadlessToolbar::Find(std::wstring_view key) {
  return const_cast<Button&>(std::as_const(*this).Find(key));
}

const HeadlessToolbar::Button& HeadlessToolbar::Find(std::wstring_view key) const {
  for (auto& button : buttons_)
    if (button.key == key) return button;
  ThrowNotFound(L"Buttons");
}

int HeadlessToolbar::ButtonValue(std::wstring_view key) const { return Find(key).value; }

void HeadlessToolbar::ButtonValue(std::wstring_view key, int value) { Find(key).value = value; }

void HeadlessToolbar::Move(float left, float top, float width) {
  Move(left, top, width, Height());
}

void HeadlessToolbar::UserClick(std::wstring_view key) {
  Button& button = Find(key);
  if (button.twoState) button.value = button.value == 0 ? 1 : 0;
  if (events.ButtonClick) events.ButtonClick(ToolbarButton{button.key, button.value});
}

// ---------------------------------------------------------------------------------------------
// The dialog, the container, the application and the message box

void HeadlessCommonDialog::ShowOpen() {
  ++shows;
  fileName_ = nextFileName;
}

void HeadlessContainer::Size(float width, float height) {
  scaleWidth_ = width;
  scaleHeight_ = height;
}

void HeadlessContainer::PopupMenu(const Menu& menu, int flags) {
  popups.emplace_back(menu.Name, flags);
  // Taken before the command runs, so a menu the command pops up itself closes unchosen.
  const std::wstring chosen = std::exchange(choose, std::wstring());
  if (chosen.empty()) return;
  for (const MenuItem& item : menu.Items) {
    if (item.Name != chosen) continue;
    if (item.Click) item.Click();
    return;
  }
  ADD_FAILURE() << "menu has no item to choose";
}

void HeadlessApplication::MousePointer(int pointer) {
  pointer_ = pointer;
  pointers.push_back(pointer);
}
