// The document class as another container hosts it: created by ProgID in Wine's ATL container
// window and in-place activated, with the stand-in IDE's object model, which a connection of the
// add-in gives every document of the DLL, and driven through its real controls with the messages
// a user's clicks send. The registry and the project files are the real ones of the test's Wine
// prefix.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ocidl.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "browser/win32/Win32SkeldraWindow.h"
#include "ide/win32/Extensibility.h"
#include "server/Marrowby_h.h"
#include "server/tests/TheDll.h"
#include "standin/StandInIde.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/unique_res.h"

namespace {

constexpr wchar_t kRecentKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles";
constexpr wchar_t kFavoritesKey[] = L"Software\\Tolvane\\Skeldra\\Favorites";

void SetValue(const wchar_t* key, const wchar_t* name, const std::wstring& data) {
  unique_hkey k;
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE,
                                             nullptr, k.put(), nullptr));
  ::RegSetValueExW(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

class HostedControl : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::OleInitialize(nullptr);
    ASSERT_EQ(0u, Regsvr32(L""));
    atl_ = ::LoadLibraryW(L"atl.dll");
    ASSERT_TRUE(atl_);
    auto init = reinterpret_cast<AtlAxWinInitFn>(
        reinterpret_cast<void*>(::GetProcAddress(atl_, "AtlAxWinInit")));
    getControl_ = reinterpret_cast<AtlAxGetControlFn>(
        reinterpret_cast<void*>(::GetProcAddress(atl_, "AtlAxGetControl")));
    ASSERT_TRUE(init && getControl_);
    init();  // false when an earlier test of the process registered the class already
  }
  static void TearDownTestSuite() {
    Regsvr32(L"/u");
    ::OleUninitialize();
  }

  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"marrowby-hosted";
    std::filesystem::create_directories(folder_);
    Write(L"orders.vbp", "Type=Exe\r\nName=\"Orders\"\r\nVersionProductName=\"Harbour Orders\"\r\n");
    Write(L"grid.vbp", "Type=Control\r\nName=\"Grid\"\r\nMajorVer=2\r\n");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kRecentKey);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kFavoritesKey);
    SetValue(kRecentKey, L"1", folder_ + L"\\orders.vbp");
    SetValue(kRecentKey, L"2", folder_ + L"\\missing.vbp");
    SetValue(kFavoritesKey, L"1", folder_ + L"\\grid.vbp");

    // The connection makes a window of its own in the stand-in, which stays hidden.
    dock_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    ide_ = standin::MakeStandInIde(dock_);
    standin::AddStandardBars(*ide_);
    ide_->AddAddIn(L"Marrowby.Connect", false);
    ASSERT_EQ(S_OK, CreateConnection(connect_));
    ASSERT_EQ(S_OK, connect_->OnConnection(ide_->Vbe().get(), ext_cm_Startup,
                                           ide_->AddIn(L"Marrowby.Connect").get(), nullptr));

    top_ = ::CreateWindowExW(0, L"STATIC", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                             420, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(top_);
    RECT client;
    ::GetClientRect(top_, &client);
    ax_ = ::CreateWindowExW(0, L"AtlAxWin", L"Marrowby.Skeldra", WS_CHILD | WS_VISIBLE, 0, 0,
                            client.right, client.bottom, top_, nullptr, ::GetModuleHandleW(nullptr),
                            nullptr);
    ASSERT_TRUE(ax_);
    com_ptr<IUnknown> control;
    ASSERT_EQ(S_OK, getControl_(ax_, control.put())) << "the ProgID is registered";
    skeldra_ = control.try_query<_Skeldra>();
    ASSERT_TRUE(skeldra_);
    document_ = ::GetWindow(ax_, GW_CHILD);
    ASSERT_TRUE(document_) << "the control is in-place active in the container's window";
  }

  void TearDown() override {
    skeldra_.reset();
    if (top_) ::DestroyWindow(top_);
    if (connect_) connect_->OnDisconnection(ext_dm_HostShutdown, nullptr);
    connect_.reset();
    ide_.reset();
    if (dock_) ::DestroyWindow(dock_);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kRecentKey);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kFavoritesKey);
    std::filesystem::remove_all(folder_);
  }

  void Write(const wchar_t* name, const std::string& text) {
    unique_file file(::CreateFileW((folder_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }

  HWND Control(int id) const { return ::GetDlgItem(document_, id); }
  HWND Recent() const { return Control(SkeldraWindowIds::kRecent); }
  HWND Favorites() const { return Control(SkeldraWindowIds::kFavorites); }
  HWND Tabs() const { return Control(SkeldraWindowIds::kTabStrip); }

  static std::vector<std::wstring> Texts(HWND list, int subItem = 0) {
    std::vector<std::wstring> texts;
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
      wchar_t text[512] = {};
      ListView_GetItemText(list, i, subItem, text, 512);
      texts.push_back(text);
    }
    return texts;
  }

  void Notify(HWND from, UINT code, int item = -1) {
    NMITEMACTIVATE n{};
    n.hdr.hwndFrom = from;
    n.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(from));
    n.hdr.code = code;
    n.iItem = item;
    ::SendMessageW(::GetParent(from), WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
  }

  void ClickTab(int index) {
    TabCtrl_SetCurSel(Tabs(), index - 1);
    Notify(Tabs(), TCN_SELCHANGE);
  }

  void Screenshot(const wchar_t* name) {
    RECT r;
    ::GetWindowRect(top_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    unique_res<HDC, ::DeleteDC> dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB};
    void* bits = nullptr;
    unique_res<HBITMAP, ::DeleteObject> bitmap(
        ::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ::SelectObject(dc.get(), bitmap.get());
    // What the screen shows: Wine's PrintWindow paints a window's background only.
    ::SetWindowPos(top_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::RedrawWindow(top_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(dc.get(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    const std::wstring folder = L"Z:" MARROWBY_SCREENSHOTS;
    std::filesystem::create_directories(folder);
    const DWORD stride = ((w * 3 + 3) & ~3), size = stride * h;
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size),
                          0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    unique_file out(::CreateFileW((folder + L"\\" + name + L".bmp").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(out.get(), &file, sizeof file, &written, nullptr);
    ::WriteFile(out.get(), &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
    ::WriteFile(out.get(), bits, size, &written, nullptr);
  }

  static inline HMODULE atl_ = nullptr;
  static inline AtlAxGetControlFn getControl_ = nullptr;
  std::wstring folder_;
  HWND dock_ = nullptr, top_ = nullptr, ax_ = nullptr, document_ = nullptr;
  std::unique_ptr<standin::StandInIde> ide_;
  com_ptr<IDTExtensibility2> connect_;
  com_ptr<_Skeldra> skeldra_;
};

TEST_F(HostedControl, ViewShowsTheRecentProjectsWithTheDefaultColumns) {
  ASSERT_EQ(S_OK, skeldra_->View());
  EXPECT_TRUE(::IsWindowVisible(Recent()));
  EXPECT_FALSE(::IsWindowVisible(Favorites()));
  EXPECT_EQ((std::vector<std::wstring>{L"1", L"2"}), Texts(Recent()));
  EXPECT_EQ((std::vector<std::wstring>{folder_ + L"\\orders.vbp", folder_ + L"\\missing.vbp"}),
            Texts(Recent(), 2));
  EXPECT_EQ((std::vector<std::wstring>{L"Harbour Orders", L""}), Texts(Recent(), 7));

  int order[9] = {};
  ASSERT_TRUE(ListView_GetColumnOrderArray(Recent(), 9, order));
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 7, 5, 6, 4, 8}), std::vector<int>(order, order + 9));
  EXPECT_GT(ListView_GetColumnWidth(Recent(), 0), 0);
  EXPECT_EQ(0, ListView_GetColumnWidth(Recent(), 1));
  EXPECT_EQ(ListView_GetColumnWidth(Recent(), 2), ListView_GetColumnWidth(Recent(), 7));
  Screenshot(L"hosted-recent");
}

TEST_F(HostedControl, TheUsersClicksOpenProjectsThroughTheHost) {
  ASSERT_EQ(S_OK, skeldra_->View());
  ClickTab(2);
  EXPECT_EQ(1, TabCtrl_GetCurSel(Tabs()));
  EXPECT_TRUE(::IsWindowVisible(Favorites()));
  EXPECT_EQ((std::vector<std::wstring>{L"Grid"}), Texts(Favorites(), 3));
  Screenshot(L"hosted-favorites");

  ListView_SetItemState(Favorites(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Notify(Favorites(), NM_DBLCLK, 0);
  ASSERT_EQ(1u, ide_->ProjectCalls().size());
  EXPECT_EQ(standin::ProjectCall::kOpened, ide_->ProjectCalls()[0].kind);
  EXPECT_EQ(folder_ + L"\\grid.vbp", ide_->ProjectCalls()[0].fileName);
  EXPECT_TRUE(ide_->ProjectCalls()[0].exclusive);

  // RemoveProject as a late-bound caller makes it: by name, through IDispatch.
  auto object = skeldra_.try_query<IDispatch>();
  DISPID id = 0;
  auto* name = const_cast<LPOLESTR>(L"RemoveProject");
  ASSERT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
  DISPPARAMS none{};
  ASSERT_EQ(S_OK, object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                                 nullptr, nullptr, nullptr));
  ASSERT_EQ(2u, ide_->ProjectCalls().size());
  EXPECT_EQ(standin::ProjectCall::kRemoved, ide_->ProjectCalls()[1].kind);
  EXPECT_EQ(S_OK, skeldra_->RemoveProject()) << "no project open: nothing to do";
  EXPECT_EQ(2u, ide_->ProjectCalls().size());
}

TEST_F(HostedControl, ABusyHostLeavesTheWindowAsItWas) {
  ide_->SetEnabled(L"File", 1, false);
  ASSERT_EQ(S_OK, skeldra_->View());
  EXPECT_EQ(0, ListView_GetItemCount(Recent())) << "nothing was loaded";
  ide_->SetEnabled(L"File", 1, true);
  ASSERT_EQ(S_OK, skeldra_->View());
  EXPECT_EQ(2, ListView_GetItemCount(Recent()));
}

TEST_F(HostedControl, TheDocumentFollowsTheContainersSize) {
  ASSERT_EQ(S_OK, skeldra_->View());
  ::MoveWindow(top_, 0, 0, 800, 600, TRUE);
  ::MoveWindow(ax_, 0, 0, 780, 560, TRUE);
  RECT document, tabs;
  ::GetClientRect(document_, &document);
  EXPECT_EQ(780, document.right);
  ::GetWindowRect(Tabs(), &tabs);
  EXPECT_EQ(780, tabs.right - tabs.left);
}

}  // namespace
