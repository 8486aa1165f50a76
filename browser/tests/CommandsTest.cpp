// What the user does with a list's rows, its pop-up menus and the toolbar; the document's public
// operations; its layout and its end.

#include "browser/tests/BrowserFixture.h"

namespace {

using Strings = std::vector<std::wstring>;

class Commands : public BrowserTest {
 protected:
  // Favourites 1 to 3 and recent projects 1 (a new one), 2 (missing) and 3 (favourite 2's).
  void Standard() {
    fav_ = {Project(L"f1.vbp", Vbp{.name = "F1"}), Project(L"f2.vbp", Vbp{.name = "F2"}),
            Project(L"f3.vbp", Vbp{.name = "F3"})};
    SetFavorites({{L"1", fav_[0]}, {L"2", fav_[1]}, {L"3", fav_[2]}});
    fresh_ = Project(L"new.vbp", Vbp{.name = "New"});
    SetRecent({{L"1", fresh_}, {L"2", Missing(L"gone.vbp")}, {L"3", fav_[1]}});
    Open();
  }
  std::vector<std::wstring> fav_;
  std::wstring fresh_;
};

TEST_P(Commands, APressSelectsAndHighlightsTheRowAndTheRightButtonOpensItsMenu) {
  Standard();
  HeadlessListView& list = w_.lvwRecent;
  list.UserMouseDown(2, 0, 10, HeadlessListView::kRowHeight * 20);
  EXPECT_TRUE(w_.UserDocument.popups.empty()) << "no menu over empty space";
  EXPECT_EQ(nullptr, list.SelectedItem());

  Press(list, L"1", 4);
  EXPECT_EQ(L"1", list.SelectedItem()->Text());
  EXPECT_TRUE(w_.UserDocument.popups.empty()) << "the middle button shows no menu";
  Press(list, L"3");
  EXPECT_EQ(L"3", list.SelectedItem()->Text());
  EXPECT_EQ(list.SelectedItem(), list.DropHighlight());
  EXPECT_TRUE(w_.UserDocument.popups.empty()) << "the left button shows no menu";

  Press(list, L"1", 2);
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"1", 2);
  EXPECT_EQ((std::vector<std::pair<std::wstring, int>>{{L"mnuPopRecent", 2}, {L"mnuPopFavor", 2}}),
            w_.UserDocument.popups);
  EXPECT_EQ((Strings{L"Add to Favorites", L"Open Project", L"Properties"}),
            (Strings{doc_.mnuPopRecent().Items[0].Caption, doc_.mnuPopRecent().Items[1].Caption,
                     doc_.mnuPopRecent().Items[2].Caption}));
}

TEST_P(Commands, OpeningTakesTheSelectedRowOfAnExistingFile) {
  Standard();
  w_.lvwRecent.UserDoubleClick();
  EXPECT_TRUE(host_->opened.empty()) << "nothing selected";

  Press(w_.lvwRecent, L"2");
  w_.lvwRecent.UserDoubleClick();
  Press(w_.lvwRecent, L"2", 2, L"mnuPopRecent_Open");
  EXPECT_TRUE(host_->opened.empty()) << "the file is missing";

  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Open");
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"3");
  w_.lvwFavor.UserDoubleClick();
  Press(w_.lvwFavor, L"1", 2, L"mnuPopFavor_Open");
  EXPECT_EQ((std::vector<std::pair<std::wstring, bool>>{
                {fresh_, true}, {fav_[2], true}, {fav_[0], true}}),
            host_->opened);
  EXPECT_TRUE(msgBox_.calls.empty());
}

TEST_P(Commands, AHostThatCannotOpenIsReportedFromTheListButNotFromTheToolbar) {
  Standard();
  Press(w_.lvwRecent, L"1");
  host_->failNext = VbError(-2147467259, L"VBProjects", L"Project file is not valid");
  w_.lvwRecent.UserDoubleClick();
  ASSERT_EQ(1u, msgBox_.calls.size());
  EXPECT_EQ(L"Project file is not valid", msgBox_.calls[0].prompt);
  EXPECT_EQ(16, msgBox_.calls[0].style);
  EXPECT_EQ(L"Skeldra", msgBox_.calls[0].title);

  host_->failNext = VbError(-2147467259, L"VBProjects", L"Project file is not valid");
  w_.Toolbar1.UserClick(L"Open");
  EXPECT_EQ(1u, msgBox_.calls.size());

  gVBE.reset();  // the add-in was disconnected meanwhile
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Open");
  EXPECT_EQ(2u, msgBox_.calls.size()) << "reported, not thrown into the host";
}

TEST_P(Commands, AddToFavoritesStoresTheNextNumberOnce) {
  Standard();
  w_.TabStrip1.UserClickTab(1);
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Add");
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Add");  // again, before the favourites reload
  Press(w_.lvwRecent, L"3", 2, L"mnuPopRecent_Add");  // already favourite 2
  Press(w_.lvwRecent, L"2", 2, L"mnuPopRecent_Add");  // missing file

  EXPECT_EQ((RegValueTable{{L"1", fav_[0]}, {L"2", fav_[1]}, {L"3", fav_[2]}, {L"4", fresh_}}),
            StoredFavorites());
  EXPECT_EQ(3, w_.lvwFavor.ItemCount()) << "the add does not reload the favourites";
  w_.TabStrip1.UserClickTab(2);
  EXPECT_EQ((Strings{L"1", L"2", L"3", L"4"}), ColumnTexts(w_.lvwFavor));
}

TEST_P(Commands, AddToFavoritesNeverReplacesAFavourite) {
  SetFavorites({{L"1", Missing(L"gone.vbp")}, {L"2", Project(L"a.vbp", Vbp{})},
                {L"3", Project(L"b.vbp", Vbp{})}});
  const std::wstring p = Project(L"p.vbp", Vbp{});
  const std::wstring q = Project(L"q.vbp", Vbp{});
  SetRecent({{L"1", p}, {L"2", q}});
  Open();
  // Never loaded: the add loads the favourites first, which counts two existing files.
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Add");
  EXPECT_TRUE(lists_.FavoriteProjects());
  EXPECT_EQ(3, w_.lvwFavor.ItemCount());
  // Name 3 is taken: the lowest free number above it.
  EXPECT_EQ((RegValue{L"4", p}), StoredFavorites().back());

  // Letter case makes another path.
  SetRecent({{L"3", world_->PathOf(L"P.VBP")}});
  w_.TabStrip1.UserClickTab(1);
  Press(w_.lvwRecent, L"3", 2, L"mnuPopRecent_Add");
  EXPECT_EQ((RegValue{L"5", world_->PathOf(L"P.VBP")}), StoredFavorites().back());
  EXPECT_EQ(5u, StoredFavorites().size());
}

TEST_P(Commands, AddToFavoritesComparesOnlyWithTheFavouritesTheListShows) {
  const std::wstring a = Project(L"a.vbp", Vbp{}), b = Project(L"b.vbp", Vbp{}),
                     c = Project(L"c.vbp", Vbp{});
  // Values the list leaves out: a name that is no number, a number out of range.
  SetFavorites({{L"1", a}, {L"note", b}, {L"40000", c}});
  SetRecent({{L"1", b}, {L"2", c}, {L"3", a}});
  Open();
  for (const wchar_t* row : {L"1", L"2", L"3"}) Press(w_.lvwRecent, row, 2, L"mnuPopRecent_Add");
  EXPECT_EQ((RegValueTable{{L"1", a}, {L"note", b}, {L"40000", c}, {L"2", b}, {L"3", c}}),
            StoredFavorites());
}

TEST_P(Commands, TheFirstFavouriteCreatesTheKeyWithValueOne) {
  const std::wstring p = Project(L"p.vbp", Vbp{});
  SetRecent({{L"7", p}});
  Open();
  Press(w_.lvwRecent, L"7", 2, L"mnuPopRecent_Add");
  EXPECT_EQ((RegValueTable{{L"1", p}}), StoredFavorites());
}

TEST_P(Commands, AddToFavoritesNeverReplacesAFavouriteItCouldNotRead) {
  // Favourite 1's file is missing, so the last load counted one record; favourite 3's path is too
  // long to read, so its row is empty.
  const std::wstring gone = Missing(L"gone.vbp"), a = Project(L"a.vbp", Vbp{});
  const std::wstring tooLong = Missing(std::wstring(1100, L'x') + L".vbp");
  SetFavorites({{L"1", gone}, {L"2", a}, {L"3", tooLong}});
  const std::wstring p = Project(L"p.vbp", Vbp{}), q = Project(L"q.vbp", Vbp{});
  SetRecent({{L"1", p}, {L"2", q}});
  Open();
  w_.TabStrip1.UserClickTab(2);
  w_.TabStrip1.UserClickTab(1);

  // The favourites cannot be read at all: names 2 and 3 are taken all the same.
  failing_.Fail("RegOpenKeyA", 5);
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Add");
  failing_.Fail("", 0);
  // Every favourite but 3 reads back; 3 and 4 are taken.
  Press(w_.lvwRecent, L"2", 2, L"mnuPopRecent_Add");

  RegValueTable stored = StoredFavorites();
  ASSERT_EQ(5u, stored.size());
  EXPECT_EQ((RegValue{L"2", a}), stored[1]);
  EXPECT_EQ(RegValue{}, stored[2]) << "still too long to read";
  EXPECT_EQ((RegValue{L"4", p}), stored[3]);
  EXPECT_EQ((RegValue{L"5", q}), stored[4]);
}

TEST_P(Commands, AFailedWriteOfAFavouriteIsIgnored) {
  Standard();
  failing_.Fail("RegSetValueExA", 5);
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Add");
  EXPECT_EQ(3u, StoredFavorites().size());
  EXPECT_TRUE(msgBox_.calls.empty());
}

TEST_P(Commands, RemoveDeletesTheShownFavouriteAndReloads) {
  Standard();
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"2", 2, L"mnuPopFavor_Delete");
  EXPECT_EQ((RegValueTable{{L"1", fav_[0]}, {L"3", fav_[2]}}), StoredFavorites());
  EXPECT_EQ((Strings{L"1", L"3"}), ColumnTexts(w_.lvwFavor));
  EXPECT_EQ(2u, lists_.FavoriteProjects()->Count());

  // Written by hand as "07": the row shows 7, and Remove deletes that very value.
  SetFavorites({{L"07", fav_[1]}});
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"7", 2, L"mnuPopFavor_Delete");
  EXPECT_EQ((Strings{L"1", L"3"}), ColumnTexts(w_.lvwFavor));
  EXPECT_TRUE(msgBox_.calls.empty());
}

TEST_P(Commands, ARemoveThatFailsIsReportedAndTheListStays) {
  Standard();
  w_.TabStrip1.UserClickTab(2);
  reg_.RegDelKey(kHkeyCurrentUser, kFavoritesKey, L"2");  // another program removed it
  Press(w_.lvwFavor, L"2", 2, L"mnuPopFavor_Delete");
  ASSERT_EQ(1u, msgBox_.calls.size());
  EXPECT_EQ(L"Error 2, Line 0", msgBox_.calls[0].prompt);
  EXPECT_EQ(16, msgBox_.calls[0].style);
  EXPECT_EQ(3, w_.lvwFavor.ItemCount()) << "not reloaded";

  w_.TabStrip1.UserClickTab(2);
  doc_.mnuPopFavor_Delete_Click();  // nothing is selected after a reload
  EXPECT_EQ(2u, StoredFavorites().size());
}

TEST_P(Commands, PropertiesFromEitherMenuSelectTheThirdTab) {
  Standard();
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Prop");
  EXPECT_EQ(3, w_.TabStrip1.SelectedIndex());
  EXPECT_EQ(L"New", w_.txtName.Text());
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"3", 2, L"mnuPopFavor_Prop");
  EXPECT_EQ(L"F3", w_.fraProps.Caption());
}

TEST_P(Commands, TheToolbarOpensShowsPropertiesCustomizesAndShowsAbout) {
  Standard();
  EXPECT_EQ(4u, w_.Toolbar1.Buttons().size());
  EXPECT_EQ(L"custom", w_.Toolbar1.Buttons()[2].imageKey);
  EXPECT_TRUE(w_.Toolbar1.Buttons()[2].twoState);

  Press(w_.lvwRecent, L"1");
  w_.TabStrip1.UserClickTab(2);
  w_.Toolbar1.UserClick(L"Open");
  EXPECT_EQ((std::vector<std::pair<std::wstring, bool>>{{fresh_, true}}), host_->opened)
      << "the recent list's row, though the favourites show";

  w_.Toolbar1.UserClick(L"Customize");
  EXPECT_EQ(w_.lvwFavor.Top(), w_.lvwCustomize.Top());
  w_.Toolbar1.UserClick(L"Properties");
  EXPECT_FALSE(w_.lvwCustomize.Visible());
  EXPECT_EQ(0, w_.Toolbar1.ButtonValue(L"Customize"));
  EXPECT_EQ("properties", Page());

  w_.Toolbar1.UserClick(L"About");
  EXPECT_EQ(1, w_.frmAbout.shows);
  doc_.Toolbar1_ButtonClick({L"about", 0});
  EXPECT_EQ(1, w_.frmAbout.shows) << "keys compare exactly";
  EXPECT_TRUE(msgBox_.calls.empty());
}

TEST_P(Commands, OpenProjectAsksForAFileAndOpensIt) {
  doc_.OpenProject();
  const HeadlessCommonDialog& dialog = w_.CommonDialog1;
  EXPECT_EQ((Strings{L"CancelError", L"DialogTitle", L"Filter", L"FilterIndex", L"InitDir", L"Flags"}),
            dialog.settingsLog);
  EXPECT_FALSE(dialog.cancelError);
  EXPECT_EQ(L"Select VB Project file", dialog.dialogTitle);
  EXPECT_EQ(L"Visual Basic Project; *.vbp|*.vbp", dialog.filter);
  EXPECT_EQ(1, dialog.filterIndex);
  EXPECT_EQ(w_.App.path, dialog.initDir);
  EXPECT_EQ(6144, dialog.flags);
  EXPECT_TRUE(host_->opened.empty()) << "cancelled";

  w_.CommonDialog1.nextFileName = L"D:\\Work\\Other.vbp";
  doc_.OpenProject();
  EXPECT_EQ((std::vector<std::pair<std::wstring, bool>>{{L"D:\\Work\\Other.vbp", true}}),
            host_->opened);

  host_->failNext = VbError(5, L"VBProjects", L"Refused");
  EXPECT_THROW(doc_.OpenProject(), VbError) << "the caller is told";
}

TEST_P(Commands, RemoveProjectClosesTheActiveProjectIfThereIsOne) {
  doc_.RemoveProject();
  EXPECT_TRUE(host_->removed.empty());
  host_->active = std::make_shared<FakeIde::Project>(L"C:\\a.vbp");
  doc_.RemoveProject();
  EXPECT_EQ((Strings{L"C:\\a.vbp"}), host_->removed);
}

TEST_P(Commands, TheLayoutFillsTheWindowDownToItsMinimum) {
  doc_.UserDocument_Initialize();
  w_.UserDocument.Size(6000, 4000);
  doc_.UserDocument_Resize();
  EXPECT_EQ((std::vector<float>{0, 0, 6000}),
            (std::vector<float>{w_.Toolbar1.Left(), w_.Toolbar1.Top(), w_.Toolbar1.Width()}));
  EXPECT_EQ((std::vector<float>{0, 360, 6000, 3640}),
            (std::vector<float>{w_.TabStrip1.Left(), w_.TabStrip1.Top(), w_.TabStrip1.Width(),
                                w_.TabStrip1.Height()}));
  for (const Control* page : std::initializer_list<const Control*>{&w_.lvwRecent, &w_.lvwFavor,
                                                                   &w_.fraProps, &w_.lvwCustomize})
    EXPECT_EQ((std::vector<float>{w_.TabStrip1.ClientLeft(), w_.TabStrip1.ClientTop(),
                                  w_.TabStrip1.ClientWidth(), w_.TabStrip1.ClientHeight()}),
              (std::vector<float>{page->Left(), page->Top(), page->Width(), page->Height()}));

  w_.UserDocument.Size(1500, 1800);
  doc_.UserDocument_Show();
  EXPECT_EQ(2000, w_.UserDocument.MinWidth());
  EXPECT_EQ(2000, w_.TabStrip1.Width());
  EXPECT_EQ(2140, w_.TabStrip1.Height());

  // A control that refuses its place does not stop the others.
  w_.lvwFavor.FailMoves(true);
  w_.UserDocument.Size(3000, 2500);
  doc_.UserDocument_Resize();
  EXPECT_EQ(3000, w_.TabStrip1.Width());
  EXPECT_EQ(2000, w_.lvwFavor.Width() + w_.TabStrip1.kClientWidthMargin);
  EXPECT_EQ(w_.TabStrip1.ClientWidth(), w_.lvwCustomize.Width());
}

TEST_P(Commands, ANewDocumentStartsWithoutTheListsOfTheOldOne) {
  Standard();
  w_.TabStrip1.UserClickTab(2);
  doc_.UserDocument_Terminate();
  EXPECT_FALSE(lists_.RecentProjects());
  EXPECT_FALSE(lists_.FavoriteProjects());

  HeadlessWindow again;
  Skeldra next(again.Controls(), lists_, msgBox_);
  next.UserDocument_Initialize();
  again.UserDocument.Size(6000, 4000);
  next.UserDocument_Show();
  next.View();
  const auto [x, y] = again.lvwRecent.PointOf(again.lvwRecent.Item(1));
  again.UserDocument.choose = L"mnuPopRecent_Add";
  again.lvwRecent.UserMouseDown(2, 0, x, y);
  EXPECT_EQ(3, again.lvwFavor.ItemCount()) << "the favourites were loaded first";
  EXPECT_EQ(4u, StoredFavorites().size());
}

TEST_P(Commands, AJourneyThroughEveryPage) {
  Standard();
  // Sort the recent list by name, add the new project, look at it in the favourites.
  w_.lvwRecent.UserClickColumn(4);
  EXPECT_EQ((Strings{L"2", L"3", L"1"}), ColumnTexts(w_.lvwRecent)) << "'', F2, New";
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Add");
  w_.TabStrip1.UserClickTab(2);
  EXPECT_EQ((Strings{L"1", L"2", L"3", L"4"}), ColumnTexts(w_.lvwFavor));

  // Show the Name column, remove the first favourite, check the properties of the new one.
  w_.Toolbar1.UserClick(L"Customize");
  w_.lvwCustomize.UserCheck(w_.lvwCustomize.Item(4), true);
  EXPECT_EQ(2000, w_.lvwFavor.Column(L"Name").Width());
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"1", 2, L"mnuPopFavor_Delete");
  EXPECT_EQ((Strings{L"F2", L"F3", L"New"}), ColumnTexts(w_.lvwFavor, 3));
  Press(w_.lvwFavor, L"4", 2, L"mnuPopFavor_Prop");
  EXPECT_EQ(L"New", w_.fraProps.Caption());
  EXPECT_EQ(fresh_, w_.txtPath.Text());

  // Showing the window again resets the columns and shows the properties page afresh.
  doc_.View();
  EXPECT_EQ(0, w_.lvwFavor.Column(L"Name").Width());
  EXPECT_EQ("properties", Page());
  EXPECT_EQ(L"New", w_.txtName.Text()) << "the favourites' selection, kept since the remove";
  w_.TabStrip1.UserClickTab(1);
  EXPECT_EQ((Strings{L"2", L"3", L"1"}), ColumnTexts(w_.lvwRecent)) << "still sorted by name";
  EXPECT_TRUE(msgBox_.calls.empty());
  EXPECT_EQ(0, w_.App.MousePointer());
}

INSTANTIATE_TEST_SUITE_P(FileSystems, Commands, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
