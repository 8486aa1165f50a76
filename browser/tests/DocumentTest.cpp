// The document as the user drives it: the recent and favourite lists as loaded, the tabs, the
// properties page, the filter and the columns (View's defaults, the customize page and sorting by a
// header); what the pop-up menus, the toolbar and the keys the document claims from its host do.

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

class Document : public BrowserTest {};

TEST_P(Document, RowsShowTheRegistrysNumbersAndTheFilesDetailsTheFilterAndThePropertiesPageRead) {
  const std::wstring p = Project(
      L"éclair.vbp", Vbp{.type = "Control", .name = "Grid", .title = "OCX", .description = "Desc",
                         .product = "Grids", .company = "Harbour", .copyright = "(c) Harbour",
                         .fileDescription = "The grid", .exeName = "Grid.ocx", .major = 3,
                         .minor = 1, .revision = 4});
  SetRecent({{L"3", p}, {L"abc", p}, {L"40000", p}, {L"1", Missing(L"gone.vbp")}, {L"01", p},
             {L" 2 ", Missing(L"b.vbp")}, {L"2.5", p}, {L"-7", p}});
  SetFavorites({{L"1", Project(L"f.vbp", Vbp{.name = "Fav"})}});
  Open();
  EXPECT_EQ((Strings{L"3", L"1", L"2", L"-7"}), ColumnTexts(lvwRecent))
      << "no numbers, out of range and repeated ones left out: 2.5 reads as 2, which \" 2 \" took";
  EXPECT_EQ((Strings{L"yes", L"not", L"not", L"yes"}), ColumnTexts(lvwRecent, -1));
  Strings cells;
  for (int i = 1; i <= 8; ++i) cells.push_back(lvwRecent.Item(1).SubItems(i));
  EXPECT_EQ(
      (Strings{L"OCX", p, L"Grid", L"ActiveX Control", L"3.1.4", L"Desc", L"Grids", L"Harbour"}),
      cells);
  EXPECT_EQ((std::vector<int>{11, 0}), App.pointers) << "hourglass while loading, then back";
  // The filter box's text, and the rows that then show, by number.
  for (const auto& [filter, shown] : std::vector<std::pair<std::wstring, Strings>>{
           {L"ÉCLAIR", {L"3", L"-7"}},  // letters without case, Latin-1's too
           {L"grids", {L"3", L"-7"}},   // a shown column that is not the first
           {L"OCX", {}},                // the titles' column is hidden
           {L"GONE.v", {L"1"}},         // a missing file's path
           {L"", {L"3", L"1", L"2", L"-7"}}}) {
    txtFilter.Text(filter);
    EXPECT_EQ(shown, ColumnTexts(lvwRecent)) << testing::PrintToString(filter);
  }

  Press(lvwRecent, L"3");
  TabStrip1.UserClickTab(3);
  EXPECT_EQ(L"Grid", fraProps.Caption());
  EXPECT_EQ((Strings{L"Grid", p, L"ActiveX Control", L"OCX", L"Grids", L"Desc", L"3.1.4",
                     L"Harbour", L"(c) Harbour", L"The grid", L"Grid.ocx"}),
            (Strings{txtName.Text(), txtPath.Text(), txtType.Text(), txtTitle.Text(),
                     txtProduct.Text(), txtDescription.Text(), txtVersion.Text(), txtCompany.Text(),
                     txtCopy.Text(), txtFileDesc.Text(), txtEXEName.Text()}))
      << "path and version come from the row although their columns are hidden";

  const std::size_t loads = App.pointers.size();
  TabStrip1.UserClickTab(2);
  Press(lvwFavor, L"1");
  TabStrip1.UserClickTab(3);
  EXPECT_EQ(L"Fav", txtName.Text()) << "the selection of the list that was showing";
  EXPECT_EQ(loads + 2, App.pointers.size()) << "a list's tab reads it again, the properties none";
}

TEST_P(Document, TheCustomizePageShowsAndHidesColumnsInBothListsUntilViewRestoresTheDefaults) {
  const ColumnList defaults = {{L"N", 600}, {L"Title", 0}, {L"Path", 2000}, {L"Name", 0},
                               {L"Product Name", 2000}, {L"Version", 0}, {L"Description", 0},
                               {L"Type", 0}, {L"Company Name", 0}};
  Open();
  Toolbar1.UserClick(L"Customize");
  for (int row : {5, 3, 1}) lvwCustomize.UserCheck(lvwCustomize.Item(row), row == 5);
  ColumnList expected = defaults;
  expected[2].second = 0;
  expected[7].second = 2000;
  EXPECT_EQ(expected, Shown(lvwFavor)) << "Type shows after Description; N always shows";
  host_->busy = true;
  doc_.View();
  EXPECT_TRUE(lvwCustomize.Visible()) << "a busy host: the page stays";
  EXPECT_EQ(expected, Shown(lvwRecent)) << "and the choices too";
  host_->busy = false;
  doc_.View();
  EXPECT_FALSE(lvwCustomize.Visible());
  EXPECT_EQ(defaults, Shown(lvwRecent)) << "View forgets every choice";
}

TEST_P(Document, AHeaderClickSortsByItsOwnColumnAndAgainReverses) {
  SetRecent({{L"1", Project(L"b.vbp", Vbp{.title = "beta"})},
             {L"2", Project(L"a.vbp", Vbp{.title = "Alpha"})},
             {L"10", Project(L"c.vbp", Vbp{.title = "gamma"})}});
  Open();
  // The column clicked (by creation), the sort key it gives and the rows then shown.
  for (const auto& [column, key, rows] : std::vector<std::tuple<int, int, Strings>>{
           {1, 0, {L"1", L"10", L"2"}},  // N, the key a new list has: the first click sorts up
           {8, 7, {L"1", L"2", L"10"}},  // Product Name, shown fifth: still sub-item 7, all empty
           {2, 1, {L"2", L"1", L"10"}},  // Title: Alpha, beta, gamma
           {2, 1, {L"10", L"1", L"2"}}}) {
    lvwRecent.UserClickColumn(column);
    EXPECT_EQ(key, lvwRecent.SortKey());
    EXPECT_EQ(rows, ColumnTexts(lvwRecent)) << column;
  }
  TabStrip1.UserClickTab(1);
  EXPECT_EQ((Strings{L"10", L"1", L"2"}), ColumnTexts(lvwRecent)) << "the sort outlives a reload";
}

TEST_P(Document, TheMenusAndTheToolbarTakeTheSelectedRowAndOpenOnlyAnExistingFile) {
  const std::wstring fav = Project(L"f.vbp"), recent = Project(L"new.vbp");
  SetFavorites({{L"1", fav}});
  SetRecent({{L"1", recent}, {L"2", Missing(L"gone.vbp")}});
  Open();
  Press(lvwRecent, L"2", 2, L"mnuPopRecent_Open");
  Press(lvwRecent, L"1", 2, L"mnuPopRecent_Open");
  TabStrip1.UserClickTab(2);
  Press(lvwFavor, L"1", 2, L"mnuPopFavor_Open");
  Press(lvwFavor, L"1", 2, L"mnuPopFavor_CopyPath");
  Press(lvwFavor, L"1", 2, L"mnuPopFavor_Reveal");
  Toolbar1.UserClick(L"Open");  // the recent list's row
  EXPECT_EQ((decltype(host_->opened){{recent, true}, {fav, true}, {recent, true}}), host_->opened);
  EXPECT_EQ(fav, clipboard_.held.text);
  EXPECT_EQ(L"show " + fav, shell_.calls.at(0).target);
  Toolbar1.UserClick(L"About");
  EXPECT_EQ(1, frmAbout.shows);

  const VbError refusal(-2147467259, L"VBProjects", L"Project file is not valid");
  host_->failNext = refusal;
  Toolbar1.UserClick(L"Open");
  host_->failNext = refusal;
  lvwFavor.UserDoubleClick();
  gVBE.reset();  // the add-in was disconnected meanwhile
  Press(lvwFavor, L"1", 2, L"mnuPopFavor_Open");
  ASSERT_EQ(2u, msgBox_.calls.size()) << "the toolbar reports nothing; the rest not thrown";
  const auto& [prompt, style, title] = msgBox_.calls[0];
  EXPECT_EQ((std::tuple{refusal.Description(), 16, L"Skeldra"}), std::tie(prompt, style, title));
}

TEST_P(Document, AddToFavoritesTakesTheLowestFreeNumberAboveTheShownOnesAndNeverRepeatsAPath) {
  const std::wstring a = Project(L"a.vbp"), p = Project(L"p.vbp"), gone = Missing(L"gone.vbp"),
                     caps = world_->PathOf(L"P.VBP");
  // Favourite 1's file is missing, so the count of records gives 2 as the first name to try; 4's
  // path is too long to read, so the registry itself must tell that its name is taken. Letter
  // case makes another path.
  SetFavorites({{L"1", gone}, {L"3", a}, {L"4", Missing(std::wstring(1100, L'x'))}});
  SetRecent({{L"1", p}, {L"2", p}, {L"3", a}, {L"4", Missing(L"x.vbp")}, {L"5", caps}});
  Open();
  for (const wchar_t* row : {L"1", L"2", L"3", L"4", L"5"})
    Press(lvwRecent, row, 2, L"mnuPopRecent_Add");
  EXPECT_EQ((RegValueTable{{L"1", gone}, {L"3", a}, {}, {L"2", p}, {L"5", caps}}),
            StoredFavorites());
}

// The keys the journey through the stand-in does not press, by the control with the focus.
TEST_P(Document, ItClaimsOnlyItsOwnKeysWhichActOnTheListThatShows) {
  constexpr int kCtrl = 2, kEscape = 0x1B, kDown = 0x28, kApps = 0x5D, kF5 = 0x74, kF10 = 0x79;
  SetRecent({{L"1", Project(L"a.vbp")}, {L"2", Project(L"b.vbp")}});
  Open();
  const auto key = [&](Control& focus, int code, int shift = 0) {
    focus.SetFocus();
    return doc_.UserDocument_KeyDown(code, shift);
  };
  for (const int code : {int{'A'}, kF10, kEscape, kDown})  // the list's own keys, or the host's
    EXPECT_FALSE(key(lvwRecent, code)) << code;
  EXPECT_FALSE(key(TabStrip1, kF5));
  EXPECT_TRUE(key(TabStrip1, 'F', kCtrl) && headless::focused == &txtFilter);
  EXPECT_TRUE(key(txtFilter, kDown) && headless::focused == &lvwRecent);
  EXPECT_EQ(&lvwRecent.Item(1), lvwRecent.SelectedItem()) << "its first row selected";
  EXPECT_TRUE(key(lvwRecent, kApps) && UserDocument.popups.size() == 1) << "the row's menu";
}

INSTANTIATE_TEST_SUITE_P(FileSystems, Document, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
