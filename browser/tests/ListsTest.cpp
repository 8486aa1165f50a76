// Loading the recent and favourite lists, the tabs and the properties page, as the user sees them.

#include "browser/ProjectListView.h"
#include "browser/tests/BrowserFixture.h"
#include "catalogue/tests/BlockingFileSystem.h"
#include "platform/tests/MemoryFileSystem.h"

namespace {

using Strings = std::vector<std::wstring>;

class Lists : public BrowserTest {};

TEST_P(Lists, TheRecentListShowsEveryEntryWithItsDetails) {
  for (int i = 1; i <= 4; ++i) {
    const std::string n = std::to_string(i);
    const std::wstring w = std::to_wstring(i);
    SetRecent({{w, Project(L"p" + w + L".vbp",
                           Vbp{.type = i == 2 ? "OleDll" : "Exe", .name = "Proj" + n,
                               .title = "Title " + n, .description = "Does " + n,
                               .product = "Product " + n, .company = "Company " + n,
                               .major = i, .minor = 2, .revision = 30})}});
  }
  Open();

  ListView& list = w_.lvwRecent;
  ASSERT_EQ(4, list.ItemCount());
  EXPECT_EQ((Strings{L"1", L"2", L"3", L"4"}), ColumnTexts(list));
  ListItem& second = list.Item(2);
  EXPECT_EQ(L"k_2", second.Key());
  EXPECT_EQ(L"yes", second.SmallIcon());
  EXPECT_EQ((Strings{L"Title 2", world_->PathOf(L"p2.vbp"), L"Proj2", L"ActiveX DLL", L"2.2.30",
                     L"Does 2", L"Product 2", L"Company 2"}),
            (Strings{second.SubItems(1), second.SubItems(2), second.SubItems(3), second.SubItems(4),
                     second.SubItems(5), second.SubItems(6), second.SubItems(7), second.SubItems(8)}));
  ASSERT_TRUE(lists_.RecentProjects());
  EXPECT_EQ(4u, lists_.RecentProjects()->Count());
  EXPECT_EQ(L"Proj3", lists_.RecentProjects()->Item(L"3")->Name());
  EXPECT_FALSE(lists_.FavoriteProjects()) << "the favourites were never loaded";
  EXPECT_EQ((std::vector<int>{11, 0}), w_.App.pointers) << "hourglass while loading, then back";
}

TEST_P(Lists, AMissingOrHiddenFileShowsItsNumberAndPathOnly) {
  SetRecent({{L"1", Missing(L"gone.vbp")},
             {L"2", Project(L"hidden.vbp", Vbp{.name = "Hidden"}, FileWorld::kHidden)},
             {L"3", Project(L"plain.vbp", Vbp{.name = "Plain", .major = 0})}});
  world_->AddDirectory(L"folder.vbp");
  SetRecent({{L"4", world_->PathOf(L"folder.vbp")}});
  Open();

  for (const wchar_t* n : {L"1", L"2", L"4"}) {
    ListItem& row = Row(w_.lvwRecent, n);
    EXPECT_EQ(L"not", row.SmallIcon()) << n;
    EXPECT_FALSE(row.SubItems(2).empty());
    for (int k : {1, 3, 4, 5, 6, 7, 8}) EXPECT_EQ(L"", row.SubItems(k)) << n << " column " << k;
    EXPECT_FALSE(lists_.RecentProjects()->Item(n)) << n;
  }
  EXPECT_EQ(L"0.0.0", Row(w_.lvwRecent, L"3").SubItems(5));
  EXPECT_EQ(1u, lists_.RecentProjects()->Count());
}

TEST_P(Lists, RowsComeInTheRegistrysOrderAndAPathMayRepeat) {
  const std::wstring p = Project(L"p.vbp", Vbp{.name = "P"});
  SetRecent({{L"3", p}, {L"1", p}, {L"2", Missing(L"x.vbp")}});
  Open();
  EXPECT_EQ((Strings{L"3", L"1", L"2"}), ColumnTexts(w_.lvwRecent));
  EXPECT_EQ((Strings{L"P", L"P", L""}), ColumnTexts(w_.lvwRecent, 3));
}

TEST_P(Lists, NamesThatAreNoNumberOrRepeatOneAreLeftOut) {
  const std::wstring p = Project(L"p.vbp", Vbp{.name = "P"});
  SetRecent({{L"abc", p}, {L"40000", p}, {L"1", p}, {L"01", Missing(L"dup.vbp")}, {L" 2 ", p},
             {L"2.5", p}, {L"-7", p}});
  Open();
  EXPECT_EQ((Strings{L"1", L"2", L"-7"}), ColumnTexts(w_.lvwRecent))
      << "2.5 reads as 2, which \" 2 \" took already";
  EXPECT_EQ(L"yes", Row(w_.lvwRecent, L"1").SmallIcon()) << "the first of a repeated number wins";
  EXPECT_EQ(0, w_.App.MousePointer());
}

TEST_P(Lists, EachChoiceOfATabReadsTheListAndItsFilesAgain) {
  const std::wstring p = Project(L"p.vbp", Vbp{.title = "Before"});
  SetRecent({{L"1", p}});
  Open();
  EXPECT_EQ((Strings{L"Before"}), ColumnTexts(w_.lvwRecent, 1));

  Project(L"p.vbp", Vbp{.title = "After"});
  SetRecent({{L"2", Missing(L"new.vbp")}});
  w_.TabStrip1.UserClickTab(2);
  EXPECT_EQ("favorites", Page());
  EXPECT_EQ(0, w_.lvwFavor.ItemCount());
  ASSERT_TRUE(lists_.FavoriteProjects()) << "an absent key loads as an empty collection";
  EXPECT_EQ(0u, lists_.FavoriteProjects()->Count());

  w_.TabStrip1.UserClickTab(1);
  EXPECT_EQ("recent", Page());
  EXPECT_EQ((Strings{L"After", L""}), ColumnTexts(w_.lvwRecent, 1));

  const std::size_t loads = w_.App.pointers.size();
  Project(L"p.vbp", Vbp{.title = "Third"});
  w_.TabStrip1.UserClickTab(3);
  EXPECT_EQ(loads, w_.App.pointers.size()) << "the properties page reloads no list";
  EXPECT_EQ((Strings{L"After", L""}), ColumnTexts(w_.lvwRecent, 1));
}

TEST_P(Lists, PropertiesShowTheSelectedProjectOfTheListThatWasShowing) {
  SetRecent({{L"1", Project(L"r.vbp", Vbp{.type = "Control", .name = "Grid", .title = "Grid OCX",
                                          .description = "A grid", .product = "Grids",
                                          .company = "Harbour", .copyright = "(c) Harbour",
                                          .fileDescription = "The grid", .exeName = "Grid.ocx",
                                          .major = 3, .minor = 1, .revision = 4})}});
  SetFavorites({{L"1", Project(L"f.vbp", Vbp{.name = "Fav"})}});
  Open();
  Press(w_.lvwRecent, L"1");
  w_.TabStrip1.UserClickTab(3);

  EXPECT_EQ("properties", Page());
  EXPECT_EQ(L"Grid", w_.fraProps.Caption());
  EXPECT_EQ((Strings{L"Grid", world_->PathOf(L"r.vbp"), L"ActiveX Control", L"Grid OCX", L"Grids",
                     L"A grid", L"3.1.4", L"Harbour", L"(c) Harbour", L"The grid", L"Grid.ocx"}),
            (Strings{w_.txtName.Text(), w_.txtPath.Text(), w_.txtType.Text(), w_.txtTitle.Text(),
                     w_.txtProduct.Text(), w_.txtDescription.Text(), w_.txtVersion.Text(),
                     w_.txtCompany.Text(), w_.txtCopy.Text(), w_.txtFileDesc.Text(),
                     w_.txtEXEName.Text()}))
      << "path and version come from the row although their columns are hidden";

  // With the properties page itself showing, the favourites' selection is the one taken.
  w_.TabStrip1.UserClickTab(3);
  EXPECT_EQ(L"", w_.fraProps.Caption());
  EXPECT_EQ(L"", w_.txtPath.Text());

  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"1");
  w_.TabStrip1.UserClickTab(3);
  EXPECT_EQ(L"Fav", w_.txtName.Text());
}

TEST_P(Lists, PropertiesOfNoRowOrOfAMissingFileAreEmpty) {
  SetRecent({{L"1", Missing(L"gone.vbp")}, {L"2", Project(L"p.vbp", Vbp{.name = "P"})}});
  Open();
  Press(w_.lvwRecent, L"2");
  w_.TabStrip1.UserClickTab(3);
  EXPECT_EQ(L"P", w_.txtName.Text());

  w_.TabStrip1.UserClickTab(1);
  Press(w_.lvwRecent, L"1");
  w_.TabStrip1.UserClickTab(3);
  EXPECT_EQ("properties", Page());
  EXPECT_EQ(L"", w_.fraProps.Caption());
  EXPECT_EQ(L"", w_.txtName.Text());
  EXPECT_EQ(L"", w_.txtPath.Text()) << "even though the row shows a path";

  w_.TabStrip1.UserClickTab(1);  // reloading leaves nothing selected
  w_.TabStrip1.UserClickTab(3);
  EXPECT_EQ(L"", w_.txtVersion.Text());
}

TEST_P(Lists, ChangingTheTabClosesTheCustomizePage) {
  Open();
  w_.Toolbar1.UserClick(L"Customize");
  ASSERT_TRUE(w_.lvwCustomize.Visible());
  for (int tab : {2, 3, 1}) {
    w_.Toolbar1.ButtonValue(L"Customize", 1);
    w_.lvwCustomize.Visible(true);
    w_.TabStrip1.UserClickTab(tab);
    EXPECT_FALSE(w_.lvwCustomize.Visible()) << tab;
    EXPECT_EQ(0, w_.Toolbar1.ButtonValue(L"Customize")) << tab;
    EXPECT_NE("", Page()) << "exactly one page shows";
  }
  EXPECT_GT(w_.lvwRecent.ZLevel(), w_.fraProps.ZLevel());
}

INSTANTIATE_TEST_SUITE_P(FileSystems, Lists, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

// Failures of the platform that only the in-memory files can be made to give: they are in
// memory, with shares that may hang.
class ListLoading : public testing::Test {
 protected:
  ListLoading() { list.AddColumn(L"N", L"N", 600); }

  MemoryRegistry registry;
  Windows1252CodePage ansi;
  mReg reg{registry, ansi};
  BlockingFileSystem blocking;
  MemoryFileSystem& files = blocking.Files();
  HeadlessApplication app;
  HeadlessListView list;
  ProjectLists lists{reg, blocking, ansi};
};

TEST_F(ListLoading, AnExistenceTestThatFailsCountsAsAMissingFile) {
  files.AddFile(L"Q:\\p.vbp", "Name=P");
  files.FailListing(L"Q:\\p.vbp");
  files.AddFile(L"C:\\locked.vbp", "Name=L");
  files.FailReading(L"C:\\locked.vbp");
  reg.RegSetKeyValue(kHkeyCurrentUser, kRecentFilesKey, L"1", L"Q:\\p.vbp");
  reg.RegSetKeyValue(kHkeyCurrentUser, kRecentFilesKey, L"2", L"C:\\locked.vbp");

  LoadProjectList(lists, app, list, false);
  ASSERT_EQ(2, list.ItemCount());
  EXPECT_EQ(L"not", list.Item(1).SmallIcon());
  EXPECT_EQ(L"yes", list.Item(2).SmallIcon()) << "it exists, though it cannot be read";
  EXPECT_EQ(L"0.0.0", list.Item(2).SubItems(5));
  EXPECT_EQ((std::vector<int>{11, 0}), app.pointers);
}

TEST_F(ListLoading, ProjectsOnAShareThatIsDownCountAsMissingAfterOneBoundedWait) {
  files.AddFile(L"C:\\local.vbp", "Name=Local");
  files.AddFile(L"\\\\nas\\work\\a.vbp", "Name=A");
  files.AddFile(L"\\\\nas\\work\\b.vbp", "Name=B");
  blocking.Block(L"\\\\NAS\\WORK");
  reg.RegSetKeyValue(kHkeyCurrentUser, kRecentFilesKey, L"1", L"\\\\nas\\work\\a.vbp");
  reg.RegSetKeyValue(kHkeyCurrentUser, kRecentFilesKey, L"2", L"C:\\local.vbp");
  reg.RegSetKeyValue(kHkeyCurrentUser, kRecentFilesKey, L"3", L"\\\\nas\\work\\b.vbp");

  LoadProjectList(lists, app, list, false);
  ASSERT_EQ(3, list.ItemCount());
  for (int i = 1; i <= 3; ++i) {
    const bool local = list.Item(i).Text() == L"2";
    EXPECT_EQ(local ? L"yes" : L"not", list.Item(i).SmallIcon()) << i;
    EXPECT_EQ(local, lists.RecentProjects()->Item(list.Item(i).Text()) != nullptr) << i;
  }
  ASSERT_EQ(1u, blocking.Asked().size()) << "the share is given one chance per load";
  EXPECT_LE(blocking.Asked()[0].second, std::chrono::milliseconds(500));
  EXPECT_EQ((std::vector<int>{11, 0}), app.pointers);
}

// The test the load makes decides: the reader does not list the file a second time, which on a
// share would wait on it again without a deadline.
TEST_F(ListLoading, EachListedFileIsListedOnceAndReadOnceWhenItExists) {
  files.AddFile(L"C:\\a.vbp", "Name=A");
  files.AddFile(L"C:\\b.vbp", "Name=B");
  reg.RegSetKeyValue(kHkeyCurrentUser, kRecentFilesKey, L"1", L"C:\\a.vbp");
  reg.RegSetKeyValue(kHkeyCurrentUser, kRecentFilesKey, L"2", L"C:\\gone.vbp");
  reg.RegSetKeyValue(kHkeyCurrentUser, kRecentFilesKey, L"3", L"C:\\b.vbp");

  LoadProjectList(lists, app, list, false);
  ASSERT_EQ(3, list.ItemCount());
  EXPECT_EQ(L"B", list.Item(3).SubItems(3));
  EXPECT_EQ(3u, files.Listings());
  EXPECT_EQ(2u, files.Reads());
}

}  // namespace
