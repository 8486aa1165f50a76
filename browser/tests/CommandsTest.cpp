// What the user does with a list's rows, its pop-up menus and the toolbar; the document's public
// operations; its layout and its end.

#include "browser/tests/BrowserFixture.h"

namespace {

using Opened = std::vector<std::pair<std::wstring, bool>>;

// A message shown: its prompt, style and title.
std::wstring Shown(const RecordingMsgBox::Call& c) {
  return c.prompt + L"|" + std::to_wstring(c.style) + L"|" + c.title;
}

class Commands : public BrowserTest {
 protected:
  // Favourites 1 to 3 and recent projects 1 (a new one), 2 (missing) and 3 (favourite 2's).
  void Standard() {
    fav_ = {Project(L"f1.vbp"), Project(L"f2.vbp"), Project(L"f3.vbp")};
    SetFavorites({{L"1", fav_[0]}, {L"2", fav_[1]}, {L"3", fav_[2]}});
    SetRecent({{L"1", Project(L"new.vbp")}, {L"2", Missing(L"gone.vbp")}, {L"3", fav_[1]}});
    Open();
  }
  Strings fav_;
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
  Press(list, L"1", 2);
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"1", 2);
  EXPECT_EQ((std::vector<std::pair<std::wstring, int>>{{L"mnuPopRecent", 2}, {L"mnuPopFavor", 2}}),
            w_.UserDocument.popups)
      << "only the right button shows a menu";
}

TEST_P(Commands, OpeningTakesTheSelectedRowOfAnExistingFileAndReportsARefusal) {
  Standard();
  w_.lvwRecent.UserDoubleClick();  // nothing selected
  Press(w_.lvwRecent, L"2", 2, L"mnuPopRecent_Open");  // the file is missing
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Open");
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"3");
  w_.lvwFavor.UserDoubleClick();
  w_.Toolbar1.UserClick(L"Open");  // the recent list's row
  EXPECT_EQ((Opened{{Missing(L"new.vbp"), true}, {fav_[2], true}, {Missing(L"new.vbp"), true}}),
            host_->opened);

  const VbError refusal(-2147467259, L"VBProjects", L"Project file is not valid");
  host_->failNext = refusal;
  w_.lvwFavor.UserDoubleClick();
  host_->failNext = refusal;
  w_.Toolbar1.UserClick(L"Open");  // reports nothing
  gVBE.reset();  // the add-in was disconnected meanwhile
  Press(w_.lvwFavor, L"1", 2, L"mnuPopFavor_Open");
  ASSERT_EQ(2u, msgBox_.calls.size()) << "the toolbar reports nothing; the rest not thrown";
  EXPECT_EQ(L"Project file is not valid|16|Skeldra", Shown(msgBox_.calls[0]));
}

TEST_P(Commands, AddToFavoritesTakesTheLowestFreeNumberAboveTheShownOnesAndNeverRepeatsAPath) {
  const std::wstring a = Project(L"a.vbp"), b = Project(L"b.vbp"), p = Project(L"p.vbp"),
                     q = Project(L"q.vbp");
  // Favourite 1's file is missing, so the count of records gives 2 as the first name to try; a
  // name that is no number and one out of range are no favourites to compare paths with.
  SetFavorites({{L"1", Missing(L"gone.vbp")}, {L"3", a}, {L"note", b}, {L"40000", q}});
  SetRecent({{L"1", p}, {L"2", p}, {L"3", a}, {L"4", b}, {L"5", Missing(L"x.vbp")},
             {L"6", world_->PathOf(L"P.VBP")}});
  Open();
  for (const wchar_t* row : {L"1", L"2", L"3", L"4", L"5", L"6"})
    Press(w_.lvwRecent, row, 2, L"mnuPopRecent_Add");
  EXPECT_EQ(2, w_.lvwFavor.ItemCount()) << "loaded first, and not reloaded by an add";
  EXPECT_EQ((RegValueTable{{L"1", Missing(L"gone.vbp")}, {L"3", a}, {L"note", b}, {L"40000", q},
                           {L"2", p}, {L"4", b}, {L"5", world_->PathOf(L"P.VBP")}}),
            StoredFavorites())
      << "letter case makes another path";
}

TEST_P(Commands, AddToFavoritesNeverReplacesAFavouriteItCouldNotRead) {
  // Favourite 3's path is too long to read, so its row is empty and the registry must tell
  // that its name is taken.
  SetFavorites({{L"1", Missing(L"gone.vbp")}, {L"2", Project(L"a.vbp")},
                {L"3", Missing(std::wstring(1100, L'x') + L".vbp")}});
  const std::wstring p = Project(L"p.vbp");
  SetRecent({{L"1", p}});
  Open();
  w_.TabStrip1.UserClickTab(2);
  w_.TabStrip1.UserClickTab(1);
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Add");
  const RegValueTable stored = StoredFavorites();
  ASSERT_EQ(4u, stored.size());
  EXPECT_EQ((RegValue{L"4", p}), stored.back());
}

// Which value a remove deletes, and the reload after it, the favourites' integrity test sees.
TEST_P(Commands, ARemoveThatFailsIsReportedAndReloadsNothing) {
  Standard();
  w_.TabStrip1.UserClickTab(2);
  reg_.RegDelKey(kHkeyCurrentUser, kFavoritesList, L"3");  // another program removed it
  Press(w_.lvwFavor, L"3", 2, L"mnuPopFavor_Delete");
  ASSERT_EQ(1u, msgBox_.calls.size());
  EXPECT_EQ(L"Error 2, Line 0|16|Skeldra", Shown(msgBox_.calls[0]));
  EXPECT_EQ(3, w_.lvwFavor.ItemCount()) << "not reloaded";
  w_.TabStrip1.UserClickTab(2);
  doc_.mnuPopFavor_Delete_Click();  // nothing is selected after a reload
  EXPECT_EQ(2u, StoredFavorites().size());
}

TEST_P(Commands, CopyPathAndOpenContainingFolderTakeTheSelectedRowsPath) {
  Standard();
  Press(w_.lvwRecent, L"2", 2, L"mnuPopRecent_CopyPath");  // a missing file's too
  EXPECT_EQ(Missing(L"gone.vbp"), clipboard_.held.text);
  Press(w_.lvwRecent, L"1", 2, L"mnuPopRecent_Reveal");
  w_.TabStrip1.UserClickTab(2);
  Press(w_.lvwFavor, L"3", 2, L"mnuPopFavor_CopyPath");
  Press(w_.lvwFavor, L"3", 2, L"mnuPopFavor_Reveal");
  EXPECT_EQ(fav_[2], clipboard_.held.text);
  ASSERT_EQ(2u, shell_.calls.size());
  EXPECT_EQ(L"show " + Missing(L"new.vbp"), shell_.calls[0].target);
  EXPECT_EQ(L"show " + fav_[2], shell_.calls[1].target);
}

TEST_P(Commands, TheToolbarShowsPropertiesAndAboutAndTheEndReleasesTheLists) {
  Standard();
  w_.Toolbar1.UserClick(L"Customize");
  w_.Toolbar1.UserClick(L"Properties");
  EXPECT_FALSE(w_.lvwCustomize.Visible());
  EXPECT_EQ(0, w_.Toolbar1.ButtonValue(L"Customize"));
  EXPECT_EQ("properties", Page());
  w_.Toolbar1.UserClick(L"About");
  doc_.Toolbar1_ButtonClick({L"about", 0});
  EXPECT_EQ(1, w_.frmAbout.shows) << "keys compare exactly";

  w_.TabStrip1.UserClickTab(2);
  doc_.UserDocument_Terminate();
  EXPECT_FALSE(lists_.RecentProjects());
  EXPECT_FALSE(lists_.FavoriteProjects());
}

TEST_P(Commands, OpenProjectAsksForAFileAndRemoveProjectClosesTheActiveOne) {
  doc_.RemoveProject();  // none is active
  doc_.OpenProject();
  const HeadlessCommonDialog& dialog = w_.CommonDialog1;  // its title the real dialog shows
  EXPECT_EQ((std::tuple{std::wstring(L"Visual Basic Project; *.vbp|*.vbp"), w_.App.path, 6144}),
            (std::tuple{dialog.filter, dialog.initDir, dialog.flags}));
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
  const HeadlessTabStrip& tabs = w_.TabStrip1;
  for (const auto& [width, height, expected] :
       std::vector<std::tuple<float, float, std::vector<float>>>{
           {6000, 4000, {0, 360, 6000, 3640}}, {1500, 1800, {0, 360, 2000, 2140}}}) {
    Size(width, height);
    doc_.UserDocument_Resize();
    EXPECT_EQ(expected, place(tabs));
    EXPECT_EQ(expected[2], w_.Toolbar1.Width());
    EXPECT_EQ((std::vector<float>{tabs.ClientLeft(), tabs.ClientTop(), tabs.ClientWidth(),
                                  tabs.ClientHeight()}),
              place(w_.fraProps));
  }
  w_.lvwFavor.failMoves = true;  // a control that refuses its place does not stop the others
  Size(3000, 2500);
  doc_.UserDocument_Resize();
  EXPECT_EQ(tabs.ClientWidth(), w_.lvwCustomize.Width());
}

INSTANTIATE_TEST_SUITE_P(FileSystems, Commands, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
