// The lists' columns: View's defaults, the customize page and sorting by a header.

#include "browser/tests/BrowserFixture.h"

namespace {

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

TEST_P(Columns, ViewGivesBothListsTheDefaultsWhichTheCustomizePageChangesAndABusyHostKeeps) {
  Open();
  EXPECT_FALSE(w_.lvwCustomize.Visible());
  w_.TabStrip1.UserClickTab(3);
  w_.Toolbar1.UserClick(L"Customize");
  HeadlessListView& fields = w_.lvwCustomize;
  ASSERT_TRUE(fields.Visible());
  EXPECT_GT(fields.zLevel, w_.fraProps.zLevel) << "the fields show over the properties";
  EXPECT_EQ((Strings{L"N", L"Title", L"Path", L"Name", L"Type", L"Version", L"Description",
                     L"Product Name", L"Company Name"}),
            ColumnTexts(fields))
      << "the page lists the columns in creation order";
  EXPECT_EQ(8, fields.Item(5).Tag()) << "Type's place";
  std::vector<bool> checked;
  for (int i = 1; i <= fields.ItemCount(); ++i) checked.push_back(fields.Item(i).Checked());
  EXPECT_EQ((std::vector<bool>{true, false, true, false, false, false, false, true, false}),
            checked);

  for (int row : {5, 3, 1}) fields.UserCheck(fields.Item(row), row == 5);
  ColumnList expected = kDefaults;
  expected[2].second = 0;
  expected[7].second = 2000;
  EXPECT_EQ(expected, Shown(w_.lvwFavor)) << "Type shows after Description; N always shows";
  host_->busy = true;
  doc_.View();
  EXPECT_TRUE(fields.Visible()) << "a busy host: the page stays";
  EXPECT_EQ(expected, Shown(w_.lvwRecent)) << "and the choices too";
  host_->busy = false;
  doc_.View();
  EXPECT_EQ(kDefaults, Shown(w_.lvwRecent)) << "View forgets every choice";
}

TEST_P(Columns, AHeaderClickSortsByItsOwnColumnAndAgainReverses) {
  SetRecent({{L"1", Project(L"b.vbp", Vbp{.title = "beta"})},
             {L"2", Project(L"a.vbp", Vbp{.title = "Alpha"})},
             {L"10", Project(L"c.vbp", Vbp{.title = "gamma"})}});
  Open();
  HeadlessListView& list = w_.lvwRecent;
  const struct {
    int column, key;
    Strings rows;
  } clicks[] = {
      {1, 0, {L"1", L"10", L"2"}},  // N, the key a new list has: the first click sorts up
      {2, 1, {L"2", L"1", L"10"}},  // Title: Alpha, beta, gamma
      {2, 1, {L"10", L"1", L"2"}},
      {2, 1, {L"2", L"1", L"10"}},
      {8, 7, {L"1", L"2", L"10"}},  // Product Name, shown fifth: still sub-item 7, all empty
      {3, 2, {L"2", L"1", L"10"}},  // Path: a.vbp, b.vbp, c.vbp
  };
  for (const auto& click : clicks) {
    list.UserClickColumn(click.column);
    EXPECT_EQ(click.key, list.SortKey());
    EXPECT_EQ(click.rows, ColumnTexts(list)) << click.column;
  }
  w_.TabStrip1.UserClickTab(1);
  EXPECT_EQ((Strings{L"2", L"1", L"10"}), ColumnTexts(list)) << "the sort stays across reloads";
  EXPECT_EQ(0, w_.lvwFavor.SortKey()) << "each list sorts by itself";
}

INSTANTIATE_TEST_SUITE_P(FileSystems, Columns, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
