#include "browser/tests/win32/RealWindow.h"

#include "platform/tests/win32/UserInput.h"

#include <commctrl.h>

#include <cmath>
#include <stdexcept>

#include "ide/mMain.h"
#include "ui/win32/Win32Controls.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

int ScreenDpi(int index) {
  HDC dc = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(dc, index);
  ::ReleaseDC(nullptr, dc);
  return dpi;
}

std::wstring ItemText(HWND list, int place, int subItem) {
  wchar_t text[512] = L"";
  ListView_GetItemText(list, place, subItem, text, 512);
  return text;
}

}  // namespace

HINSTANCE TestModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

unique_hwnd MakeTopWindow() {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                    ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&classes);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = TestModule();
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = L"MarrowbyTestHost";
  ::RegisterClassExW(&wc);  // fails harmlessly from the second test on
  // A frameless pop-up shown without activation: Wine's X11 driver hands such a window to no
  // window manager, so it does not wait two seconds for one to confirm each window's end.
  unique_hwnd top(::CreateWindowExW(0, wc.lpszClassName, L"Host", WS_POPUP | WS_CLIPCHILDREN,
                                    0, 0, 720, 560, nullptr, nullptr, TestModule(), nullptr));
  if (!top) throw std::runtime_error("no top-level window");
  ::ShowWindow(top.get(), SW_SHOWNOACTIVATE);
  return top;
}

int PixelsX(float twips) { return static_cast<int>(std::lround(twips * ScreenDpi(LOGPIXELSX) / 1440.0)); }
int PixelsY(float twips) { return static_cast<int>(std::lround(twips * ScreenDpi(LOGPIXELSY) / 1440.0)); }

static std::unique_ptr<Win32SkeldraWindow> MakeWindow(HWND parent, ModalForm& about) {
  auto window = Win32SkeldraWindow::Create(parent, TestModule(), about);
  if (!window) throw std::runtime_error("no document window");
  return window;
}

RealWindowTest::RealWindowTest()
    : top_(MakeTopWindow()),
      window_(MakeWindow(top_.get(), about_)),
      c_(window_->Controls()),
      world_(MakeWin32FileWorld()),
      reg_(registry_, world_->Ansi()),
      lists_(reg_, world_->Files(), world_->Ansi()),
      doc_(c_, lists_, msgBox_) {
  gVBE = host_;
  window_->onResize = [this] { doc_.UserDocument_Resize(); };
  ::ShowWindow(window_->Handle(), SW_SHOW);
}

RealWindowTest::~RealWindowTest() {
  window_->onResize = nullptr;
  gVBE.reset();
}

std::wstring RealWindowTest::Project(std::wstring_view fileName, const Vbp& vbp) {
  world_->AddFile(fileName, vbp.Text());
  return world_->PathOf(fileName);
}

void RealWindowTest::SetRecent(const std::vector<std::pair<std::wstring, std::wstring>>& values) {
  for (const auto& [name, path] : values) reg_.RegSetKeyValue(kHkeyCurrentUser, kRecentFilesKey, name, path);
}

void RealWindowTest::SetFavorites(const std::vector<std::pair<std::wstring, std::wstring>>& values) {
  for (const auto& [name, path] : values) reg_.RegSetKeyValue(kHkeyCurrentUser, kFavoritesKey, name, path);
}

void RealWindowTest::Open() {
  doc_.UserDocument_Initialize();
  SizeDocument(PixelsX(6000), PixelsY(4000));
  doc_.UserDocument_Show();
  doc_.View();
}

void RealWindowTest::SizeDocument(int width, int height) {
  ::SetWindowPos(window_->Handle(), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void RealWindowTest::ClickTab(int index) {
  RECT r{};
  ASSERT_TRUE(TabCtrl_GetItemRect(HandleOf(c_.TabStrip1), index - 1, &r));
  Click(HandleOf(c_.TabStrip1), Centre(r));
}

void RealWindowTest::ClickButton(std::wstring_view key) {
  HWND bar = HandleOf(c_.Toolbar1);
  const int command = dynamic_cast<Win32Toolbar&>(c_.Toolbar1).CommandOf(key);
  RECT r{};
  ASSERT_TRUE(::SendMessageW(bar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&r)));
  Click(bar, Centre(r));
}

void RealWindowTest::ClickCheckBox(ListView& list, int place) {
  HWND hwnd = HandleOf(list);
  RECT row{};
  ASSERT_TRUE(ListView_GetItemRect(hwnd, place, &row, LVIR_BOUNDS));
  // The box is at the row's left end: find it by the control's own hit test.
  for (int x = row.left; x < row.left + 40; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, (row.top + row.bottom) / 2};
    if (ListView_HitTest(hwnd, &hit) == place && (hit.flags & LVHT_ONITEMSTATEICON)) {
      Click(hwnd, hit.pt);
      return;
    }
  }
  ADD_FAILURE() << "no check box in row " << place;
}

void RealWindowTest::Press(ListView& list, std::wstring_view number, UINT downMessage, int choice) {
  HWND hwnd = HandleOf(list);
  const int place = PlaceOf(list, number);
  RECT row{};
  ASSERT_TRUE(ListView_GetItemRect(hwnd, place, &row, LVIR_BOUNDS));
  const POINT p{row.left + 12, (row.top + row.bottom) / 2};
  gMenuChoice = choice;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, AnswerMenu);
  Click(hwnd, p, downMessage);
  ::KillTimer(nullptr, timer);  // when no menu showed
}

std::vector<std::wstring> RealWindowTest::Texts(ListView& list, int subItem) {
  HWND hwnd = HandleOf(list);
  std::vector<std::wstring> texts;
  for (int i = 0; i < ListView_GetItemCount(hwnd); ++i) texts.push_back(ItemText(hwnd, i, subItem));
  return texts;
}

int RealWindowTest::PlaceOf(ListView& list, std::wstring_view number) {
  const auto texts = Texts(list);
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (texts[i] == number) return static_cast<int>(i);
  return -1;
}

