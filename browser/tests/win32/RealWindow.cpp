#include "browser/tests/win32/RealWindow.h"

#include <commctrl.h>

#include <cmath>
#include <stdexcept>

#include "platform/tests/win32/UserInput.h"
#include "ui/win32/Win32Controls.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE TestModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

unique_hwnd MakeTopWindow() {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                    ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&classes);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = TestModule();
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

int Pixels(float twips, int axis) {
  HDC dc = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(dc, axis);
  ::ReleaseDC(nullptr, dc);
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

Strings Texts(HWND list, int subItem) {
  Strings texts;
  for (int i = 0; i < ListView_GetItemCount(list); ++i) {
    wchar_t text[512] = L"";
    ListView_GetItemText(list, i, subItem, text, 512);
    texts.push_back(text);
  }
  return texts;
}

RealWindowTest::RealWindowTest() : DocumentRig(MakeWin32FileWorld(), window_->Controls()) {
  window_->onResize = [this] { doc_.UserDocument_Resize(); };
  ::ShowWindow(window_->Handle(), SW_SHOW);
}

void RealWindowTest::Size(float width, float height) {
  ::SetWindowPos(window_->Handle(), nullptr, 0, 0, Pixels(width), Pixels(height, LOGPIXELSY),
                 SWP_NOZORDER | SWP_NOACTIVATE);
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
  for (LVHITTESTINFO hit{{row.left, (row.top + row.bottom) / 2}}; hit.pt.x < row.left + 40; ++hit.pt.x) {
    if (ListView_HitTest(hwnd, &hit) == place && (hit.flags & LVHT_ONITEMSTATEICON))
      return Click(hwnd, hit.pt);
  }
  ADD_FAILURE() << "no check box in row " << place;
}

void RealWindowTest::RightClickFirstRow(ListView& list) {
  RECT row{};
  ASSERT_TRUE(ListView_GetItemRect(HandleOf(list), 0, &row, LVIR_BOUNDS));
  gMenuChoice = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, AnswerMenu);
  Click(HandleOf(list), POINT{row.left + 12, (row.top + row.bottom) / 2}, WM_RBUTTONDOWN);
  ::KillTimer(nullptr, timer);  // when no menu showed
}
