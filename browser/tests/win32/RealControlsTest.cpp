// The Win32 controls under the document: first the rows of the list views, kept as the headless
// list view the scenario tests trust keeps them; then what only the real windows show, with the
// document driven by clicks and the results read back from the windows themselves.

#include "browser/tests/win32/RealWindow.h"

#include <commctrl.h>
#include <dlgs.h>

#include <functional>
#include <tuple>

#include "platform/Error.h"
#include "platform/tests/win32/UserInput.h"
#include "ui/win32/Win32Controls.h"

namespace {

// The text of a row's cell (0 the row's text, k sub-item k), the row counted as shown from 0.
std::wstring Cell(HWND list, int row, int subItem = 0) {
  wchar_t text[512] = L"";
  ListView_GetItemText(list, row, subItem, text, 512);
  return text;
}

// What the document relies on in a list view: the rows sorted by a key column either way, through
// every later change; keys kept unique; selection, highlight and check boxes as set from code.
void ListViewContract(ListView& list) {
  ListItem& b = list.AddItem(L"k1", L"b", L"");
  b.SubItems(2, L"dll");
  list.AddItem(L"", L"A", L"yes").SubItems(2, L"exe");
  ListItem& ten = list.AddItem(L"", L"10", L"not");
  ten.SubItems(2, L"dll");
  EXPECT_THROW(list.AddItem(L"k1", L"again", L""), VbError) << "a key in use twice";
  const struct { std::function<void()> change; Strings order; } steps[] = {
      {[&] { list.Sorted(true); }, {L"10", L"A", L"b"}},
      {[&] { list.AddItem(L"", L"2", L"").SubItems(2, L"exe"); }, {L"10", L"2", L"A", L"b"}},
      {[&] { ten.Text(L"c"); }, {L"2", L"A", L"b", L"c"}},
      {[&] { list.SortKey(2); }, {L"b", L"c", L"A", L"2"}},  // equal texts as added
      {[&] { list.SortOrder(1); }, {L"A", L"2", L"b", L"c"}},
      {[&] { list.Sorted(false); }, {L"b", L"A", L"c", L"2"}},
  };
  for (const auto& step : steps) {
    step.change();
    EXPECT_EQ(step.order, ColumnTexts(list));
  }
  list.events.ItemCheck = [](ListItem&) { ADD_FAILURE() << "ItemCheck for a check from code"; };
  b.Checked(true);
  EXPECT_TRUE(b.Checked());
  list.SelectedItem(&list.Item(3));
  list.DropHighlight(&list.Item(2));
  EXPECT_EQ(L"cA", list.SelectedItem()->Text() + list.DropHighlight()->Text());
  list.ClearItems();
  EXPECT_EQ((std::tuple{0, nullptr, nullptr}),
            (std::tuple{list.ItemCount(), list.SelectedItem(), list.DropHighlight()}));
}

class RealControls : public RealWindowTest {};

TEST_F(RealControls, ListViewsKeepTheirRowsAsTheHeadlessOnesDo) {
  HeadlessListView headless;
  for (ListView* list : {static_cast<ListView*>(&headless), &c_.lvwRecent, &c_.lvwCustomize})
    ListViewContract(*list);  // the last with check boxes
}

// ---- The document over the real controls --------------------------------------------------

TEST_F(RealControls, TheColumnsCaptionsAndCheckBoxesShowAsTheUserKnowsThem) {
  Open();
  HWND tabs = HandleOf(c_.TabStrip1), fields = HandleOf(c_.lvwCustomize),
       bar = HandleOf(c_.Toolbar1);
  for (ListView* list : {&c_.lvwRecent, &c_.lvwFavor}) {
    std::vector<int> order(9), widths;
    ListView_GetColumnOrderArray(HandleOf(*list), 9, order.data());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 7, 5, 6, 4, 8}), order) << "creation indices, shown order";
    for (int i = 0; i < 9; ++i) widths.push_back(ListView_GetColumnWidth(HandleOf(*list), i));
    EXPECT_EQ((std::vector<int>{Pixels(600), 0, Pixels(2000), 0, 0, 0, 0, Pixels(2000), 0}), widths);
  }

  Strings captions;
  for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
    wchar_t text[64] = {};
    TCITEMW item{.mask = TCIF_TEXT, .pszText = text, .cchTextMax = 64};
    TabCtrl_GetItem(tabs, i, &item);
    captions.push_back(text);
  }
  for (Label* label : c_.lblProps) captions.push_back(WindowText(HandleOf(*label)));
  const auto command = [&](const wchar_t* key) {
    return dynamic_cast<Win32Toolbar&>(c_.Toolbar1).CommandOf(key);
  };
  for (const wchar_t* key : {L"Open", L"Properties", L"Customize", L"About"}) {
    // Each tip as the toolbar asks its parent for it.
    wchar_t text[80] = {};
    NMTBGETINFOTIPW tip{.hdr = {bar, static_cast<UINT_PTR>(::GetDlgCtrlID(bar)), TBN_GETINFOTIPW},
                        .pszText = text, .cchTextMax = 80, .iItem = command(key)};
    ::SendMessageW(::GetParent(bar), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
    captions.push_back(text);
  }
  EXPECT_EQ((Strings{L"Recent", L"Favorites", L"Properties", L"Name:", L"Path:", L"Type:",
                     L"Title:", L"Product Name:", L"Description:", L"Version:", L"Company Name:",
                     L"Copyright:", L"File Description:", L"File Name:", L"Open selected Project",
                     L"View Properties of selected Project", L"Customize view", L"About program"}),
            captions) << "the tabs, the property labels, the toolbar's tips";

  RECT button{}, row{};
  ASSERT_TRUE(
      ::SendMessageW(bar, TB_GETRECT, command(L"Customize"), reinterpret_cast<LPARAM>(&button)));
  Click(bar, Centre(button));
  ASSERT_TRUE(::IsWindowVisible(fields));
  ASSERT_EQ(L"Type", Cell(fields, 4));
  // The box is at the row's left end: found by the control's own hit test.
  ASSERT_TRUE(ListView_GetItemRect(fields, 4, &row, LVIR_BOUNDS));
  LVHITTESTINFO box{{row.left, (row.top + row.bottom) / 2}};
  while (box.pt.x < row.left + 40 &&
         !(ListView_HitTest(fields, &box) == 4 && (box.flags & LVHT_ONITEMSTATEICON)))
    ++box.pt.x;
  Click(fields, box.pt);
  EXPECT_TRUE(ListView_GetCheckState(fields, 4));
  EXPECT_EQ(Pixels(2000), ListView_GetColumnWidth(HandleOf(c_.lvwFavor), 4));
  Click(fields, box.pt);
  EXPECT_EQ(0, ListView_GetColumnWidth(HandleOf(c_.lvwRecent), 4));
}

TEST_F(RealControls, TabMovesTheFocusInTabOrderAndTheHourglassStaysUntilThePointerIsReset) {
  Open();
  window_->FocusFirst();
  EXPECT_EQ(HandleOf(c_.TabStrip1), ::GetFocus()) << "the toolbar takes no focus";
  // Past the hidden pages to the filter box, and round to the first.
  for (HWND next : {HandleOf(c_.lvwRecent), HandleOf(c_.txtFilter), HandleOf(c_.TabStrip1)}) {
    MSG key{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(window_->TranslateAccelerator(&key));
    EXPECT_EQ(next, ::GetFocus());
  }
  MSG key{::GetFocus(), WM_KEYDOWN, VK_RIGHT, 0, 0, {}};
  EXPECT_FALSE(window_->TranslateAccelerator(&key)) << "the tab strip keeps its arrows";
  c_.TabStrip1.SelectTab(3);
  window_->FocusFirst();
  key = MSG{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  window_->TranslateAccelerator(&key);
  EXPECT_EQ(HandleOf(c_.txtName), ::GetFocus()) << "into the frame, past its labels";

  for (int pointer : {11, 0}) {
    c_.App.MousePointer(pointer);
    ::SendMessageW(window_->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window_->Handle()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::LoadCursorW(nullptr, pointer ? IDC_WAIT : IDC_ARROW), ::GetCursor());
  }
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
}

}  // namespace
