#include "browser/tests/win32/RealWindow.h"

#include <commctrl.h>

#include <cmath>

extern "C" IMAGE_DOS_HEADER __ImageBase;

RealWindowHolder::RealWindowHolder() {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                    ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&classes);
  const auto module = reinterpret_cast<HINSTANCE>(&__ImageBase);  // the test program's
  WNDCLASSEXW wc{.cbSize = sizeof(wc), .lpfnWndProc = ::DefWindowProcW, .hInstance = module,
                 .lpszClassName = L"MarrowbyTestHost"};
  ::RegisterClassExW(&wc);  // fails harmlessly from the second test on
  // A frameless pop-up shown without activation: Wine's X11 driver hands such a window to no
  // window manager, so it does not wait two seconds for one to confirm each window's end.
  top_.reset(::CreateWindowExW(0, wc.lpszClassName, L"Host", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                               720, 560, nullptr, nullptr, module, nullptr));
  ::ShowWindow(top_.get(), SW_SHOWNOACTIVATE);
  window_ = Win32SkeldraWindow::Create(top_.get(), module, about_);
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
