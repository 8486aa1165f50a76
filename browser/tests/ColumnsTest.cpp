// The lists' columns: View's defaults, the customize page and sorting by a header.

#include "browser/tests/BrowserFixture.h"

namespace {

using Strings = std::vector<std::wstring>;
using ColumnList = std::vector<std::pair<std::wstring, float>>;

// The header keys in display order, with their widths.
ColumnList Shown(ListView& list) {
  ColumnList columns(list.ColumnCount());
  for (int i = 1; i <= list.ColumnCount(); ++i)
    columns.at(list.Column(i).Position() - 1) = {list.Column(i).Key(), list.Column(i).Width()};
  return columns;
}

const ColumnList kDefaults = {{L"N", 600},          {L"Title", 0},       {L"Path", 2000},
                              {L"Name", 0},         {L"Product Name", 2000}, {L"Version", 0},
                              {L"Description", 0},  {L"Type", 0},        {L"Company Name", 0}};

class Columns : public BrowserTest {};

TEST_P(Columns, ViewGivesBothListsTheDefaultsAndTheCustomizePageChangesBoth) {
  Open();
  EXPECT_EQ(kDefaults, Shown(w_.lvwFavor));
  EXPECT_FALSE(w_.lvwCustomize.Visible());

  w_.TabStrip1.UserClickTab(3);
  w_.Toolbar1.UserClick(L"Customize");
  ASSERT_TRUE(w_.lvwCustomize.Visible());
  EXPECT_GT(w_.lvwCustomize.zLevel, w_.fraProps.zLevel) << "the fields show over the properties";
  EXPECT_EQ((Strings{L"N", L"Title", L"Path", L"Name", L"Type", L"Version", L"Description",
                     L"Product Name", L"Company Name"}),
            ColumnTexts(w_.lvwCustomize))
      << "the page lists the columns in creation order";
  ListItem& type = w_.lvwCustomize.Item(5);
  EXPECT_EQ(8, type.Tag()) << "its place";
  EXPECT_EQ((std::vector<bool>{true, false, true}),
            (std::vector<bool>{w_.lvwCustomize.Item(1).Checked(), w_.lvwCustomize.Item(2).Checked(),
                               w_.lvwCustomize.Item(3).Checked()}));
  for (int row : {5, 3, 1}) w_.lvwCustomize.UserCheck(w_.lvwCustomize.Item(row), row == 5);
  ColumnList expected = kDefaults;
  expected[2].second = 0;
  expected[7].second = 2000;
  EXPECT_EQ(expected, Shown(w_.lvwRecent)) << "Type shows after Description";
  EXPECT_EQ(expected, Shown(w_.lvwFavor)) << "the number column always shows";

  doc_.View();
  EXPECT_EQ(kDefaults, Shown(w_.lvwRecent)) << "View forgets every choice";
}

TEST_P(Columns, ViewDoesNothingWhileTheHostIsBusy) {
  Open();
  w_.Toolbar1.UserClick(L"Customize");
  w_.lvwCustomize.UserCheck(w_.lvwCustomize.Item(5), true);
  host_->busy = true;
  doc_.View();
  EXPECT_TRUE(w_.lvwCustomize.Visible()) << "the page stays";
  EXPECT_EQ(2000, w_.lvwRecent.Column(L"Type").Width()) << "the choice stays";
}

TEST_P(Columns, AHeaderClickSortsByItsOwnColumnAndAgainReverses) {
  SetRecent({{L"1", Project(L"b.vbp", Vbp{.title = "beta"})},
             {L"2", Project(L"a.vbp", Vbp{.title = "Alpha"})},
             {L"10", Project(L"c.vbp", Vbp{.title = "gamma"})}});
  Open();
  HeadlessListView& list = w_.lvwRecent;
  EXPECT_FALSE(list.Sorted());
  const struct {
    int column, key, order;
    Strings rows;
  } clicks[] = {
      {1, 0, 0, {L"1", L"10", L"2"}},  // N, the key a new list has: the first click sorts up
      {2, 1, 0, {L"2", L"1", L"10"}},  // Title: Alpha, beta, gamma
      {2, 1, 1, {L"10", L"1", L"2"}},
      {2, 1, 0, {L"2", L"1", L"10"}},
      {8, 7, 0, {L"1", L"2", L"10"}},  // Product Name, shown fifth: still sub-item 7, all empty
      {3, 2, 0, {L"2", L"1", L"10"}},  // Path: a.vbp, b.vbp, c.vbp
  };
  for (const auto& click : clicks) {
    list.UserClickColumn(click.column);
    EXPECT_EQ((std::vector<int>{click.key, click.order}), (std::vector<int>{list.SortKey(), list.SortOrder()}));
    EXPECT_EQ(click.rows, ColumnTexts(list)) << click.column;
  }
  w_.TabStrip1.UserClickTab(1);
  EXPECT_EQ((Strings{L"2", L"1", L"10"}), ColumnTexts(list)) << "the sort stays across reloads";
  EXPECT_EQ(0, w_.lvwFavor.SortKey()) << "each list sorts by itself";
}

INSTANTIATE_TEST_SUITE_P(FileSystems, Columns, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
