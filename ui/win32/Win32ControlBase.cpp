#include "ui/win32/Win32ControlBase.h"

#include <algorithm>
#include <cmath>

#include "platform/Error.h"

Twips::Twips(int dpiX, int dpiY) : dpiX_(dpiX > 0 ? dpiX : 96), dpiY_(dpiY > 0 ? dpiY : 96) {}

int Twips::ToPixels(float twips, int dpi) {
  // Far beyond any screen, sizes stop growing rather than overflow.
  constexpr double kLimit = 1 << 24;
  const double pixels = static_cast<double>(twips) * dpi / 1440.0;
  if (!(pixels == pixels)) return 0;  // NaN
  return static_cast<int>(std::lround(std::clamp(pixels, -kLimit, kLimit)));
}

float Twips::FromPixels(int pixels, int dpi) {
  return static_cast<float>(pixels * 1440.0 / dpi);
}

HWND CreateChild(DWORD exStyle, const wchar_t* windowClass, DWORD style, HWND parent, int id) {
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  HWND hwnd = ::CreateWindowExW(exStyle, windowClass, L"", WS_CHILD | style, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                nullptr);
  if (!hwnd) ThrowOutOfMemory(windowClass);
  ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
  return hwnd;
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(std::max(0, ::GetWindowTextLengthW(hwnd))) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

RECT RectInParent(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}
