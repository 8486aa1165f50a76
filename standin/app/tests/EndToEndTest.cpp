// The stand-in IDE with the add-in, end to end: the DLL registered for the machine, the prefix's
// own registry seeded as a user's would be, the main frame built in this process as standin.exe
// builds it, and the add-in's window driven by the messages a user's clicks send to its real
// controls. What the user sees is read back from the controls, what is stored from the registry.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <ole2.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "server/tests/TheDll.h"
#include "browser/win32/Win32SkeldraWindow.h"
#include "standin/app/AddInManager.h"
#include "standin/app/MainFrame.h"
#include "standin/app/RecentFiles.h"
#include "platform/tests/win32/UserInput.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/unique_res.h"

namespace {

using Strings = std::vector<std::wstring>;

constexpr wchar_t kRecentKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles";
constexpr wchar_t kFavoritesKey[] = L"Software\\Tolvane\\Skeldra\\Favorites";
constexpr wchar_t kSettingKey[] =
    L"Software\\VB and VBA Program Settings\\Microsoft Visual Basic AddIns\\Skeldra";
constexpr wchar_t kAddinKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Marrowby.Connect";

void SetValue(const wchar_t* key, const wchar_t* name, const std::wstring& data) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, data.c_str(),
                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

std::wstring Value(const wchar_t* key, const wchar_t* name) {
  wchar_t data[512] = {};
  DWORD size = sizeof data;
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS)
    return L"(none)";
  return data;
}

bool KeyExists(HKEY root, const std::wstring& key) {
  unique_hkey k;
  return ::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// A click, then whatever it set going.
void ClickAndPump(HWND hwnd, POINT p, UINT down = WM_LBUTTONDOWN) {
  Click(hwnd, p, down);
  Pump();
}

Strings Texts(HWND list, int subItem = 0) {
  Strings texts;
  for (int i = 0; i < ListView_GetItemCount(list); ++i) {
    wchar_t text[512] = {};
    ListView_GetItemText(list, i, subItem, text, 512);
    texts.push_back(text);
  }
  return texts;
}

int PlaceOf(HWND list, const std::wstring& number) {
  const Strings numbers = Texts(list);
  const auto it = std::find(numbers.begin(), numbers.end(), number);
  return it == numbers.end() ? -1 : static_cast<int>(it - numbers.begin());
}

// The column's creation index, found by its header's text; -1 when there is none.
int ColumnOf(HWND list, const wchar_t* title) {
  for (int i = 0;; ++i) {
    wchar_t text[128] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 128;
    if (!ListView_GetColumn(list, i, &column)) return -1;
    if (std::wstring(text) == title) return i;
  }
}

int ImageOf(HWND list, int place) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = place;
  ListView_GetItem(list, &item);
  return item.iImage;
}

// The left or right press on the row numbered number, answering its pop-up menu with choice
// (0: closed without a choice); WM_LBUTTONDBLCLK double-clicks.
void Press(HWND list, const std::wstring& number, UINT down = WM_LBUTTONDOWN, int choice = 0) {
  const int place = PlaceOf(list, number);
  RECT row{};
  ASSERT_TRUE(ListView_GetItemRect(list, place, &row, LVIR_BOUNDS)) << number;
  gMenuChoice = choice;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, AnswerMenu);
  ClickAndPump(list, POINT{row.left + 12, (row.top + row.bottom) / 2}, down);
  ::KillTimer(nullptr, timer);
}

void ClickHeader(HWND list, int column) {
  HWND header = ListView_GetHeader(list);
  RECT r{};
  ASSERT_TRUE(Header_GetItemRect(header, column, &r));
  ClickAndPump(header, Centre(r));
}

void ClickCheckBox(HWND list, int place) {
  RECT row{};
  ASSERT_TRUE(ListView_GetItemRect(list, place, &row, LVIR_BOUNDS));
  for (int x = row.left; x < row.left + 40; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, (row.top + row.bottom) / 2};
    if (ListView_HitTest(list, &hit) == place && (hit.flags & LVHT_ONITEMSTATEICON))
      return ClickAndPump(list, hit.pt);
  }
  ADD_FAILURE() << "no check box in row " << place;
}

// The toolbar's button at index (0-based): its command and a click on it.
int CommandAt(HWND bar, int index) {
  TBBUTTON button{};
  ::SendMessageW(bar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
  return button.idCommand;
}
void ClickButton(HWND bar, int command) {
  RECT r{};
  ASSERT_TRUE(::SendMessageW(bar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&r)));
  ClickAndPump(bar, Centre(r));
}

Strings MenuTexts(HMENU menu) {
  Strings texts;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    ::GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
    texts.push_back(text);
  }
  return texts;
}

bool Contains(const Strings& texts, const std::wstring& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

Strings ChildTexts(HWND window) {
  Strings texts;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    texts.push_back(WindowText(child));
  return texts;
}

// The modal dialog titled title, once it shows; its modal loop dispatches the timer.
HWND ShownDialog(UINT_PTR timer, const wchar_t* title) {
  HWND dialog = ::FindWindowW(L"#32770", title);
  if (!dialog || !::IsWindowVisible(dialog)) return nullptr;
  ::KillTimer(nullptr, timer);
  return dialog;
}

// The Add-In Manager's answer: the add-in's "Loaded" box clicked, then OK.
struct {
  bool seen = false, boxWas = false, boxNow = false;
  Strings names;
} gManager;
void CALLBACK AnswerManager(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = ShownDialog(timer, L"Add-In Manager");
  if (!dialog) return;
  gManager.seen = true;
  for (int row = 0; HWND name = ::GetDlgItem(dialog, standin_app::kAddInNameFirst + row); ++row) {
    gManager.names.push_back(WindowText(name));
    if (WindowText(name).find(L"(Marrowby.Connect)") == std::wstring::npos) continue;
    HWND box = ::GetDlgItem(dialog, standin_app::kAddInLoadedFirst + row);
    gManager.boxWas = ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    ::SendMessageW(box, BM_CLICK, 0, 0);
    gManager.boxNow = ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  ::SendMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

// The open-file dialog's answer: the path typed into the file name box, then OK.
std::wstring gTypedPath;
void CALLBACK AnswerOpen(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = ShownDialog(timer, L"Select VB Project file");
  if (!dialog) return;
  HWND box = ::GetDlgItem(dialog, edt1);
  if (!box) box = ::GetDlgItem(dialog, cmb13);
  ::SetWindowTextW(box, gTypedPath.c_str());
  ::SendMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

// The About box's texts, read before OK closes it.
Strings gAboutTexts;
void CALLBACK AnswerAbout(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = ShownDialog(timer, L"About Skeldra");
  if (!dialog) return;
  gAboutTexts = ChildTexts(dialog);
  ::SendMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

class EndToEnd : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
  static void TearDownTestSuite() {
    Regsvr32(L"/u");
    ::OleUninitialize();
  }

  void SetUp() override {
    ASSERT_EQ(0u, Regsvr32(L"")) << "each journey starts registered; one ends unregistered";
    savedRecent_ = standin_app::ReadRecentFiles();
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"marrowby-e2e-" + std::to_wstring(::GetCurrentProcessId());
    std::filesystem::create_directories(folder_);
    alpha_ = Write(L"alpha.vbp", "Type=Exe\r\nName=\"Alpha\"\r\nTitle=\"Alpha Title\"\r\n"
                                 "MajorVer=1\r\nMinorVer=2\r\nRevisionVer=3\r\n"
                                 "VersionProductName=\"Alpha Suite\"\r\n");
    bravo_ = Write(L"bravo.vbp", "Type=Control\r\nName=\"Bravo\"\r\nMajorVer=2\r\nMinorVer=5\r\n");
    charlie_ = Write(L"charlie.vbp", "Type=Exe\r\nName=\"Charlie\"\r\n");
    missing_ = folder_ + L"\\missing.vbp";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kRecentKey);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kFavoritesKey);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingKey);
    SetValue(kRecentKey, L"1", bravo_);
    SetValue(kRecentKey, L"2", missing_);
    SetValue(kRecentKey, L"3", alpha_);
    SetValue(kFavoritesKey, L"1", charlie_);
    SetValue(kSettingKey, L"DisplayOnConnect", L"1");
  }

  void TearDown() override {
    CloseFrame();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kRecentKey);
    for (std::size_t i = 0; i < savedRecent_.size(); ++i)
      SetValue(kRecentKey, std::to_wstring(i + 1).c_str(), savedRecent_[i]);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kFavoritesKey);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingKey);
    std::filesystem::remove_all(folder_);
  }

  std::wstring Write(const wchar_t* name, const std::string& text) {
    const std::wstring path = folder_ + L"\\" + name;
    unique_file file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return path;
  }

  // Starts the stand-in as standin.exe does and finds its windows.
  void StartFrame(standin_app::Options options = {}) {
    frame_ = std::make_unique<standin_app::MainFrame>(std::move(options));
    ASSERT_TRUE(frame_->Create(::GetModuleHandleW(nullptr)));
    Pump();
    main_ = ::FindWindowW(L"MarrowbyStandInFrame", nullptr);
    ASSERT_TRUE(main_);
    FindToolFrame(::GetWindow(Dock(), GW_CHILD));
  }
  HWND Dock() const { return ::FindWindowExW(main_, nullptr, L"MarrowbyStandInDock", nullptr); }
  void FindToolFrame(HWND frame) {
    toolFrame_ = frame;
    HWND container = toolFrame_ ? ::FindWindowExW(toolFrame_, nullptr, L"AtlAxWin", nullptr) : nullptr;
    document_ = container ? ::GetWindow(container, GW_CHILD) : nullptr;
  }
  // Closes the frame as the user does, which disconnects the add-in.
  void CloseFrame() {
    if (main_ && ::IsWindow(main_)) ::SendMessageW(main_, WM_CLOSE, 0, 0);
    frame_.reset();
    Pump();  // takes the quit message the frame posts
    main_ = toolFrame_ = document_ = nullptr;
  }

  // Add-Ins > "Add-In Manager...", answered by AnswerManager.
  void UseAddInManager() {
    HMENU addIns = ::GetSubMenu(::GetMenu(main_), 1);
    const Strings texts = MenuTexts(addIns);
    const auto item = std::find(texts.begin(), texts.end(), L"&Add-In Manager...");
    ASSERT_NE(texts.end(), item);
    gManager = {};
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerManager);
    ::SendMessageW(main_, WM_COMMAND,
                   ::GetMenuItemID(addIns, static_cast<int>(item - texts.begin())), 0);
    ::KillTimer(nullptr, timer);
    Pump();
    ASSERT_TRUE(gManager.seen);
  }
  bool AddInsMenuHas(const wchar_t* text) const {
    return Contains(MenuTexts(::GetSubMenu(::GetMenu(main_), 1)), text);
  }

  // A method of the docked document's own interface, called as the add-in's code calls it.
  HRESULT CallDocument(const wchar_t* method) const {
    using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
    const auto get = reinterpret_cast<GetControl>(
        reinterpret_cast<void*>(::GetProcAddress(::LoadLibraryW(L"atl.dll"), "AtlAxGetControl")));
    com_ptr<IUnknown> control;
    HWND container = ::FindWindowExW(toolFrame_, nullptr, L"AtlAxWin", nullptr);
    if (!get || FAILED(get(container, control.put()))) return E_FAIL;
    com_ptr<IDispatch> document;
    control->QueryInterface(IID_IDispatch, document.put_void());
    if (!document) return E_NOINTERFACE;
    std::wstring name = method;
    LPOLESTR names[] = {name.data()};
    DISPID id = 0;
    HRESULT hr = document->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    DISPPARAMS none{};
    if (SUCCEEDED(hr))
      hr = document->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                            nullptr, nullptr);
    Pump();
    return hr;
  }
  Strings ProjectLines() const {
    HWND projects = ::FindWindowExW(main_, nullptr, L"LISTBOX", nullptr);
    Strings lines;
    for (int i = 0; i < ::SendMessageW(projects, LB_GETCOUNT, 0, 0); ++i) {
      wchar_t line[512] = {};
      ::SendMessageW(projects, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
      lines.push_back(line);
    }
    return lines;
  }

  HWND Control(int id) const { return ::GetDlgItem(document_, id); }
  HWND Recent() const { return Control(SkeldraWindowIds::kRecent); }
  HWND Favorites() const { return Control(SkeldraWindowIds::kFavorites); }
  HWND Tabs() const { return Control(SkeldraWindowIds::kTabStrip); }
  HWND Bar() const { return Control(SkeldraWindowIds::kToolbar); }
  HWND Fields() const { return Control(SkeldraWindowIds::kCustomize); }
  HWND MainToolbar() const { return ::FindWindowExW(main_, nullptr, TOOLBARCLASSNAMEW, nullptr); }

  void ClickTab(int index) {
    RECT r{};
    ASSERT_TRUE(TabCtrl_GetItemRect(Tabs(), index - 1, &r));
    ClickAndPump(Tabs(), Centre(r));
  }

  // The texts of the properties page's text boxes.
  Strings PropertyBoxes() const {
    Strings texts;
    HWND frame = Control(SkeldraWindowIds::kFrame);
    for (HWND child = ::GetWindow(frame, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      wchar_t name[32] = {};
      ::GetClassNameW(child, name, 32);
      if (::lstrcmpiW(name, L"Edit") == 0) texts.push_back(WindowText(child));
    }
    return texts;
  }

  Strings MainToolbarTexts() const {
    Strings texts;
    HWND bar = MainToolbar();
    for (int i = 0; i < ::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0); ++i) {
      wchar_t text[128] = {};
      ::SendMessageW(bar, TB_GETBUTTONTEXTW, CommandAt(bar, i), reinterpret_cast<LPARAM>(text));
      texts.push_back(text);
    }
    return texts;
  }

  Strings savedRecent_;
  std::wstring folder_, alpha_, bravo_, charlie_, missing_;
  std::unique_ptr<standin_app::MainFrame> frame_;
  HWND main_ = nullptr, toolFrame_ = nullptr, document_ = nullptr;
};

TEST_F(EndToEnd, TheUserBrowsesSortsCustomizesKeepsFavouritesAndOpensAProject) {
  ASSERT_NO_FATAL_FAILURE(StartFrame());
  // Start-up with DisplayOnConnect "1": the window shows, with both entries in the IDE's bars.
  ASSERT_TRUE(document_) << "the add-in's window is docked";
  EXPECT_TRUE(::IsWindowVisible(toolFrame_));
  EXPECT_TRUE(Contains(MenuTexts(::GetSubMenu(::GetMenu(main_), 1)), L"Skeldra"));
  EXPECT_TRUE(Contains(MainToolbarTexts(), L"Skeldra"));
  EXPECT_TRUE(::IsWindowVisible(Recent()));
  EXPECT_EQ((Strings{L"1", L"2", L"3"}), Texts(Recent()));
  EXPECT_EQ((Strings{bravo_, missing_, alpha_}), Texts(Recent(), ColumnOf(Recent(), L"Path")));
  EXPECT_EQ((Strings{L"Bravo", L"", L"Alpha"}), Texts(Recent(), ColumnOf(Recent(), L"Name")));
  EXPECT_EQ((Strings{L"", L"", L"Alpha Title"}), Texts(Recent(), ColumnOf(Recent(), L"Title")));
  EXPECT_EQ((Strings{L"2.5.0", L"", L"1.2.3"}), Texts(Recent(), ColumnOf(Recent(), L"Version")));
  EXPECT_EQ((Strings{L"", L"", L"Alpha Suite"}),
            Texts(Recent(), ColumnOf(Recent(), L"Product Name")));
  const int columns = Header_GetItemCount(ListView_GetHeader(Recent()));
  ASSERT_EQ(9, columns);
  for (int column = 1; column < columns; ++column) {
    if (column != ColumnOf(Recent(), L"Path")) {
      EXPECT_EQ(L"", Texts(Recent(), column)[1]) << "the missing file shows number and path only";
    }
  }
  EXPECT_EQ(ImageOf(Recent(), 0), ImageOf(Recent(), 2));
  EXPECT_NE(ImageOf(Recent(), 0), ImageOf(Recent(), 1)) << "the missing file's icon differs";

  // Sorting by Path: up, then down; by N: up again.
  ClickHeader(Recent(), ColumnOf(Recent(), L"Path"));
  EXPECT_EQ((Strings{L"3", L"1", L"2"}), Texts(Recent())) << "alpha, bravo, missing";
  ClickHeader(Recent(), ColumnOf(Recent(), L"Path"));
  EXPECT_EQ((Strings{L"2", L"1", L"3"}), Texts(Recent()));
  ClickHeader(Recent(), 0);
  EXPECT_EQ((Strings{L"1", L"2", L"3"}), Texts(Recent()));

  // Customize: the field list shows; checking Name and Version shows their columns in both lists.
  const int customize = CommandAt(Bar(), 2);
  ClickButton(Bar(), customize);
  EXPECT_TRUE(::SendMessageW(Bar(), TB_ISBUTTONCHECKED, customize, 0));
  ASSERT_TRUE(::IsWindowVisible(Fields()));
  for (const wchar_t* field : {L"Name", L"Version"}) {
    const int column = ColumnOf(Recent(), field);
    EXPECT_EQ(0, ListView_GetColumnWidth(Recent(), column)) << field << " starts hidden";
    const Strings fields = Texts(Fields());
    const auto place = static_cast<int>(std::find(fields.begin(), fields.end(), field) - fields.begin());
    ASSERT_LT(place, static_cast<int>(fields.size())) << field;
    ClickCheckBox(Fields(), place);
    EXPECT_TRUE(ListView_GetCheckState(Fields(), place)) << field;
    EXPECT_GT(ListView_GetColumnWidth(Recent(), column), 0) << field;
    EXPECT_GT(ListView_GetColumnWidth(Favorites(), column), 0) << field;
  }
  ClickButton(Bar(), customize);
  EXPECT_FALSE(::IsWindowVisible(Fields()));

  // Properties of the selected row.
  Press(Recent(), L"3");
  ClickTab(3);
  EXPECT_EQ(2, TabCtrl_GetCurSel(Tabs()));
  EXPECT_TRUE(::IsWindowVisible(Control(SkeldraWindowIds::kFrame)));
  EXPECT_EQ(L"Alpha", WindowText(Control(SkeldraWindowIds::kFrame)));
  const Strings boxes = PropertyBoxes();
  for (const wchar_t* text : {L"Alpha", L"Alpha Title", L"1.2.3"})
    EXPECT_TRUE(Contains(boxes, text)) << text;

  // Favourites: added from the recent list's menu, shown on their tab, removed from theirs.
  ClickTab(1);
  Press(Recent(), L"3", WM_RBUTTONDOWN, 1);  // "Add to Favorites"
  EXPECT_EQ(alpha_, Value(kFavoritesKey, L"2"));
  ClickTab(2);
  EXPECT_EQ(1, TabCtrl_GetCurSel(Tabs()));
  EXPECT_TRUE(::IsWindowVisible(Favorites()));
  EXPECT_FALSE(::IsWindowVisible(Recent()));
  EXPECT_EQ((Strings{charlie_, alpha_}), Texts(Favorites(), ColumnOf(Favorites(), L"Path")));
  Press(Favorites(), L"2", WM_RBUTTONDOWN, 1);  // "Remove"
  EXPECT_EQ(L"(none)", Value(kFavoritesKey, L"2"));
  EXPECT_EQ(charlie_, Value(kFavoritesKey, L"1"));
  EXPECT_EQ((Strings{charlie_}), Texts(Favorites(), ColumnOf(Favorites(), L"Path")));

  // A double-click opens the project in the IDE, which puts it first in its recent list.
  ClickTab(1);
  Press(Recent(), L"3");
  Press(Recent(), L"3", WM_LBUTTONDBLCLK);
  Pump();
  EXPECT_EQ((Strings{alpha_, bravo_, missing_}), standin_app::ReadRecentFiles());
  HWND projects = ::FindWindowExW(main_, nullptr, L"LISTBOX", nullptr);
  ASSERT_EQ(1, ::SendMessageW(projects, LB_GETCOUNT, 0, 0));
  wchar_t line[512] = {};
  ::SendMessageW(projects, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
  EXPECT_NE(std::wstring::npos, std::wstring(line).find(alpha_)) << line;
  EXPECT_NE(std::wstring::npos, WindowText(main_).find(L"Alpha")) << "the title names it";
}

TEST_F(EndToEnd, AClosedWindowStaysHiddenNextTimeAndUnregisteringLeavesNothing) {
  ASSERT_NO_FATAL_FAILURE(StartFrame());
  ASSERT_TRUE(toolFrame_ && ::IsWindowVisible(toolFrame_));
  ::SendMessageW(toolFrame_, WM_CLOSE, 0, 0);  // the tool window's close box
  EXPECT_FALSE(::IsWindowVisible(toolFrame_));
  CloseFrame();
  EXPECT_EQ(L"0", Value(kSettingKey, L"DisplayOnConnect"));

  ASSERT_NO_FATAL_FAILURE(StartFrame());
  EXPECT_FALSE(toolFrame_ && ::IsWindowVisible(toolFrame_)) << "the window stays hidden";
  const Strings buttons = MainToolbarTexts();
  const auto button = std::find(buttons.begin(), buttons.end(), L"Skeldra");
  ASSERT_NE(buttons.end(), button) << "the toolbar button is there";
  ClickButton(MainToolbar(), CommandAt(MainToolbar(), static_cast<int>(button - buttons.begin())));
  HWND dock = ::FindWindowExW(main_, nullptr, L"MarrowbyStandInDock", nullptr);
  toolFrame_ = ::GetWindow(dock, GW_CHILD);
  EXPECT_TRUE(toolFrame_ && ::IsWindowVisible(toolFrame_)) << "the button shows the window";
  CloseFrame();
  EXPECT_EQ(L"1", Value(kSettingKey, L"DisplayOnConnect")) << "shown at exit";

  CLSID connect{}, skeldra{};
  ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"Marrowby.Connect", &connect));
  ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"Marrowby.Skeldra", &skeldra));
  ASSERT_EQ(0u, Regsvr32(L"/u"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAddinKey));
  for (const CLSID* clsid : {&connect, &skeldra}) {
    wchar_t text[64] = {};
    ::StringFromGUID2(*clsid, text, 64);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + text)) << text;
  }
  for (const wchar_t* progId : {L"Marrowby.Connect", L"Marrowby.Skeldra"}) {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, progId)) << progId;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::wstring(L"Software\\Classes\\") + progId));
  }
}

TEST_F(EndToEnd, TheAddInManagerUnloadsAndLoadsTheAddIn) {
  ASSERT_NO_FATAL_FAILURE(StartFrame());
  ASSERT_TRUE(toolFrame_ && ::IsWindowVisible(toolFrame_));
  ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingKey, L"DisplayOnConnect");

  ASSERT_NO_FATAL_FAILURE(UseAddInManager());
  EXPECT_TRUE(Contains(gManager.names, L"Tolvane Skeldra  (Marrowby.Connect)"));
  EXPECT_TRUE(gManager.boxWas) << "listed as loaded";
  EXPECT_FALSE(gManager.boxNow);
  EXPECT_FALSE(AddInsMenuHas(L"Skeldra"));
  EXPECT_FALSE(Contains(MainToolbarTexts(), L"Skeldra"));
  EXPECT_EQ(L"1", Value(kSettingKey, L"DisplayOnConnect")) << "written on disconnection";

  std::vector<HWND> before;
  for (HWND child = ::GetWindow(Dock(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    before.push_back(child);
  ASSERT_NO_FATAL_FAILURE(UseAddInManager());
  EXPECT_FALSE(gManager.boxWas) << "listed as not loaded";
  EXPECT_TRUE(gManager.boxNow);
  EXPECT_TRUE(AddInsMenuHas(L"Skeldra"));
  EXPECT_TRUE(Contains(MainToolbarTexts(), L"Skeldra"));
  HWND shown = nullptr;
  for (HWND child = ::GetWindow(Dock(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    if (std::find(before.begin(), before.end(), child) == before.end() && ::IsWindowVisible(child))
      shown = child;
  EXPECT_TRUE(shown) << "a new window shows";
}

TEST_F(EndToEnd, TheDocumentRemovesTheActiveProjectAndOpensOneFromTheDialog) {
  ASSERT_NO_FATAL_FAILURE(StartFrame(standin_app::Options{L"", {alpha_}}));
  ASSERT_EQ(1u, ProjectLines().size());
  EXPECT_EQ(S_OK, CallDocument(L"RemoveProject"));
  EXPECT_TRUE(ProjectLines().empty()) << "the active project goes";
  EXPECT_EQ(std::wstring::npos, WindowText(main_).find(L"Alpha"));

  gTypedPath = charlie_;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, AnswerOpen);
  EXPECT_EQ(S_OK, CallDocument(L"OpenProject"));
  ::KillTimer(nullptr, timer);
  const Strings lines = ProjectLines();
  ASSERT_EQ(1u, lines.size());
  EXPECT_NE(std::wstring::npos, lines[0].find(charlie_)) << lines[0];
  const Strings recent = standin_app::ReadRecentFiles();
  ASSERT_FALSE(recent.empty());
  EXPECT_EQ(charlie_, recent[0]);
}

TEST_F(EndToEnd, TheAboutButtonShowsTheVersion) {
  ASSERT_NO_FATAL_FAILURE(StartFrame());
  ASSERT_TRUE(document_);
  gAboutTexts.clear();
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerAbout);
  ClickButton(Bar(), CommandAt(Bar(), 3));
  ::KillTimer(nullptr, timer);
  ASSERT_FALSE(gAboutTexts.empty()) << "the About box showed";
  EXPECT_TRUE(Contains(gAboutTexts, L"Version 1.0.1"));
  EXPECT_FALSE(::FindWindowW(L"#32770", L"About Skeldra")) << "OK closed it";
}

}  // namespace
