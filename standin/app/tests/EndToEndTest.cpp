// The stand-in IDE with the add-in, end to end: the DLL registered for the machine, the prefix's
// own registry seeded as a user's would be, the main frame built in this process as
// standin.exe builds it, and the add-in's window driven by the messages a user's clicks send to
// its real controls. What the user sees is read back from the controls, what is stored from the
// registry.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "browser/win32/Win32SkeldraWindow.h"
#include "platform/tests/win32/UserInput.h"
#include "server/tests/TheDll.h"
#include "standin/app/AddInManager.h"
#include "standin/app/MainFrame.h"
#include "standin/app/RecentFiles.h"

namespace {

using Strings = std::vector<std::wstring>;
namespace Ids = SkeldraWindowIds;

constexpr wchar_t kRecentKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles";
constexpr wchar_t kFavoritesKey[] = L"Software\\Tolvane\\Skeldra\\Favorites";
constexpr int kPath = 2, kName = 3;  // the lists' columns, as created

// The stand-in's frame while it runs: the queue is emptied through its message loop's first look
// (the active control's keys, the IDE's shortcuts), as standin.exe's loop does.
standin_app::MainFrame* gFrame = nullptr;

void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (gFrame && gFrame->PreTranslate(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// A key pressed where the focus is, Shift (1) and Ctrl (2) held as mods says.
void Key(UINT key, int mods = 0) {
  BYTE state[256] = {};
  state[VK_SHIFT] = (mods & 1) ? 0x80 : 0;
  state[VK_CONTROL] = (mods & 2) ? 0x80 : 0;
  ::SetKeyboardState(state);
  ::PostMessageW(::GetFocus(), key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
  Pump();
  state[VK_SHIFT] = state[VK_CONTROL] = 0;
  ::SetKeyboardState(state);
}

// The clipboard's text in a format; "(none)" when it holds none.
std::wstring Clipboard(UINT format) {
  std::wstring text = L"(none)";
  ::OpenClipboard(nullptr);
  if (HANDLE data = ::GetClipboardData(format)) {
    const auto* ansi = static_cast<const char*>(::GlobalLock(data));
    text = format == CF_TEXT ? std::wstring(ansi, ansi + std::strlen(ansi))
                             : std::wstring(reinterpret_cast<const wchar_t*>(ansi));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

Strings Texts(HWND list, int column = 0) {
  Strings texts;
  for (int i = 0; i < ListView_GetItemCount(list); ++i) {
    wchar_t text[512] = {};
    ListView_GetItemText(list, i, column, text, 512);
    texts.push_back(text);
  }
  return texts;
}

// A press on the row, its pop-up menu answered with its choice-th item (0: closed).
void Press(HWND list, int row, UINT down = WM_LBUTTONDOWN, int choice = 0) {
  RECT r{};
  ASSERT_TRUE(ListView_GetItemRect(list, row, &r, LVIR_LABEL));
  gMenuChoice = choice;
  Click(list, Centre(r), down);
  Pump();
}

// Answers, from a timer, what shows: a pop-up menu (see AnswerMenu), and the Add-In Manager, whose
// one add-in's "Loaded" box is clicked, then OK, noting whether it was checked.
int gWasLoaded = -1;
void CALLBACK AnswerUser(HWND, UINT, UINT_PTR, DWORD) {
  AnswerMenu(nullptr, 0, 0, 0);  // timer 0: this timer stays
  HWND dialog = ::FindWindowW(L"#32770", L"Add-In Manager");
  if (!dialog || !::IsWindowVisible(dialog)) return;
  HWND box = ::GetDlgItem(dialog, standin_app::kAddInLoadedFirst);
  gWasLoaded = ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  ::SendMessageW(box, BM_CLICK, 0, 0);
  ::SendMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

class EndToEnd : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::OleInitialize(nullptr);
    ASSERT_EQ(0u, Regsvr32(L""));
    timer_ = ::SetTimer(nullptr, 0, 20, AnswerUser);
  }
  static void TearDownTestSuite() {
    ::KillTimer(nullptr, timer_);
    Regsvr32(L"/u");
    ::OleUninitialize();
  }

  void SetUp() override {
    std::filesystem::create_directories(folder_);
    for (const std::string name : {"Alpha", "Bravo", "Charlie"})
      std::ofstream(folder_ / (name + ".vbp")) << "Type=Exe\nName=\"" << name << "\"\n";
    for (const wchar_t* key : {kRecentKey, kFavoritesKey, kShownSettingKey})
      ::RegDeleteTreeW(HKEY_CURRENT_USER, key);
    SetRegText(kRecentKey, L"1", bravo_);
    SetRegText(kRecentKey, L"2", missing_);
    SetRegText(kRecentKey, L"3", alpha_);
    SetRegText(kFavoritesKey, L"1", charlie_);
    SetSetting(L"1");
  }
  void TearDown() override {
    if (main_ && ::IsWindow(main_)) ::SendMessageW(main_, WM_CLOSE, 0, 0);
    gFrame = nullptr;
    frame_.reset();
    Pump();  // takes the quit message the frame posts
    std::filesystem::remove_all(folder_);
  }

  // Starts the stand-in as standin.exe does, which connects the add-in.
  void Start(standin_app::Options options = {}) {
    frame_ = std::make_unique<standin_app::MainFrame>(std::move(options));
    ASSERT_TRUE(frame_->Create(::GetModuleHandleW(nullptr)));
    gFrame = frame_.get();
    Pump();
    main_ = ::FindWindowW(L"MarrowbyStandInFrame", nullptr);
    ASSERT_TRUE(main_);
  }
  // The add-in's tool window when it shows, and a control of its document.
  HWND ToolWindow() const {
    HWND dock = ::FindWindowExW(main_, nullptr, L"MarrowbyStandInDock", nullptr);
    for (HWND w = ::GetWindow(dock, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
      if (::IsWindowVisible(w)) return w;
    return nullptr;
  }
  HWND Control(int id) const { return ::GetDlgItem(::GetWindow(ToolWindow(), GW_CHILD), id); }
  // The command of the Add-Ins menu's item with the text; 0 when there is none.
  UINT MenuCommand(const wchar_t* text) const {
    HMENU addIns = ::GetSubMenu(::GetMenu(main_), 1);
    for (int i = 0; i < ::GetMenuItemCount(addIns); ++i) {
      wchar_t item[128] = {};
      ::GetMenuStringW(addIns, i, item, 128, MF_BYPOSITION);
      if (std::wstring(item) == text) return ::GetMenuItemID(addIns, i);
    }
    return 0;
  }
  // The main toolbar's button with the text; idCommand 0 when there is none.
  TBBUTTON Button(const wchar_t* text) const {
    HWND bar = ::FindWindowExW(main_, nullptr, TOOLBARCLASSNAMEW, nullptr);
    TBBUTTON button{};
    for (int i = 0; ::SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)); ++i) {
      wchar_t caption[128] = {};
      ::SendMessageW(bar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(caption));
      if (std::wstring(caption) == text) return button;
    }
    return TBBUTTON{};
  }
  // A menu item or toolbar button of the main frame chosen, and what it set going.
  void Command(UINT id) {
    ::SendMessageW(main_, WM_COMMAND, id, 0);
    Pump();
  }
  // Add-Ins > "Add-In Manager...", answered by AnswerManager.
  int ToggleInAddInManager() {
    gWasLoaded = -1;
    Command(MenuCommand(L"&Add-In Manager..."));
    return gWasLoaded;
  }

  const std::filesystem::path folder_ = std::filesystem::temp_directory_path() / "marrowby-e2e";
  const std::wstring alpha_ = folder_ / "Alpha.vbp", bravo_ = folder_ / "Bravo.vbp",
                     charlie_ = folder_ / "Charlie.vbp", missing_ = folder_ / "Missing.vbp";
  static inline UINT_PTR timer_ = 0;
  std::unique_ptr<standin_app::MainFrame> frame_;
  HWND main_ = nullptr;
};

TEST_F(EndToEnd, TheUserSeesTheRecentProjectsKeepsAFavouriteAndOpensOne) {
  ASSERT_NO_FATAL_FAILURE(Start(standin_app::Options{L"", {charlie_}}));
  HWND document = ::GetWindow(ToolWindow(), GW_CHILD);  // the control's, in place
  ASSERT_TRUE(document) << "DisplayOnConnect is 1: the window shows";
  HWND recent = Control(Ids::kRecent), favorites = Control(Ids::kFavorites);
  EXPECT_EQ((Strings{bravo_, missing_, alpha_}), Texts(recent, kPath)) << "as the IDE keeps them";
  EXPECT_EQ((Strings{L"Bravo", L"", L"Alpha"}), Texts(recent, kName)) << "read from the files";
  RECT inside{}, container{};
  ::GetClientRect(document, &inside);
  ::GetClientRect(::GetParent(document), &container);
  EXPECT_EQ(container.right, inside.right) << "the document fills its container";

  Press(recent, 2, WM_RBUTTONDOWN, 1);  // "Add to Favorites"
  EXPECT_EQ(alpha_, RegText(HKEY_CURRENT_USER, kFavoritesKey, L"2"));
  TabCtrl_SetCurFocus(Control(Ids::kTabStrip), 1);  // "Favorites"
  Pump();
  EXPECT_TRUE(::IsWindowVisible(favorites));
  EXPECT_EQ((Strings{charlie_, alpha_}), Texts(favorites, kPath));

  Press(favorites, 1);
  Press(favorites, 1, WM_LBUTTONDBLCLK);
  HWND projects = ::FindWindowExW(main_, nullptr, L"LISTBOX", nullptr);
  EXPECT_EQ(1, ::SendMessageW(projects, LB_GETCOUNT, 0, 0)) << "the project opened alone";
  EXPECT_EQ((Strings{alpha_, charlie_, bravo_, missing_}), standin_app::ReadRecentFiles());
}

TEST_F(EndToEnd, TheEntriesShowTheWindowAndTheAddInManagerUnloadsAndLoadsTheAddIn) {
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_NE(I_IMAGENONE, Button(L"Skeldra").iBitmap) << "the button has its face";
  ::SendMessageW(ToolWindow(), WM_CLOSE, 0, 0);  // the tool window's close box
  EXPECT_FALSE(ToolWindow());
  Command(MenuCommand(L"Skeldra"));
  EXPECT_TRUE(ToolWindow()) << "the Add-Ins menu's entry shows it";
  ::SendMessageW(ToolWindow(), WM_CLOSE, 0, 0);

  EXPECT_EQ(1, ToggleInAddInManager()) << "listed as loaded";
  EXPECT_EQ(0u, MenuCommand(L"Skeldra"));
  EXPECT_EQ(0, Button(L"Skeldra").idCommand);
  EXPECT_EQ(0, ToggleInAddInManager()) << "listed as unloaded";
  EXPECT_FALSE(ToolWindow()) << "it stays hidden, as it was left";
  Command(Button(L"Skeldra").idCommand);
  EXPECT_TRUE(ToolWindow()) << "the toolbar button shows it";
}

TEST_F(EndToEnd, TheListsKeysReachTheWindowBeforeTheIdesShortcutsWhichKeepTheirOwnKeys) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND recent = Control(Ids::kRecent), favorites = Control(Ids::kFavorites),
       filter = Control(Ids::kFilter), tabs = Control(Ids::kTabStrip);
  const auto& ideCommands = frame_->Ide()->IdeCommands();
  Press(recent, 0);
  ASSERT_EQ(recent, ::GetFocus());
  EXPECT_TRUE(frame_->Ide()->HasActiveObject()) << "the control made itself the active object";

  HWND header = ListView_GetHeader(recent);
  RECT first{};
  Header_GetItemRect(header, 0, &first);
  Click(header, Centre(first));
  Pump();
  HDITEMW format{HDI_FORMAT};
  Header_GetItem(header, 0, &format);
  EXPECT_EQ(HDF_SORTUP, format.fmt & (HDF_SORTUP | HDF_SORTDOWN)) << "the sorted column's arrow";
  wchar_t cue[16] = {};
  ::SendMessageW(filter, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 16);
  EXPECT_STREQ(L"Filter", cue);

  Key(VK_END);
  EXPECT_EQ(2, ListView_GetNextItem(recent, -1, LVNI_SELECTED))
      << "the list moves its selection itself";
  Key(VK_HOME);
  Key('C', 2);
  EXPECT_EQ(bravo_, Clipboard(CF_UNICODETEXT));
  EXPECT_EQ(bravo_, Clipboard(CF_TEXT));
  Key(VK_DELETE);
  EXPECT_EQ(3, ListView_GetItemCount(recent)) << "the IDE's list keeps its entries";
  gMenuChoice = 0;
  Key(VK_F10, 1);
  EXPECT_EQ((Strings{L"Add to Favorites", L"Open Project", L"Properties", L"Copy Path",
                     L"Open Containing Folder"}),
            gMenuCaptions);
  Press(recent, 2, WM_RBUTTONDOWN, 4);  // "Copy Path"
  EXPECT_EQ(alpha_, Clipboard(CF_UNICODETEXT));
  // The path's cell is cut: its tip, asked for as the list asks its window, is the whole path.
  wchar_t tip[INFOTIPSIZE] = {};
  NMLVGETINFOTIPW ask{{recent, Ids::kRecent, LVN_GETINFOTIPW}, 0, tip, INFOTIPSIZE, 0, kPath};
  ::SendMessageW(::GetParent(recent), WM_NOTIFY, Ids::kRecent, reinterpret_cast<LPARAM>(&ask));
  EXPECT_EQ(bravo_, std::wstring(tip));
  Press(recent, 2, WM_RBUTTONDOWN, 5);  // "Open Containing Folder": Explorer, on the folder
  HWND explorer = nullptr;
  for (int i = 0; i < 400 && !explorer; ++i, ::Sleep(50))
    explorer = ::FindWindowW(L"ExplorerWClass", folder_.filename().c_str());
  EXPECT_TRUE(explorer) << "Explorer shows the file's folder";
  ::PostMessageW(explorer, WM_CLOSE, 0, 0);
  for (int i = 0; i < 100 && ::IsWindow(explorer); ++i) ::Sleep(50);
  SetRegText(kRecentKey, L"4", charlie_);
  Key(VK_F5);
  EXPECT_EQ(4, ListView_GetItemCount(recent)) << "read again";
  Press(recent, 0);
  Key(VK_RETURN);
  EXPECT_EQ(1u, frame_->Ide()->Projects().size()) << "the selected project opened";

  Key('F', 2);
  ASSERT_EQ(filter, ::GetFocus());
  const int all = ListView_GetItemCount(recent);
  for (wchar_t c : std::wstring(L"alp")) ::PostMessageW(filter, WM_CHAR, c, 1);
  Key(VK_DELETE);  // the box's own key
  EXPECT_EQ((Strings{alpha_}), Texts(recent, kPath));
  Key(VK_TAB, 2);
  EXPECT_EQ(0, ListView_GetItemCount(favorites)) << "the filter holds on the other list";
  Key(VK_TAB, 3);
  EXPECT_EQ((Strings{alpha_}), Texts(recent, kPath)) << "and when the list is read again";
  Key(VK_ESCAPE);
  EXPECT_EQ(all, ListView_GetItemCount(recent)) << "cleared, every row is back";
  Key(VK_DOWN);
  EXPECT_EQ(recent, ::GetFocus());

  Key(VK_TAB, 2);
  EXPECT_EQ(1, TabCtrl_GetCurSel(tabs));
  ASSERT_EQ(favorites, ::GetFocus()) << "the focus follows to the list that shows";
  Press(favorites, 0);
  Key(VK_DELETE);
  EXPECT_EQ(0, ListView_GetItemCount(favorites)) << "the favourite removed";
  EXPECT_EQ(Strings{}, ideCommands) << "no key the window took reached the IDE's shortcuts";

  HWND projects = ::FindWindowExW(main_, nullptr, L"LISTBOX", nullptr);
  ::PostMessageW(projects, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ::PostMessageW(projects, WM_LBUTTONUP, 0, 0);
  Pump();
  EXPECT_FALSE(frame_->Ide()->HasActiveObject()) << "a click elsewhere ends its activity";
  ::SetFocus(projects);
  for (UINT key : {UINT{VK_F5}, UINT{VK_DELETE}}) Key(key);
  Key('C', 2);
  EXPECT_EQ((Strings{L"Start", L"Delete", L"Copy"}), ideCommands);
}

}  // namespace
