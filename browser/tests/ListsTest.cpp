// Loading the recent and favourite lists, the tabs and the properties page, as the user sees them.

#include "browser/tests/BrowserFixture.h"

namespace {

class Lists : public BrowserTest {};

TEST_P(Lists, RowsShowNumbersInTheRegistrysOrderAndTheDetailsOfExistingFiles) {
  const std::wstring p = Project(L"p.vbp", Vbp{.name = "P"});
  world_->AddDirectory(L"folder.vbp");
  SetRecent({{L"3", p}, {L"abc", p}, {L"40000", p}, {L"1", Missing(L"gone.vbp")}, {L"01", p},
             {L" 2 ", Project(L"hidden.vbp", Vbp{.name = "H"}, FileWorld::kHidden)}, {L"2.5", p},
             {L"-7", world_->PathOf(L"folder.vbp")},
             {L"8", Project(L"p8.vbp", Vbp{.type = "OleDll", .name = "Proj8", .title = "Title 8",
                                           .description = "Does 8", .product = "Product 8",
                                           .company = "Company 8", .major = 2, .minor = 2,
                                           .revision = 30})}});
  Open();
  EXPECT_EQ((Strings{L"3", L"1", L"2", L"-7", L"8"}), ColumnTexts(w_.lvwRecent))
      << "no numbers, out of range and repeated ones left out: 2.5 reads as 2, which \" 2 \" took";
  EXPECT_EQ((Strings{L"P", L"", L"", L"", L"Proj8"}), ColumnTexts(w_.lvwRecent, 3))
      << "a missing file, a hidden one and a folder show no details";
  EXPECT_EQ((Strings{L"yes", L"not", L"not", L"not", L"yes"}), ColumnTexts(w_.lvwRecent, -1));
  ListItem& last = w_.lvwRecent.Item(5);
  EXPECT_EQ((Strings{L"k_8", L"Title 8", world_->PathOf(L"p8.vbp"), L"ActiveX DLL", L"2.2.30",
                     L"Does 8", L"Product 8", L"Company 8"}),
            (Strings{last.Key(), last.SubItems(1), last.SubItems(2), last.SubItems(4),
                     last.SubItems(5), last.SubItems(6), last.SubItems(7), last.SubItems(8)}));
  EXPECT_EQ((std::vector<int>{11, 0}), w_.App.pointers) << "hourglass while loading, then back";
}

TEST_P(Lists, EachChoiceOfAListTabReadsTheListAndItsFilesAgain) {
  SetRecent({{L"1", Project(L"p.vbp", Vbp{.title = "Before"})}});
  Open();
  Project(L"p.vbp", Vbp{.title = "After"});
  SetRecent({{L"2", Missing(L"new.vbp")}});
  w_.Toolbar1.UserClick(L"Customize");
  w_.TabStrip1.UserClickTab(2);
  EXPECT_EQ("favorites", Page());
  EXPECT_FALSE(w_.lvwCustomize.Visible()) << "a tab closes the customize page";
  EXPECT_EQ(0, w_.Toolbar1.ButtonValue(L"Customize"));
  ASSERT_TRUE(lists_.FavoriteProjects()) << "an absent key loads as an empty collection";
  EXPECT_EQ(0, w_.lvwFavor.ItemCount());

  w_.TabStrip1.UserClickTab(1);
  EXPECT_EQ((Strings{L"After", L""}), ColumnTexts(w_.lvwRecent, 1));
  const std::size_t loads = w_.App.pointers.size();
  w_.TabStrip1.UserClickTab(3);
  EXPECT_EQ(loads, w_.App.pointers.size()) << "the properties page reloads no list";
}

TEST_P(Lists, PropertiesShowTheSelectedExistingProjectOfTheListThatWasShowing) {
  SetRecent({{L"1", Project(L"r.vbp", Vbp{.type = "Control", .name = "Grid", .title = "Grid OCX",
                                          .description = "A grid", .product = "Grids",
                                          .company = "Harbour", .copyright = "(c) Harbour",
                                          .fileDescription = "The grid", .exeName = "Grid.ocx",
                                          .major = 3, .minor = 1, .revision = 4})},
             {L"2", Missing(L"gone.vbp")}});
  SetFavorites({{L"1", Project(L"f.vbp", Vbp{.name = "Fav"})}});
  Open();
  Press(w_.lvwRecent, L"1");
  w_.TabStrip1.UserClickTab(3);
  EXPECT_EQ(L"Grid", w_.fraProps.Caption());
  EXPECT_EQ((Strings{L"Grid", world_->PathOf(L"r.vbp"), L"ActiveX Control", L"Grid OCX", L"Grids",
                     L"A grid", L"3.1.4", L"Harbour", L"(c) Harbour", L"The grid", L"Grid.ocx"}),
            (Strings{w_.txtName.Text(), w_.txtPath.Text(), w_.txtType.Text(), w_.txtTitle.Text(),
                     w_.txtProduct.Text(), w_.txtDescription.Text(), w_.txtVersion.Text(),
                     w_.txtCompany.Text(), w_.txtCopy.Text(), w_.txtFileDesc.Text(),
                     w_.txtEXEName.Text()}))
      << "path and version come from the row although their columns are hidden";

  const struct {
    int tab;
    const wchar_t* press;
    std::wstring name;
  } steps[] = {
      {3, nullptr, L""},  // the properties page showing: the favourites' selection, none
      {2, L"1", L"Fav"},
      {1, L"2", L""},  // a missing file shows nothing, though its row has a path
  };
  for (const auto& step : steps) {
    w_.TabStrip1.UserClickTab(step.tab);
    if (step.press) Press(step.tab == 1 ? w_.lvwRecent : w_.lvwFavor, step.press);
    w_.TabStrip1.UserClickTab(3);
    EXPECT_EQ(step.name, w_.txtName.Text()) << step.tab;
  }
}

// The filter box's text, and the rows that then show, by number.
struct FilterCase {
  const wchar_t* filter;
  Strings shown;
} const kFilterCases[] = {
    {L"", {L"1", L"2", L"3"}},
    {L"ÉCLAIR", {L"1"}},    // letters without case, Latin-1's too
    {L"product b", {L"2"}},  // a shown column that is not the first
    {L"Named", {}},         // the names' column is hidden
    {L"GONE.v", {L"3"}},    // a missing file's path
};

TEST_P(Lists, TheFilterShowsTheRowsWithItsTextInAShownCellThroughSortsAndReloads) {
  SetRecent({{L"1", Project(L"éclair.vbp", Vbp{.name = "NamedA", .product = "Product A"})},
             {L"2", Project(L"b.vbp", Vbp{.name = "NamedB", .product = "Product B"})},
             {L"3", Missing(L"gone.vbp")}});
  Open();
  for (const FilterCase& c : kFilterCases) {
    w_.txtFilter.Text(c.filter);
    EXPECT_EQ(c.shown, ColumnTexts(w_.lvwRecent)) << testing::PrintToString(std::wstring(c.filter));
  }
  w_.txtFilter.Text(L"PRODUCT");
  w_.lvwRecent.UserClickColumn(1);  // the numbers, then again descending
  w_.lvwRecent.UserClickColumn(1);
  w_.TabStrip1.UserClickTab(2);
  w_.TabStrip1.UserClickTab(1);
  EXPECT_EQ((Strings{L"2", L"1"}), ColumnTexts(w_.lvwRecent)) << "through sorts and reloads";
  EXPECT_EQ(L"Filter", w_.txtFilter.CueBanner());
}

INSTANTIATE_TEST_SUITE_P(FileSystems, Lists, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
