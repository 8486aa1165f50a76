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
#include "standin/app/MainFrame.h"

namespace {

using Strings = std::vector<std::wstring>;
namespace Ids = SkeldraWindowIds;

constexpr wchar_t kRecentKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles";
constexpr wchar_t kFavoritesKey[] = L"Software\\Tolvane\\Skeldra\\Favorites";
constexpr int kPath = 2;  // the lists' path column, as created

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

// The clipboard's text as Unicode, then as ANSI; "(none)" when it holds none.
std::wstring Clipboard() {
  ::OpenClipboard(nullptr);
  HANDLE wide = ::GetClipboardData(CF_UNICODETEXT), ansi = ::GetClipboardData(CF_TEXT);
  const auto* a = wide && ansi ? static_cast<const char*>(::GlobalLock(ansi)) : "";
  std::wstring text = wide ? static_cast<const wchar_t*>(::GlobalLock(wide)) : L"(none)";
  text += L"|" + std::wstring(a, a + std::strlen(a));
  ::GlobalUnlock(wide), ::GlobalUnlock(ansi), ::CloseClipboard();
  return text;
}

// The paths a list shows, in order.
Strings Texts(HWND list) {
  Strings texts;
  for (int i = 0; i < ListView_GetItemCount(list); ++i) {
    wchar_t text[512] = {};
    ListView_GetItemText(list, i, kPath, text, 512);
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

// Whether each row of the recent list is drawn in the grey of disabled text, as the document
// answers the list's custom draw: the document window's notices seen after it has handled them.
HWND gRecent = nullptr;
std::vector<bool> gGreyRows;
LRESULT CALLBACK NoteGrey(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR) {
  const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
  const auto& draw = *reinterpret_cast<const NMLVCUSTOMDRAW*>(lParam);
  if (message == WM_NOTIFY && draw.nmcd.hdr.hwndFrom == gRecent &&
      draw.nmcd.hdr.code == NM_CUSTOMDRAW && draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
    gGreyRows.push_back(draw.clrText == ::GetSysColor(COLOR_GRAYTEXT));
  return result;
}

// Answers each pop-up menu as gMenuChoice says (see AnswerMenu), from a timer that stays.
void CALLBACK AnswerMenus(HWND, UINT, UINT_PTR, DWORD) { AnswerMenu(nullptr, 0, 0, 0); }

// The stand-in started as standin.exe starts it, which connects the add-in, over the user's
// recent projects and a favourite; the add-in's window in place, its list read from the IDE's
// keys and the missing file's row grey, then every key it claims, the filter, the sort arrow, the
// pop-up menu's items and the cut path's tip, as the user meets them.
TEST(EndToEnd, TheListsKeysReachTheWindowBeforeTheIdesShortcutsWhichKeepTheirOwnKeys) {
  ::OleInitialize(nullptr);
  ASSERT_EQ(0u, Regsvr32(L""));
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, AnswerMenus);
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "marrowby-e2e";
  const std::wstring alpha = folder / "Alpha.vbp", bravo = folder / "Bravo.vbp",
                     charlie = folder / "Charlie.vbp", missing = folder / "Missing.vbp";
  std::filesystem::create_directories(folder);
  for (const std::string name : {"Alpha", "Bravo", "Charlie"})
    std::ofstream(folder / (name + ".vbp")) << "Type=Exe\nName=\"" << name << "\"\n";
  for (const wchar_t* key : {kRecentKey, kFavoritesKey, kShownSettingKey})
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key);
  const Strings recentFiles{bravo, missing, alpha};
  for (int i = 0; i < 3; ++i)
    SetRegText(kRecentKey, std::to_wstring(i + 1).c_str(), recentFiles[i]);
  SetRegText(kFavoritesKey, L"1", charlie);
  SetRegText(kShownSettingKey, L"DisplayOnConnect", L"1");
  auto frame = std::make_unique<standin_app::MainFrame>(standin_app::Options{});
  ASSERT_TRUE(frame->Create(::GetModuleHandleW(nullptr)));
  gFrame = frame.get();
  Pump();
  HWND mainWindow = ::FindWindowW(L"MarrowbyStandInFrame", nullptr),
       document = ::GetWindow(frame->Ide()->ToolWindows().at(0).window, GW_CHILD),  // the add-in's
       recent = ::GetDlgItem(document, Ids::kRecent), tabs = ::GetDlgItem(document, Ids::kTabStrip),
       favorites = ::GetDlgItem(document, Ids::kFavorites),
       filter = ::GetDlgItem(document, Ids::kFilter);
  EXPECT_EQ(recentFiles, Texts(recent)) << "as the IDE keeps them";
  gRecent = recent;
  ::SetWindowSubclass(document, NoteGrey, 0, 0);
  ::RedrawWindow(recent, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ::RemoveWindowSubclass(document, NoteGrey, 0);
  EXPECT_EQ((std::vector<bool>{false, true, false}), gGreyRows) << "the missing file's row";
  Press(recent, 2, WM_RBUTTONDOWN, 1);  // "Add to Favorites"
  Press(recent, 0);
  ASSERT_EQ(recent, ::GetFocus());

  HWND header = ListView_GetHeader(recent);
  RECT first{};
  Header_GetItemRect(header, 0, &first);
  Click(header, Centre(first));
  Pump();
  HDITEMW format{HDI_FORMAT};
  Header_GetItem(header, 0, &format);
  EXPECT_EQ(HDF_SORTUP, format.fmt & (HDF_SORTUP | HDF_SORTDOWN)) << "the sorted column's arrow";

  Key('C', 2);
  EXPECT_EQ(bravo + L"|" + bravo, Clipboard());
  Key(VK_DELETE);  // the IDE's list keeps its entries
  gMenuChoice = 0;
  Key(VK_F10, 1);
  EXPECT_EQ((Strings{L"Add to Favorites", L"Open Project", L"Properties", L"Copy Path",
                     L"Open Containing Folder"}),
            gMenuCaptions);
  Press(recent, 2, WM_RBUTTONDOWN, 4);  // "Copy Path"
  EXPECT_EQ(alpha + L"|" + alpha, Clipboard());
  // The path's cell is cut: its tip, asked for as the list asks its window, is the whole path.
  wchar_t tip[INFOTIPSIZE] = {};
  NMLVGETINFOTIPW ask{{recent, Ids::kRecent, LVN_GETINFOTIPW}, 0, tip, INFOTIPSIZE, 0, kPath};
  ::SendMessageW(::GetParent(recent), WM_NOTIFY, Ids::kRecent, reinterpret_cast<LPARAM>(&ask));
  EXPECT_EQ(bravo, std::wstring(tip));
  ::SendMessageW(filter, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(tip), INFOTIPSIZE);
  EXPECT_EQ(L"Filter", std::wstring(tip)) << "the filter box's cue banner";
  Press(recent, 2, WM_RBUTTONDOWN, 5);  // "Open Containing Folder": Explorer, on the folder
  HWND explorer = nullptr;
  for (int i = 0; i < 400 && !explorer; ++i, ::Sleep(50))
    explorer = ::FindWindowW(L"ExplorerWClass", folder.filename().c_str());
  EXPECT_TRUE(explorer) << "Explorer shows the file's folder";
  ::PostMessageW(explorer, WM_CLOSE, 0, 0);
  for (int i = 0; i < 100 && ::IsWindow(explorer); ++i) ::Sleep(50);
  SetRegText(kRecentKey, L"4", charlie);
  Key(VK_F5);
  EXPECT_EQ(4, ListView_GetItemCount(recent)) << "read again";
  Press(recent, 2);
  Key(VK_RETURN);
  EXPECT_EQ(1u, frame->Ide()->Projects().size()) << "the selected project opened";

  Key('F', 2);
  ASSERT_EQ(filter, ::GetFocus());
  for (wchar_t c : std::wstring(L"alp")) ::PostMessageW(filter, WM_CHAR, c, 1);
  Key(VK_DELETE);  // the box's own key
  EXPECT_EQ((Strings{alpha}), Texts(recent));
  Key(VK_TAB, 2);
  EXPECT_EQ((Strings{alpha}), Texts(favorites)) << "the filter holds on the other list";
  Key(VK_TAB, 3);
  Key(VK_ESCAPE);
  EXPECT_EQ(4, ListView_GetItemCount(recent)) << "cleared, every row is back";
  Key(VK_DOWN);
  EXPECT_EQ(recent, ::GetFocus());

  Key(VK_TAB, 2);
  EXPECT_EQ(1, TabCtrl_GetCurSel(tabs));
  ASSERT_EQ(favorites, ::GetFocus()) << "the focus follows to the list that shows";
  Press(favorites, 0);
  Key(VK_DELETE);
  EXPECT_EQ((Strings{alpha}), Texts(favorites)) << "the first favourite removed";
  EXPECT_EQ(Strings{}, frame->Ide()->IdeCommands()) << "the window's keys did not reach the IDE";

  HWND projects = ::FindWindowExW(mainWindow, nullptr, L"LISTBOX", nullptr);
  ::PostMessageW(projects, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ::PostMessageW(projects, WM_LBUTTONUP, 0, 0);
  Pump();
  ::SetFocus(projects);
  for (UINT key : {UINT{VK_F5}, UINT{VK_DELETE}}) Key(key);
  Key('C', 2);
  EXPECT_EQ((Strings{L"Start", L"Delete", L"Copy"}), frame->Ide()->IdeCommands());

  ::SendMessageW(mainWindow, WM_CLOSE, 0, 0);
  gFrame = nullptr;
  frame.reset();
  Pump();  // takes the quit message the frame posts
  std::filesystem::remove_all(folder);
  ::KillTimer(nullptr, timer);
  Regsvr32(L"/u");
  ::OleUninitialize();
}

}  // namespace
