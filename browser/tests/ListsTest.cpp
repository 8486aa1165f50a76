// Loading the recent and favourite lists, the tabs and the properties page, as the user sees them.

#include "browser/ProjectListView.h"
#include "browser/tests/BrowserFixture.h"
#include "catalogue/tests/BlockingFileSystem.h"
#include "platform/tests/MemoryFileSystem.h"

namespace {

using Strings = std::vector<std::wstring>;

class Lists : public BrowserTest {};

TEST_P(Lists, ARowShowsItsNumberAndTheDetailsOfAnExistingFile) {
  SetRecent({{L"1", Project(L"p1.vbp", Vbp{})},
             {L"2", Project(L"p2.vbp", Vbp{.type = "OleDll", .name = "Proj2", .title = "Title 2",
                                           .description = "Does 2", .product = "Product 2",
                                           .company = "Company 2", .major = 2, .minor = 2,
                                           .revision = 30})}});
  Open();
  ListItem& second = w_.lvwRecent.Item(2);
  EXPECT_EQ((Strings{L"k_2", L"yes", L"Title 2", world_->PathOf(L"p2.vbp"), L"Proj2", L"ActiveX DLL",
                     L"2.2.30", L"Does 2", L"Product 2", L"Company 2"}),
            (Strings{second.Key(), second.SmallIcon(), second.SubItems(1), second.SubItems(2),
                     second.SubItems(3), second.SubItems(4), second.SubItems(5), second.SubItems(6),
                     second.SubItems(7), second.SubItems(8)}));
  EXPECT_EQ(L"Proj2", lists_.RecentProjects()->Item(L"2")->Name());
  EXPECT_FALSE(lists_.FavoriteProjects()) << "the favourites were never loaded";
  EXPECT_EQ((std::vector<int>{11, 0}), w_.App.pointers) << "hourglass while loading, then back";
}

TEST_P(Lists, RowsKeepTheRegistrysOrderAndLeaveOutNamesThatAreNoNumberOrRepeatOne) {
  const std::wstring p = Project(L"p.vbp", Vbp{.name = "P"});
  world_->AddDirectory(L"folder.vbp");
  SetRecent({{L"3", p}, {L"abc", p}, {L"40000", p}, {L"1", Missing(L"gone.vbp")}, {L"01", p},
             {L" 2 ", Project(L"hidden.vbp", Vbp{.name = "H"}, FileWorld::kHidden)}, {L"2.5", p},
             {L"-7", world_->PathOf(L"folder.vbp")}, {L"8", p}});
  Open();
  EXPECT_EQ((Strings{L"3", L"1", L"2", L"-7", L"8"}), ColumnTexts(w_.lvwRecent))
      << "2.5 reads as 2, which \" 2 \" took already";
  EXPECT_EQ((Strings{L"P", L"", L"", L"", L"P"}), ColumnTexts(w_.lvwRecent, 3))
      << "a missing file, a hidden one and a folder show no details";
  EXPECT_EQ(L"not", Row(w_.lvwRecent, L"1").SmallIcon()) << "the first of a repeated number wins";
  EXPECT_EQ(world_->PathOf(L"gone.vbp"), Row(w_.lvwRecent, L"1").SubItems(2));
  EXPECT_EQ(2u, lists_.RecentProjects()->Count());
}

TEST_P(Lists, EachChoiceOfATabReadsTheListAndItsFilesAgain) {
  const std::wstring p = Project(L"p.vbp", Vbp{.title = "Before"});
  SetRecent({{L"1", p}});
  Open();
  Project(L"p.vbp", Vbp{.title = "After"});
  SetRecent({{L"2", Missing(L"new.vbp")}});
  w_.TabStrip1.UserClickTab(2);
  EXPECT_EQ("favorites", Page());
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

  // With the properties page itself showing, the favourites' selection is the one taken.
  w_.TabStrip1.UserClickTab(3);
  EXPECT_EQ(L"", w_.txtPath.Text());
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"1");
  w_.TabStrip1.UserClickTab(3);
  EXPECT_EQ(L"Fav", w_.txtName.Text());

  w_.TabStrip1.UserClickTab(1);
  Press(w_.lvwRecent, L"2");
  w_.TabStrip1.UserClickTab(3);
  EXPECT_EQ(L"", w_.txtPath.Text()) << "a missing file shows nothing, though its row has a path";
}

TEST_P(Lists, ChangingTheTabClosesTheCustomizePage) {
  Open();
  for (int tab : {2, 3, 1}) {
    w_.Toolbar1.UserClick(L"Customize");
    ASSERT_TRUE(w_.lvwCustomize.Visible());
    w_.TabStrip1.UserClickTab(tab);
    EXPECT_FALSE(w_.lvwCustomize.Visible()) << tab;
    EXPECT_EQ(0, w_.Toolbar1.ButtonValue(L"Customize")) << tab;
    EXPECT_NE("", Page()) << "exactly one page shows";
  }
}

INSTANTIATE_TEST_SUITE_P(FileSystems, Lists, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

// Failures of the platform that only the in-memory files can be made to give: they are in
// memory, with shares that may hang.
class ListLoading : public testing::Test {
 protected:
  ListLoading() { list.AddColumn(L"N", L"N", 600); }
  void Recent(std::initializer_list<const wchar_t*> paths) {
    int n = 0;
    for (const wchar_t* path : paths)
      reg.RegSetKeyValue(kHkeyCurrentUser, kRecentFilesKey, std::to_wstring(++n), path);
  }

  MemoryRegistry registry;
  Windows1252CodePage ansi;
  mReg reg{registry, ansi};
  BlockingFileSystem blocking;
  MemoryFileSystem& files = blocking.Files();
  HeadlessApplication app;
  HeadlessListView list;
  ProjectLists lists{reg, blocking, ansi};
};

// The test the load makes decides: the reader does not list the file a second time, which on a
// share would wait on it again without a deadline.
TEST_F(ListLoading, EachFileIsListedOnceAndReadOnceAndAFailedListingIsAMissingFile) {
  files.AddFile(L"Q:\\p.vbp", "Name=P");
  files.FailListing(L"Q:\\p.vbp");
  files.AddFile(L"C:\\locked.vbp", "Name=L");
  files.FailReading(L"C:\\locked.vbp");
  files.AddFile(L"C:\\b.vbp", "Name=B");
  Recent({L"Q:\\p.vbp", L"C:\\locked.vbp", L"C:\\gone.vbp", L"C:\\b.vbp"});

  LoadProjectList(lists, app, list, false);
  EXPECT_EQ((Strings{L"not", L"yes", L"not", L"yes"}),
            (Strings{list.Item(1).SmallIcon(), list.Item(2).SmallIcon(), list.Item(3).SmallIcon(),
                     list.Item(4).SmallIcon()}))
      << "a file that cannot be read exists all the same";
  EXPECT_EQ(L"B", list.Item(4).SubItems(3));
  EXPECT_EQ(4u, files.Listings());
  EXPECT_EQ(2u, files.Reads());
}

TEST_F(ListLoading, ProjectsOnAShareThatIsDownCountAsMissingAfterOneBoundedWait) {
  files.AddFile(L"C:\\local.vbp", "Name=Local");
  files.AddFile(L"\\\\nas\\work\\a.vbp", "Name=A");
  files.AddFile(L"\\\\nas\\work\\b.vbp", "Name=B");
  blocking.Block(L"\\\\NAS\\WORK");
  Recent({L"\\\\nas\\work\\a.vbp", L"C:\\local.vbp", L"\\\\nas\\work\\b.vbp"});

  LoadProjectList(lists, app, list, false);
  EXPECT_EQ((Strings{L"not", L"yes", L"not"}),
            (Strings{list.Item(1).SmallIcon(), list.Item(2).SmallIcon(), list.Item(3).SmallIcon()}));
  EXPECT_EQ(1u, lists.RecentProjects()->Count());
  ASSERT_EQ(1u, blocking.Asked().size()) << "the share is given one chance per load";
  EXPECT_LE(blocking.Asked()[0].second, std::chrono::milliseconds(500));
  EXPECT_EQ((std::vector<int>{11, 0}), app.pointers);
}

}  // namespace
