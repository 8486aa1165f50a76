// The lists' columns: View's defaults, the customize page and sorting by a header.

#include "browser/tests/BrowserFixture.h"

namespace {

using Strings = std::vector<std::wstring>;
using ColumnList = std::vector<std::pair<std::wstring, float>>;

const ColumnList kDefaults = {{L"N", 600},          {L"Title", 0},       {L"Path", 2000},
                              {L"Name", 0},         {L"Product Name", 2000}, {L"Version", 0},
                              {L"Description", 0},  {L"Type", 0},        {L"Company Name", 0}};

class Columns : public BrowserTest {
 protected:
  ListItem& Field(std::wstring_view name) {
    for (int i = 1; i <= w_.lvwCustomize.ItemCount(); ++i)
      if (w_.lvwCustomize.Item(i).Text() == name) return w_.lvwCustomize.Item(i);
    throw std::runtime_error("no such field");
  }
  void Check(std::wstring_view name, bool checked) { w_.lvwCustomize.UserCheck(Field(name), checked); }
};

TEST_P(Columns, BeforeTheFirstViewAllNineShowInCreationOrder) {
  const ColumnList design = {{L"N", 600},          {L"Title", 1200},      {L"Path", 3000},
                             {L"Name", 1440},      {L"Type", 1440},       {L"Version", 1440},
                             {L"Description", 1440}, {L"Product Name", 1440}, {L"Company Name", 1440}};
  EXPECT_EQ(design, BrowserTest::Columns(w_.lvwRecent));
  EXPECT_EQ(design, BrowserTest::Columns(w_.lvwFavor));
}

TEST_P(Columns, ViewGivesBothListsTheDefaultsAndFillsTheFieldList) {
  Open();
  EXPECT_EQ(kDefaults, BrowserTest::Columns(w_.lvwRecent));
  EXPECT_EQ(kDefaults, BrowserTest::Columns(w_.lvwFavor));
  EXPECT_EQ(1, w_.TabStrip1.TabIndex());
  EXPECT_EQ(1, w_.App.doEvents);

  ASSERT_EQ(9, w_.lvwCustomize.ItemCount());
  for (int i = 1; i <= 9; ++i) {
    ListItem& row = w_.lvwCustomize.Item(i);
    EXPECT_EQ(kDefaults[i - 1].first, row.Text());
    EXPECT_EQ(i, row.Tag());
    EXPECT_EQ(kDefaults[i - 1].second != 0, row.Checked()) << row.Text();
  }
  EXPECT_FALSE(w_.lvwCustomize.Visible());
}

TEST_P(Columns, TheCustomizePageShowsAndHidesColumnsInBothLists) {
  Open();
  w_.Toolbar1.UserClick(L"Customize");
  ASSERT_TRUE(w_.lvwCustomize.Visible());
  EXPECT_EQ((Strings{L"N", L"Title", L"Path", L"Name", L"Type", L"Version", L"Description",
                     L"Product Name", L"Company Name"}),
            ColumnTexts(w_.lvwCustomize))
      << "the page lists the columns in creation order";
  EXPECT_EQ(8, Field(L"Type").Tag());

  Check(L"Type", true);
  Check(L"Path", false);
  ColumnList expected = kDefaults;
  expected[2].second = 0;
  expected[7].second = 2000;
  EXPECT_EQ(expected, BrowserTest::Columns(w_.lvwRecent)) << "Type shows after Description";
  EXPECT_EQ(expected, BrowserTest::Columns(w_.lvwFavor));

  Check(L"N", false);
  EXPECT_EQ(600, w_.lvwRecent.Column(L"N").Width()) << "the number column always shows";

  // The next opening mirrors the widths; the next View forgets every choice.
  w_.Toolbar1.UserClick(L"Customize");
  w_.Toolbar1.UserClick(L"Customize");
  EXPECT_TRUE(Field(L"N").Checked());
  EXPECT_TRUE(Field(L"Type").Checked());
  EXPECT_FALSE(Field(L"Path").Checked());
  doc_.View();
  EXPECT_EQ(kDefaults, BrowserTest::Columns(w_.lvwRecent));
}

TEST_P(Columns, DraggedWidthsShowOnThePageAndAToggleRestoresTheFixedWidth) {
  Open();
  w_.lvwRecent.UserDragWidth(8, 3500);  // Product Name
  w_.lvwRecent.UserDragWidth(3, 0);     // Path
  w_.Toolbar1.UserClick(L"Customize");
  EXPECT_TRUE(Field(L"Product Name").Checked());
  EXPECT_FALSE(Field(L"Path").Checked());
  EXPECT_EQ(2000, w_.lvwFavor.Column(L"Path").Width()) << "dragging touched one list only";

  Check(L"Product Name", false);
  Check(L"Product Name", true);
  EXPECT_EQ(2000, w_.lvwRecent.Column(L"Product Name").Width());
}

TEST_P(Columns, CustomizeOverThePropertiesPageTakesTheFavouritesList) {
  Open();
  w_.TabStrip1.UserClickTab(3);
  w_.lvwFavor.UserDragWidth(2, 900);  // Title, in the favourites only
  w_.Toolbar1.UserClick(L"Customize");
  EXPECT_TRUE(Field(L"Title").Checked());
  EXPECT_EQ(w_.lvwFavor.Left(), w_.lvwCustomize.Left());
  EXPECT_EQ(w_.lvwFavor.Height(), w_.lvwCustomize.Height());
  EXPECT_GT(w_.lvwCustomize.ZLevel(), w_.fraProps.ZLevel());

  w_.Toolbar1.UserClick(L"Customize");
  EXPECT_FALSE(w_.lvwCustomize.Visible());
  EXPECT_EQ("properties", Page());
}

TEST_P(Columns, ViewDoesNothingWhileTheHostIsBusy) {
  SetRecent({{L"1", Project(L"p.vbp", Vbp{})}});
  Open();
  w_.TabStrip1.UserClickTab(3);
  w_.lvwRecent.UserDragWidth(2, 900);
  SetRecent({{L"2", Missing(L"new.vbp")}});
  host_->busy = true;
  const int loads = static_cast<int>(w_.App.pointers.size());

  doc_.View();
  EXPECT_EQ("properties", Page());
  EXPECT_EQ(900, w_.lvwRecent.Column(L"Title").Width());
  EXPECT_EQ(1, w_.lvwRecent.ItemCount());
  EXPECT_EQ(loads, static_cast<int>(w_.App.pointers.size())) << "no list was loaded";
  EXPECT_EQ(1, w_.App.doEvents);
}

TEST_P(Columns, AHeaderClickSortsByItsOwnColumnAndAgainReverses) {
  SetRecent({{L"1", Project(L"b.vbp", Vbp{.title = "beta"})},
             {L"2", Project(L"a.vbp", Vbp{.title = "Alpha"})},
             {L"10", Project(L"c.vbp", Vbp{.title = "gamma"})}});
  Open();
  HeadlessListView& list = w_.lvwRecent;
  EXPECT_FALSE(list.Sorted());

  list.UserClickColumn(1);  // N, the key a new list has: the first click sorts ascending too
  EXPECT_EQ(0, list.SortOrder());
  EXPECT_EQ((Strings{L"1", L"10", L"2"}), ColumnTexts(list));

  list.UserClickColumn(2);  // Title
  EXPECT_EQ(1, list.SortKey());
  EXPECT_EQ((Strings{L"2", L"1", L"10"}), ColumnTexts(list)) << "Alpha, beta, gamma";
  list.UserClickColumn(2);
  EXPECT_EQ((Strings{L"10", L"1", L"2"}), ColumnTexts(list));
  list.UserClickColumn(2);
  EXPECT_EQ(0, list.SortOrder());

  list.UserClickColumn(1);  // N: by its text
  EXPECT_EQ((Strings{L"1", L"10", L"2"}), ColumnTexts(list));
  EXPECT_EQ(0, list.SortOrder());

  list.UserClickColumn(8);  // Product Name, shown fifth: still sub-item 7
  EXPECT_EQ(7, list.SortKey());

  // The sort stays with the list across reloads.
  list.UserClickColumn(3);  // Path
  w_.TabStrip1.UserClickTab(1);
  EXPECT_TRUE(list.Sorted());
  EXPECT_EQ((Strings{L"2", L"1", L"10"}), ColumnTexts(list)) << "a.vbp, b.vbp, c.vbp";
  EXPECT_EQ(0, w_.lvwFavor.SortKey()) << "each list sorts by itself";
  w_.lvwFavor.UserClickColumn(6);
  EXPECT_EQ(5, w_.lvwFavor.SortKey());
  EXPECT_TRUE(w_.lvwFavor.Sorted());
}

INSTANTIATE_TEST_SUITE_P(FileSystems, Columns, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
