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
