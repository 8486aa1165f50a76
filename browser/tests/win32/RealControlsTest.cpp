// The Win32 controls under the document: first the answers they and the headless controls the
// scenario tests trust both give to the same calls; then what only the real windows show, with
// the document driven by clicks and the results read back from the windows themselves.

#include "browser/tests/win32/RealWindow.h"

#include <commctrl.h>
#include <dlgs.h>

#include <functional>
#include <sstream>
#include <tuple>

#include "platform/Error.h"
#include "platform/tests/win32/UserInput.h"
#include "ui/win32/Win32Controls.h"

namespace {

// The VbError number each call raises, 0 for none.
std::vector<int> Raised(std::initializer_list<std::function<void()>> calls) {
  std::vector<int> numbers;
  for (const auto& call : calls) {
    try {
      call();
      numbers.push_back(0);
    } catch (const VbError& e) {
      numbers.push_back(e.Number());
    }
  }
  return numbers;
}

// The texts of a column (0 the row's text, k sub-item k), in the order shown.
Strings Texts(HWND list, int subItem = 0) {
  Strings texts;
  for (int i = 0; i < ListView_GetItemCount(list); ++i) {
    wchar_t text[512] = L"";
    ListView_GetItemText(list, i, subItem, text, 512);
    texts.push_back(text);
  }
  return texts;
}

void ListViewContract(ListView& list) {
  for (const wchar_t* key : {L"Name", L"Kind", L"Size", L"Date"}) list.AddColumn(key, key, 1440);
  ListItem& b = list.AddItem(L"k1", L"b", L"");
  b.SubItems(2, L"dll");
  list.AddItem(L"", L"A", L"yes").SubItems(2, L"exe");
  ListItem& ten = list.AddItem(L"", L"10", L"not");
  ten.SubItems(2, L"dll");
  EXPECT_EQ((std::vector{35602, 380, 35601, 35600, 380, 35602, 380, 380, 35600, 35600, 35600}),
            Raised({[&] { list.AddColumn(L"Kind", L"", 100); },
                    [&] { list.AddColumn(L"New", L"", -1); }, [&] { list.Column(L"Nope"); },
                    [&] { list.Column(5); }, [&] { list.Column(3).Width(-5); },
                    [&] { list.AddItem(L"k1", L"again", L""); }, [&] { list.SortOrder(2); },
                    [&] { list.SortKey(-1); }, [&] { list.Item(0); }, [&] { list.Item(4); },
                    [&] { b.SubItems(0); }}));
  list.Column(L"Date").Position(1);
  list.Column(1).Position(99);
  list.Column(2).Width(0);
  list.Column(3).Width(2000);
  std::wostringstream columns;  // place and width of each column, as created
  for (int i = 1; i <= 4; ++i)
    columns << list.Column(i).Position() << L":" << list.Column(i).Width() << L" ";
  EXPECT_EQ(L"4:1440 2:0 3:2000 1:1440 ", columns.str());

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
  EXPECT_EQ(L"|yes", list.Item(1).SubItems(7) + L"|" + list.Item(2).SmallIcon()) << "never set";

  list.events.ItemCheck = [](ListItem&) { ADD_FAILURE() << "ItemCheck for a check from code"; };
  b.Checked(true);
  EXPECT_TRUE(b.Checked());
  list.SelectedItem(&list.Item(3));
  list.DropHighlight(&list.Item(2));
  EXPECT_EQ(L"cA", list.SelectedItem()->Text() + list.DropHighlight()->Text());
  list.SelectedItem(nullptr);
  EXPECT_EQ(nullptr, list.SelectedItem());
  list.SelectedItem(&list.Item(3));
  list.ClearItems();
  EXPECT_EQ((std::tuple{0, nullptr, nullptr}),
            (std::tuple{list.ItemCount(), list.SelectedItem(), list.DropHighlight()}));
}

class Contract : public testing::Test, protected RealWindowHolder {};

TEST_F(Contract, TheWin32AndTheHeadlessControlsAnswerAlike) {
  ASSERT_TRUE(window_);
  HeadlessWindow headless;
  SkeldraControls real = window_->Controls(), mirror = headless.Controls();
  for (SkeldraControls* c : {&mirror, &real}) {
    SCOPED_TRACE(c == &real ? "Win32" : "headless");
    ListViewContract(c->lvwRecent);
    ListViewContract(c->lvwCustomize);  // the one with check boxes

    TabStrip& tabs = c->TabStrip1;
    EXPECT_EQ(0, tabs.SelectedIndex());
    tabs.AddTab(L"Recent");
    tabs.AddTab(L"Favorites");
    EXPECT_EQ(1, tabs.SelectedIndex()) << "the first tab added";
    std::wstring clicks;
    tabs.events.Click = [&] { clicks += std::to_wstring(tabs.SelectedIndex()); };
    tabs.SelectTab(2);
    tabs.SelectTab(2);
    EXPECT_EQ(L"22", clicks) << "each selection from code clicks";
    EXPECT_EQ((std::vector{35600, 35600}),
              Raised({[&] { tabs.SelectTab(3); }, [&] { tabs.TabCaption(0); }}));
    tabs.events.Click = nullptr;

    Toolbar& bar = c->Toolbar1;
    bar.AddButton(L"Pin", L"Keep", L"custom", true);
    EXPECT_EQ((std::vector{35602, 35601}),
              Raised({[&] { bar.AddButton(L"Pin", L"", L"", false); },
                      [&] { bar.ButtonValue(L"pin"); }}));
    bar.ButtonValue(L"Pin", 1);
    EXPECT_EQ(1, bar.ButtonValue(L"Pin"));
    const float height = bar.Height();
    bar.Move(0, 0, 3000);
    EXPECT_EQ((std::pair{3000.f, height}), (std::pair{bar.Width(), bar.Height()})) << "own height";

    Control& box = c->txtName;  // a frame and a label place themselves by the same code
    box.Move(10, 20, 333.3f, 400);
    EXPECT_EQ((std::vector{380, 380}),
              Raised({[&] { box.Move(1, 2, -3, 4); }, [&] { box.Move(1, 2, 3, -4); }}));
    EXPECT_EQ((std::vector{10.f, 20.f, 333.3f, 400.f}),
              (std::vector{box.Left(), box.Top(), box.Width(), box.Height()}));
    box.Visible(false);
    EXPECT_FALSE(box.Visible());
  }

  // A list view changed row by row holds its drawing until the message loop runs again.
  // Meanwhile each cell still goes to its own row in the control, moved by a sort or not, and
  // the list reads as shown or hidden as it was; afterwards a hidden list stays hidden.
  ::ShowWindow(window_->Handle(), SW_SHOWNA);
  ListView& list = real.lvwFavor;
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
  EXPECT_EQ((Strings{L"name 8", L"changed"}),
            (Strings{Texts(hwnd, 1).front(), Texts(hwnd, 1).back()}));
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

TEST_F(RealControls, TheColumnsCaptionsAndCheckBoxesShowAsTheUserKnowsThem) {
  Open();
  HWND tabs = HandleOf(c_.TabStrip1), fields = HandleOf(c_.lvwCustomize),
       bar = HandleOf(c_.Toolbar1);
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
  wchar_t header[64] = {};
  LVCOLUMNW column{.mask = LVCF_TEXT, .pszText = header, .cchTextMax = 64};
  ListView_GetColumn(fields, 0, &column);
  captions.push_back(header);
  EXPECT_EQ((Strings{L"Recent", L"Favorites", L"Properties", L"Name:", L"Path:", L"Type:",
                     L"Title:", L"Product Name:", L"Description:", L"Version:", L"Company Name:",
                     L"Copyright:", L"File Description:", L"File Name:", L"Open selected Project",
                     L"View Properties of selected Project", L"Customize view", L"About program",
                     L"Show/Hide Field"}),
            captions) << "the tabs, the property labels, the toolbar's tips, the fields' header";

  RECT button{}, row{};
  ASSERT_TRUE(
      ::SendMessageW(bar, TB_GETRECT, command(L"Customize"), reinterpret_cast<LPARAM>(&button)));
  Click(bar, Centre(button));
  ASSERT_TRUE(::IsWindowVisible(fields));
  EXPECT_TRUE(::SendMessageW(bar, TB_ISBUTTONCHECKED, command(L"Customize"), 0)) << "it stays down";
  ASSERT_EQ(L"Type", Texts(fields).at(4));
  EXPECT_TRUE(ListView_GetCheckState(fields, 0)) << "N's box, ticked by the document";
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
