// The effects of the headless controls that the document's scenario tests rely on.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/ListSort.h"
#include "ui/tests/HeadlessControls.h"
#include "platform/Error.h"

namespace {

// The number of the VbError a call raises, or 0 when it raises none.
template <typename F>
int Raised(F&& call) {
  try {
    call();
  } catch (const VbError& e) {
    return e.Number();
  }
  return 0;
}

TEST(CompareListTextTest, OrdersAsTheListSorts) {
  struct Case {
    const wchar_t* a;
    const wchar_t* b;
    int sign;
  } cases[] = {
      {L"10", L"2", -1},   {L"abc", L"ABC", 0},  {L"Apple", L"banana", -1},
      {L"ab", L"abc", -1}, {L"", L"a", -1},      {L"_", L"a", -1},
      {L"\u00e9", L"\u00c9", 1},
  };
  for (const Case& c : cases) {
    const int forward = CompareListText(c.a, c.b), backward = CompareListText(c.b, c.a);
    EXPECT_EQ(c.sign, (forward > 0) - (forward < 0)) << c.a << " against " << c.b;
    EXPECT_EQ(-c.sign, (backward > 0) - (backward < 0)) << c.b << " against " << c.a;
  }
}

class HeadlessListViewTest : public testing::Test {
 protected:
  // The rows' texts in the list's current order.
  std::vector<std::wstring> Texts() {
    std::vector<std::wstring> texts;
    for (int i = 1; i <= list_.ItemCount(); ++i) texts.push_back(list_.Item(i).Text());
    return texts;
  }
  // The columns' creation indices in display order.
  std::vector<int> DisplayOrder() {
    std::vector<int> order(static_cast<std::size_t>(list_.ColumnCount()));
    for (int i = 1; i <= list_.ColumnCount(); ++i)
      order[static_cast<std::size_t>(list_.Column(i).Position() - 1)] = i;
    return order;
  }

  HeadlessListView list_;
};

TEST_F(HeadlessListViewTest, SettingPositionMovesTheColumnAndShiftsTheOthers) {
  for (const wchar_t* key : {L"Name", L"Path", L"Title", L"Version", L"Type", L"Description",
                             L"Company", L"Product Name", L"Copyright"})
    list_.AddColumn(key, key, 1000);
  list_.Column(L"Type").Position(8);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 6, 7, 8, 5, 9}), DisplayOrder());
  list_.Column(L"Product Name").Position(5);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 8, 6, 7, 5, 9}), DisplayOrder());
  EXPECT_EQ(5, list_.Column(5).Index()) << "the creation index stays";

  list_.Column(9).Position(0);
  list_.Column(1).Position(99);
  EXPECT_EQ((std::vector<int>{9, 2, 3, 4, 8, 6, 7, 5, 1}), DisplayOrder()) << "clamped";
}

TEST_F(HeadlessListViewTest, SortedOrdersAtOnceAndFollowsLaterChanges) {
  list_.AddItem(L"", L"b", L"");
  ListItem& upperA = list_.AddItem(L"", L"A", L"");
  list_.AddItem(L"", L"2", L"");
  list_.Sorted(true);
  EXPECT_EQ((std::vector<std::wstring>{L"2", L"A", L"b"}), Texts());
  list_.AddItem(L"", L"10", L"");
  EXPECT_EQ((std::vector<std::wstring>{L"10", L"2", L"A", L"b"}), Texts());
  upperA.Text(L"c");
  EXPECT_EQ((std::vector<std::wstring>{L"10", L"2", L"b", L"c"}), Texts());
  list_.Sorted(false);
  EXPECT_EQ((std::vector<std::wstring>{L"b", L"c", L"2", L"10"}), Texts()) << "insertion order";
}

TEST_F(HeadlessListViewTest, SortBySubItemKeepsTiesInInsertionOrderBothWays) {
  // Enough rows that an unstable sort would show.
  std::vector<std::wstring> dlls, exes;
  for (int i = 1; i <= 20; ++i) {
    const std::wstring name = L"row" + std::to_wstring(i);
    list_.AddItem(L"", name, L"").SubItems(2, i % 3 ? L"Exe" : L"dll");
    (i % 3 ? exes : dlls).push_back(name);
  }
  list_.Sorted(true);
  EXPECT_EQ(L"row1", list_.Item(1).Text()) << "by the rows' own texts first";
  list_.SortKey(2);
  std::vector<std::wstring> ascending = dlls, descending = exes;
  ascending.insert(ascending.end(), exes.begin(), exes.end());
  descending.insert(descending.end(), dlls.begin(), dlls.end());
  EXPECT_EQ(ascending, Texts());
  list_.SortOrder(1);
  EXPECT_EQ(descending, Texts());
  list_.Item(20).SubItems(2, L"Ocx");
  EXPECT_EQ(dlls.back(), list_.Item(1).Text()) << "a changed sub-item takes its place";
}

TEST_F(HeadlessListViewTest, ADuplicateKeyRaisesAndAddsNothing) {
  list_.AddItem(L"k1", L"first", L"");
  list_.AddItem(L"", L"no key", L"");
  list_.AddItem(L"", L"no key either", L"");
  EXPECT_EQ(35602, Raised([&] { list_.AddItem(L"k1", L"second", L""); }));
  EXPECT_EQ(3, list_.ItemCount());
  EXPECT_EQ(L"first", list_.Item(1).Text());
}

TEST_F(HeadlessListViewTest, ClearItemsTakesTheSelectionAndHighlightWithTheRows) {
  list_.SelectedItem(&list_.AddItem(L"a", L"a", L""));
  list_.DropHighlight(&list_.AddItem(L"b", L"b", L""));
  list_.ClearItems();
  EXPECT_EQ(0, list_.ItemCount());
  EXPECT_EQ(nullptr, list_.SelectedItem());
  EXPECT_EQ(nullptr, list_.DropHighlight());
  EXPECT_EQ(0, Raised([&] { list_.AddItem(L"a", L"a again", L""); })) << "its key is free";
}

TEST_F(HeadlessListViewTest, HitTestFindsTheRowShownAtThePoint) {
  list_.Move(0, 0, 3000, 2000);
  list_.AddItem(L"", L"b", L"");
  ListItem& a = list_.AddItem(L"", L"a", L"");
  list_.Sorted(true);
  auto [x, y] = list_.PointOf(a);
  EXPECT_EQ(&a, list_.HitTest(x, y));
  EXPECT_EQ(&a, list_.HitTest(0, 0)) << "first shown";
  EXPECT_EQ(&list_.Item(2), list_.HitTest(2999, 2 * HeadlessListView::kRowHeight - 1));
  EXPECT_EQ(nullptr, list_.HitTest(x, 2 * HeadlessListView::kRowHeight)) << "below the rows";
  EXPECT_EQ(nullptr, list_.HitTest(3000, y)) << "right of the list";
  EXPECT_EQ(nullptr, list_.HitTest(-1, y));
  EXPECT_EQ(nullptr, list_.HitTest(x, -1));
}

TEST_F(HeadlessListViewTest, OnlyTheUsersCheckRaisesItemCheck) {
  ListItem& row = list_.AddItem(L"", L"row", L"");
  std::vector<bool> seen;
  list_.events.ItemCheck = [&](ListItem& item) { seen.push_back(item.Checked()); };
  row.Checked(true);
  list_.UserCheck(row, false);
  EXPECT_EQ(std::vector<bool>{false}, seen);
}

TEST(HeadlessTabStripTest, SelectingFromCodeRaisesClickAfterTheSelection) {
  HeadlessTabStrip tabs;
  tabs.AddTab(L"Recent");
  tabs.AddTab(L"Favorites");
  EXPECT_EQ(1, tabs.SelectedIndex());
  std::vector<int> clicks;
  tabs.events.Click = [&] { clicks.push_back(tabs.SelectedIndex()); };
  tabs.SelectTab(2);
  tabs.SelectTab(2);
  EXPECT_EQ((std::vector<int>{2, 2}), clicks) << "again for the tab already selected";
  EXPECT_EQ(35600, Raised([&] { tabs.SelectTab(3); }));
  EXPECT_EQ(2u, clicks.size());
}

TEST(HeadlessToolbarTest, ATwoStateButtonTogglesBeforeButtonClick) {
  HeadlessToolbar bar;
  bar.AddButton(L"Pin", L"Keep", L"pin", true);
  bar.AddButton(L"Open", L"Open", L"open", false);
  std::vector<std::wstring> seen;
  bar.events.ButtonClick = [&](const ToolbarButton& b) {
    seen.push_back(b.Key + L"=" + std::to_wstring(b.Value) + L"/" +
                   std::to_wstring(bar.ButtonValue(b.Key)));
  };
  bar.UserClick(L"Pin");
  bar.UserClick(L"Pin");
  bar.UserClick(L"Open");
  EXPECT_EQ((std::vector<std::wstring>{L"Pin=1/1", L"Pin=0/0", L"Open=0/0"}), seen);
  EXPECT_EQ(35601, Raised([&] { bar.ButtonValue(L"pin"); }));
}

TEST(HeadlessContainerTest, PopupMenuRunsTheChosenCommandBeforeReturning) {
  HeadlessContainer container;
  std::vector<std::wstring> ran;
  Menu menu{L"mnuList", {{L"mnuOpen", L"&Open", [&] { ran.push_back(L"open"); }},
                         {L"mnuRemove", L"&Remove", [&] { ran.push_back(L"remove"); }}}};
  container.choose = L"mnuRemove";
  container.PopupMenu(menu, 2);
  EXPECT_EQ(std::vector<std::wstring>{L"remove"}, ran);
  container.PopupMenu(menu, 2);
  EXPECT_EQ(1u, ran.size()) << "closed without a choice";
  EXPECT_EQ(2u, container.popups.size());
  EXPECT_EQ((std::pair<std::wstring, int>{L"mnuList", 2}), container.popups[1]);
}

TEST(HeadlessControlTest, MoveRefusesNegativeSizesAndLeavesTheControlWhereItWas) {
  HeadlessTextBox box;
  box.Move(10, 20, 300, 400);
  EXPECT_EQ(380, Raised([&] { box.Move(1, 2, -3, 4); }));
  EXPECT_EQ(380, Raised([&] { box.Move(1, 2, 3, -4); }));
  box.FailMoves(true);
  EXPECT_EQ(380, Raised([&] { box.Move(1, 2, 3, 4); }));
  EXPECT_EQ(10, box.Left());
  EXPECT_EQ(20, box.Top());
  EXPECT_EQ(300, box.Width());
  EXPECT_EQ(400, box.Height());
  box.FailMoves(false);
  box.Move(0, 0, 0, 0);
  EXPECT_EQ(0, box.Width());
}

TEST(HeadlessControlTest, TheToolbarKeepsItsHeightUnlessGivenOne) {
  HeadlessToolbar bar;
  bar.Move(0, 0, 5000);
  EXPECT_EQ(HeadlessToolbar::kHeight, bar.Height());
  bar.Move(0, 0, 5000, 600);
  bar.Move(0, 0, 4000);
  EXPECT_EQ(600, bar.Height());
}

TEST(HeadlessControlTest, ZOrderZeroBringsTheControlInFront) {
  HeadlessListView recent, favor;
  HeadlessFrame props;
  favor.ZOrder(0);
  recent.ZOrder(0);
  EXPECT_GT(recent.ZLevel(), favor.ZLevel());
  props.ZOrder(1);
  EXPECT_LT(props.ZLevel(), favor.ZLevel());
}

}  // namespace
