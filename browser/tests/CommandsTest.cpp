// What the user does with a list's rows, its pop-up menus and the toolbar; the document's public
// operations; its layout and its end.

#include "browser/tests/BrowserFixture.h"

namespace {

using Strings = std::vector<std::wstring>;
using Opened = std::vector<std::pair<std::wstring, bool>>;

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
  EXPECT_EQ(nullptr, list.SelectedItem()) << "empty space";
  Press(list, L"1", 4);
  Press(list, L"3");
  EXPECT_EQ(L"3", list.SelectedItem()->Text());
  EXPECT_EQ(list.SelectedItem(), list.DropHighlight());
  EXPECT_TRUE(w_.UserDocument.popups.empty()) << "only the right button shows a menu";

  Press(list, L"1", 2);
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"1", 2);
  EXPECT_EQ((std::vector<std::pair<std::wstring, int>>{{L"mnuPopRecent", 2}, {L"mnuPopFavor", 2}}),
            w_.UserDocument.popups);
}

TEST_P(Commands, OpeningTakesTheSelectedRowOfAnExistingFileAndReportsARefusal) {
  Standard();
  w_.lvwRecent.UserDoubleClick();  // nothing selected
  Press(w_.lvwRecent, L"2", 2, L"mnuPopRecent_Open");  // the file is missing
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Open");
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"3");
  w_.lvwFavor.UserDoubleClick();
  EXPECT_EQ((Opened{{fresh_, true}, {fav_[2], true}}), host_->opened);

  host_->failNext = VbError(-2147467259, L"VBProjects", L"Project file is not valid");
  w_.lvwFavor.UserDoubleClick();
  ASSERT_EQ(1u, msgBox_.calls.size());
  EXPECT_EQ((std::tuple{std::wstring(L"Project file is not valid"), 16, std::wstring(L"Skeldra")}),
            (std::tuple{msgBox_.calls[0].prompt, msgBox_.calls[0].style, msgBox_.calls[0].title}));
  host_->failNext = VbError(-2147467259, L"VBProjects", L"Project file is not valid");
  w_.Toolbar1.UserClick(L"Open");
  EXPECT_EQ(1u, msgBox_.calls.size()) << "the toolbar reports nothing";
  gVBE.reset();  // the add-in was disconnected meanwhile
  Press(w_.lvwFavor, L"1", 2, L"mnuPopFavor_Open");
  EXPECT_EQ(2u, msgBox_.calls.size()) << "reported, not thrown into the host";
}

TEST_P(Commands, AddToFavoritesTakesTheLowestFreeNumberAboveTheShownOnesAndNeverRepeatsAPath) {
  const std::wstring a = Project(L"a.vbp", Vbp{}), b = Project(L"b.vbp", Vbp{}),
                     p = Project(L"p.vbp", Vbp{}), q = Project(L"q.vbp", Vbp{});
  // Favourite 1's file is missing, so the count of records gives 2 as the first name to try; the
  // list leaves out a name that is no number and one out of
  // range, so their paths are no favourites to compare with.
  SetFavorites({{L"1", Missing(L"gone.vbp")}, {L"3", a}, {L"note", b}, {L"40000", q}});
  SetRecent({{L"1", p}, {L"2", p}, {L"3", a}, {L"4", b}, {L"5", Missing(L"x.vbp")},
             {L"6", world_->PathOf(L"P.VBP")}});
  Open();
  for (const wchar_t* row : {L"1", L"2", L"3", L"4", L"5"})
    Press(w_.lvwRecent, row, 2, L"mnuPopRecent_Add");
  EXPECT_EQ(2, w_.lvwFavor.ItemCount()) << "loaded first, and not reloaded by an add";
  EXPECT_EQ((RegValueTable{{L"1", Missing(L"gone.vbp")}, {L"3", a}, {L"note", b}, {L"40000", q},
                           {L"2", p}, {L"4", b}}),
            StoredFavorites());
  Press(w_.lvwRecent, L"6", 2, L"mnuPopRecent_Add");
  EXPECT_EQ((RegValue{L"5", world_->PathOf(L"P.VBP")}), StoredFavorites().back())
      << "letter case makes another path";
}

TEST_P(Commands, TheFirstFavouriteCreatesTheKeyWithValueOne) {
  const std::wstring p = Project(L"p.vbp", Vbp{});
  SetRecent({{L"7", p}});
  Open();
  Press(w_.lvwRecent, L"7", 2, L"mnuPopRecent_Add");
  EXPECT_EQ((RegValueTable{{L"1", p}}), StoredFavorites());
}

TEST_P(Commands, AddToFavoritesNeverReplacesAFavouriteItCouldNotRead) {
  // Favourite 3's path is too long to read, so its row is empty.
  const std::wstring a = Project(L"a.vbp", Vbp{});
  SetFavorites({{L"1", Missing(L"gone.vbp")}, {L"2", a},
                {L"3", Missing(std::wstring(1100, L'x') + L".vbp")}});
  const std::wstring p = Project(L"p.vbp", Vbp{}), q = Project(L"q.vbp", Vbp{});
  SetRecent({{L"1", p}, {L"2", q}});
  Open();
  w_.TabStrip1.UserClickTab(2);
  w_.TabStrip1.UserClickTab(1);
  failing_.Fail("RegOpenKeyA", 5);  // the favourites cannot be read at all
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Add");
  failing_.Fail("", 0);
  Press(w_.lvwRecent, L"2", 2, L"mnuPopRecent_Add");
  const RegValueTable stored = StoredFavorites();
  ASSERT_EQ(5u, stored.size());
  EXPECT_EQ((RegValueTable{{L"4", p}, {L"5", q}}), RegValueTable(stored.begin() + 3, stored.end()));
}

TEST_P(Commands, RemoveDeletesTheShownFavouriteAndReportsAFailure) {
  Standard();
  SetFavorites({{L"07", fav_[0]}});  // written by hand: the row shows 7
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"2", 2, L"mnuPopFavor_Delete");
  Press(w_.lvwFavor, L"7", 2, L"mnuPopFavor_Delete");
  EXPECT_EQ((RegValueTable{{L"1", fav_[0]}, {L"3", fav_[2]}}), StoredFavorites());
  EXPECT_EQ((Strings{L"1", L"3"}), ColumnTexts(w_.lvwFavor));
  EXPECT_TRUE(msgBox_.calls.empty());

  reg_.RegDelKey(kHkeyCurrentUser, kFavoritesKey, L"3");  // another program removed it
  Press(w_.lvwFavor, L"3", 2, L"mnuPopFavor_Delete");
  ASSERT_EQ(1u, msgBox_.calls.size());
  EXPECT_EQ(L"Error 2, Line 0", msgBox_.calls[0].prompt);
  EXPECT_EQ(2, w_.lvwFavor.ItemCount()) << "not reloaded";
  w_.TabStrip1.UserClickTab(2);
  doc_.mnuPopFavor_Delete_Click();  // nothing is selected after a reload
  EXPECT_EQ(1u, StoredFavorites().size());
}

TEST_P(Commands, TheToolbarOpensShowsPropertiesCustomizesAndShowsAbout) {
  Standard();
  Press(w_.lvwRecent, L"1");
  w_.TabStrip1.UserClickTab(2);
  w_.Toolbar1.UserClick(L"Open");
  EXPECT_EQ((Opened{{fresh_, true}}), host_->opened) << "the recent list's row";

  w_.Toolbar1.UserClick(L"Customize");
  w_.Toolbar1.UserClick(L"Properties");
  EXPECT_FALSE(w_.lvwCustomize.Visible());
  EXPECT_EQ(0, w_.Toolbar1.ButtonValue(L"Customize"));
  EXPECT_EQ("properties", Page());

  w_.Toolbar1.UserClick(L"About");
  doc_.Toolbar1_ButtonClick({L"about", 0});
  EXPECT_EQ(1, w_.frmAbout.shows) << "keys compare exactly";
}

TEST_P(Commands, OpenProjectAsksForAFileAndRemoveProjectClosesTheActiveOne) {
  doc_.RemoveProject();  // none is active
  doc_.OpenProject();
  const HeadlessCommonDialog& dialog = w_.CommonDialog1;
  EXPECT_EQ((std::tuple{false, std::wstring(L"Select VB Project file"),
                        std::wstring(L"Visual Basic Project; *.vbp|*.vbp"), 1, w_.App.path, 6144}),
            (std::tuple{dialog.cancelError, dialog.dialogTitle, dialog.filter, dialog.filterIndex,
                        dialog.initDir, dialog.flags}));
  w_.CommonDialog1.nextFileName = L"D:\\Work\\Other.vbp";
  doc_.OpenProject();
  EXPECT_EQ((Opened{{L"D:\\Work\\Other.vbp", true}}), host_->opened) << "the cancel opened none";
  host_->failNext = VbError(5, L"VBProjects", L"Refused");
  EXPECT_THROW(doc_.OpenProject(), VbError) << "the caller is told";
  host_->active = std::make_shared<FakeIde::Project>(L"C:\\a.vbp");
  doc_.RemoveProject();
  EXPECT_EQ((Strings{L"C:\\a.vbp"}), host_->removed);
}

TEST_P(Commands, TheLayoutFillsTheWindowDownToItsMinimum) {
  doc_.UserDocument_Initialize();
  const auto place = [](const Control& c) {
    return std::vector<float>{c.Left(), c.Top(), c.Width(), c.Height()};
  };
  for (const auto& [size, tabs] : std::vector<std::pair<std::pair<float, float>, std::vector<float>>>{
           {{6000, 4000}, {0, 360, 6000, 3640}}, {{1500, 1800}, {0, 360, 2000, 2140}}}) {
    w_.UserDocument.Size(size.first, size.second);
    doc_.UserDocument_Resize();
    EXPECT_EQ(tabs, place(w_.TabStrip1));
    EXPECT_EQ(tabs[2], w_.Toolbar1.Width());
    for (const Control* page : std::vector<const Control*>{&w_.lvwRecent, &w_.fraProps})
      EXPECT_EQ((std::vector<float>{w_.TabStrip1.ClientLeft(), w_.TabStrip1.ClientTop(),
                                    w_.TabStrip1.ClientWidth(), w_.TabStrip1.ClientHeight()}),
                place(*page));
  }
  // A control that refuses its place does not stop the others.
  w_.lvwFavor.FailMoves(true);
  w_.UserDocument.Size(3000, 2500);
  doc_.UserDocument_Resize();
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
  next.View();
  const auto [x, y] = again.lvwRecent.PointOf(again.lvwRecent.Item(1));
  again.UserDocument.choose = L"mnuPopRecent_Add";
  again.lvwRecent.UserMouseDown(2, 0, x, y);
  EXPECT_EQ(4u, StoredFavorites().size()) << "the favourites were loaded first";
}

INSTANTIATE_TEST_SUITE_P(FileSystems, Commands, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
