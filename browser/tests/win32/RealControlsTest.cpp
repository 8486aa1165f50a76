// The Win32 controls under the document: first their contract, side by side with the headless
// controls the scenario tests trust; then what only the real windows show, with the document
// driven by clicks and the results read back from the windows themselves.

#include "browser/tests/win32/RealWindow.h"

#include <commctrl.h>
#include <dlgs.h>

#include "platform/tests/win32/UserInput.h"
#include "ui/tests/ControlsContract.h"
#include "ui/win32/Win32Controls.h"

namespace {

using namespace contract;

class Contract : public testing::Test, protected RealWindowHolder {
 protected:
  HeadlessWindow headless_;
};

TEST_F(Contract, TheWin32ControlsAnswerAsTheHeadlessOnes) {
  ASSERT_TRUE(window_);
  SkeldraControls real = window_->Controls();
  const Strings list = ListViewContract(headless_.lvwRecent);
  EXPECT_EQ(list, ListViewContract(real.lvwRecent));
  EXPECT_EQ(list, ListViewContract(real.lvwCustomize)) << "the one with check boxes";
  EXPECT_EQ(TabStripContract(headless_.TabStrip1), TabStripContract(real.TabStrip1));
  EXPECT_EQ(ToolbarContract(headless_.Toolbar1), ToolbarContract(real.Toolbar1));
  EXPECT_EQ(ControlContract(headless_.txtName), ControlContract(real.txtName));
  EXPECT_EQ(ControlContract(headless_.fraProps), ControlContract(real.fraProps));
}

// A list view changed row by row holds its drawing until the message loop runs again. Meanwhile
// each cell still goes to its own row in the control, moved by a sort or not, and the list reads
// as shown or hidden as it was; afterwards a hidden list stays hidden.
TEST_F(Contract, AListChangedWhileTheLoopIsAwayKeepsItsCellsAndItsVisibility) {
  ASSERT_TRUE(window_);
  ::ShowWindow(window_->Handle(), SW_SHOWNA);
  ListView& list = window_->Controls().lvwRecent;
  HWND hwnd = HandleOf(list);
  const auto pump = [] {
    for (MSG message; ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&message);
  };
  for (const wchar_t* key : {L"N", L"Name"}) list.AddColumn(key, key, 1440);
  for (int i = 1; i <= 30; ++i) list.AddItem(L"", std::to_wstring(i), L"").SubItems(1, L"name " + std::to_wstring(i));
  EXPECT_TRUE(list.Visible());
  list.SortKey(1);
  list.SortOrder(1);
  list.Sorted(true);
  ListItem& first = list.Item(1);
  EXPECT_EQ(L"9", first.Text());
  first.SubItems(1, L"changed");  // which sorts it last
  EXPECT_EQ(L"9", Texts(hwnd).back());
  EXPECT_EQ(L"changed", Texts(hwnd, 1).back());
  EXPECT_EQ(L"name 8", Texts(hwnd, 1).front());
  pump();
  EXPECT_TRUE(::IsWindowVisible(hwnd));

  list.Visible(false);
  list.ClearItems();
  list.AddItem(L"", L"alone", L"").SubItems(1, L"hidden");
  EXPECT_FALSE(list.Visible());
  pump();
  EXPECT_FALSE(list.Visible());
  EXPECT_FALSE(::IsWindowVisible(hwnd)) << "a hidden list stays hidden";
  EXPECT_EQ((Strings{L"hidden"}), Texts(hwnd, 1));
}

// ---- The document over the real controls --------------------------------------------------

class RealControls : public RealWindowTest {};

TEST_F(RealControls, ViewPlacesAndOrdersTheColumnsAndTheirCheckBoxesShowOrHideThem) {
  Open();
  HWND tabs = HandleOf(c_.TabStrip1), fields = HandleOf(c_.lvwCustomize);
  RECT display = RectInParent(tabs), placed = RectInParent(HandleOf(c_.lvwRecent));
  TabCtrl_AdjustRect(tabs, FALSE, &display);
  EXPECT_TRUE(::EqualRect(&display, &placed)) << "the page fills the tabs' display area";
  for (ListView* list : {&c_.lvwRecent, &c_.lvwFavor}) {
    std::vector<int> order(9), widths;
    ListView_GetColumnOrderArray(HandleOf(*list), 9, order.data());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 7, 5, 6, 4, 8}), order) << "creation indices, shown order";
    for (int i = 0; i < 9; ++i) widths.push_back(ListView_GetColumnWidth(HandleOf(*list), i));
    EXPECT_EQ((std::vector<int>{Pixels(600), 0, Pixels(2000), 0, 0, 0, 0, Pixels(2000), 0}), widths);
  }

  ClickButton(L"Customize");
  ASSERT_TRUE(::IsWindowVisible(fields));
  ASSERT_EQ(L"Type", Texts(fields).at(4));
  EXPECT_TRUE(ListView_GetCheckState(fields, 0)) << "N's box, ticked by the document";
  ClickCheckBox(c_.lvwCustomize, 4);
  EXPECT_TRUE(ListView_GetCheckState(fields, 4));
  EXPECT_EQ(Pixels(2000), ListView_GetColumnWidth(HandleOf(c_.lvwFavor), 4));
  ClickCheckBox(c_.lvwCustomize, 4);
  EXPECT_EQ(0, ListView_GetColumnWidth(HandleOf(c_.lvwRecent), 4));
  const int command = dynamic_cast<Win32Toolbar&>(c_.Toolbar1).CommandOf(L"Customize");
  EXPECT_TRUE(::SendMessageW(HandleOf(c_.Toolbar1), TB_ISBUTTONCHECKED, command, 0)) << "it stays down";
}

TEST_F(RealControls, TheCaptionsAndMenusReadAsTheUserKnowsThem) {
  SetRecent({{L"1", Project(L"r.vbp")}});
  SetFavorites({{L"1", Project(L"f.vbp")}});
  Open();
  Strings tabs, labels, tips;
  HWND strip = HandleOf(c_.TabStrip1), bar = HandleOf(c_.Toolbar1);
  for (int i = 0; i < TabCtrl_GetItemCount(strip); ++i) {
    wchar_t text[64] = {};
    TCITEMW item{.mask = TCIF_TEXT, .pszText = text, .cchTextMax = 64};
    TabCtrl_GetItem(strip, i, &item);
    tabs.push_back(text);
  }
  for (Label* label : c_.lblProps) labels.push_back(WindowText(HandleOf(*label)));
  for (const wchar_t* key : {L"Open", L"Properties", L"Customize", L"About"}) {
    // Each tip as the toolbar asks its parent for it.
    wchar_t text[80] = {};
    NMTBGETINFOTIPW tip{.hdr = {bar, static_cast<UINT_PTR>(::GetDlgCtrlID(bar)), TBN_GETINFOTIPW},
                        .pszText = text, .cchTextMax = 80,
                        .iItem = dynamic_cast<Win32Toolbar&>(c_.Toolbar1).CommandOf(key)};
    ::SendMessageW(::GetParent(bar), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
    tips.push_back(text);
  }
  wchar_t header[64] = {};
  LVCOLUMNW column{.mask = LVCF_TEXT, .pszText = header, .cchTextMax = 64};
  ListView_GetColumn(HandleOf(c_.lvwCustomize), 0, &column);
  RightClickFirstRow(c_.lvwRecent);
  const Strings recentMenu = gMenuCaptions;
  ClickTab(2);
  RightClickFirstRow(c_.lvwFavor);

  const struct {
    const char* what;
    Strings shown, expected;
  } table[] = {
      {"tabs", tabs, {L"Recent", L"Favorites", L"Properties"}},
      {"property labels", labels,
       {L"Name:", L"Path:", L"Type:", L"Title:", L"Product Name:", L"Description:", L"Version:",
        L"Company Name:", L"Copyright:", L"File Description:", L"File Name:"}},
      {"toolbar tips", tips,
       {L"Open selected Project", L"View Properties of selected Project", L"Customize view",
        L"About program"}},
      {"field list header", {header}, {L"Show/Hide Field"}},
      {"recent menu", recentMenu,
       {L"Add to Favorites", L"Open Project", L"Properties", L"Copy Path", L"Open Containing Folder"}},
      {"favourites menu", gMenuCaptions,
       {L"Remove", L"Open", L"Properties", L"Copy Path", L"Open Containing Folder"}},
  };
  for (const auto& row : table) EXPECT_EQ(row.expected, row.shown) << row.what;
}

TEST_F(RealControls, TabMovesTheFocusAmongTheShownControlsInTabOrder) {
  Open();
  window_->FocusFirst();
  EXPECT_EQ(HandleOf(c_.TabStrip1), ::GetFocus()) << "the toolbar takes no focus";
  MSG key{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_TRUE(window_->TranslateAccelerator(&key));
  EXPECT_EQ(HandleOf(c_.lvwRecent), ::GetFocus());
  key.hwnd = ::GetFocus();
  EXPECT_TRUE(window_->TranslateAccelerator(&key));
  EXPECT_EQ(HandleOf(c_.txtFilter), ::GetFocus()) << "past the hidden pages, to the filter box";
  key.hwnd = ::GetFocus();
  EXPECT_TRUE(window_->TranslateAccelerator(&key));
  EXPECT_EQ(HandleOf(c_.TabStrip1), ::GetFocus()) << "and round to the first";
  key = MSG{::GetFocus(), WM_KEYDOWN, VK_RIGHT, 0, 0, {}};
  EXPECT_FALSE(window_->TranslateAccelerator(&key)) << "the tab strip keeps its arrows";

  ClickTab(3);
  window_->FocusFirst();
  key = MSG{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  window_->TranslateAccelerator(&key);
  EXPECT_EQ(HandleOf(c_.txtName), ::GetFocus()) << "into the frame, past its labels";
}

TEST_F(RealControls, TheHourglassStaysOverTheDocumentUntilThePointerIsReset) {
  auto setCursor = [&] {
    ::SendMessageW(window_->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window_->Handle()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor();
  };
  c_.App.MousePointer(11);
  EXPECT_EQ(::LoadCursorW(nullptr, IDC_WAIT), setCursor());
  c_.App.MousePointer(0);
  EXPECT_EQ(::LoadCursorW(nullptr, IDC_ARROW), setCursor());

  wchar_t exe[MAX_PATH];
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  EXPECT_EQ(std::wstring(exe).substr(0, std::wstring(exe).find_last_of(L'\\')), c_.App.Path());
}

// The open dialog's answer once it shows: the file typed into its name box, then OK.
std::wstring gDialogFile, gDialogTitle;
void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = ::FindWindowW(L"#32770", nullptr);
  if (!dialog || !::IsWindowVisible(dialog)) return;
  ::KillTimer(nullptr, timer);
  gDialogTitle = WindowText(dialog);
  for (int box : {edt1, cmb13}) ::SetDlgItemTextW(dialog, box, gDialogFile.c_str());
  ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(RealControls, OpenProjectOpensTheFileChosenInTheOpenDialog) {
  gDialogFile = Project(L"chosen.vbp");
  ::SetTimer(nullptr, 0, 50, AnswerDialog);
  doc_.OpenProject();
  EXPECT_EQ(L"Select VB Project file", gDialogTitle);
  EXPECT_EQ((std::vector<std::pair<std::wstring, bool>>{{gDialogFile, true}}), host_->opened);
  for (const wchar_t* filter : {L"a|*.a|b|*.b", L"a|*.a|b|*.b|"})
    EXPECT_EQ(std::wstring(L"a\0*.a\0b\0*.b\0\0", 13), Win32CommonDialog::DialogFilter(filter));
}

}  // namespace
