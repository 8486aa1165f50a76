#pragma once
// What a user's mouse does, as window messages, for tests that drive real controls under Wine
// and Windows alike.

#include <windows.h>

#include <string>
#include <vector>

inline LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }
inline POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

/// A press and release at the point of the window's client area. The release waits in the queue
/// as the user's would: Windows' list view takes it from there while it watches the press for the
/// start of a drag (Wine's watches mouse moves instead and leaves it), and what is left is
/// dispatched after the press.
inline void Click(HWND hwnd, POINT p, UINT down = WM_LBUTTONDOWN) {
  const bool right = down == WM_RBUTTONDOWN;
  const UINT up = right ? WM_RBUTTONUP : WM_LBUTTONUP;
  ::PostMessageW(hwnd, up, 0, At(p));
  ::SendMessageW(hwnd, down, right ? MK_RBUTTON : MK_LBUTTON, At(p));
  MSG release;
  if (::PeekMessageW(&release, hwnd, up, up, PM_REMOVE)) ::DispatchMessageW(&release);
}

/// The item a pop-up menu opened by the next click is answered with: 0 closes it, k picks its
/// kth item. The answer is typed from a timer once the menu shows, since the menu's modal loop
/// dispatches the timer's message.
inline int gMenuChoice = 0;
inline std::vector<std::wstring> gMenuCaptions;  // the items of the last menu answered
inline void CALLBACK AnswerMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menu = ::FindWindowW(L"#32768", nullptr);
  if (!menu || !::IsWindowVisible(menu)) return;  // not open yet
  ::KillTimer(nullptr, timer);
  gMenuCaptions.clear();
  if (auto items = reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0))) {
    for (int i = 0; i < ::GetMenuItemCount(items); ++i) {
      wchar_t text[64] = {};
      ::GetMenuStringW(items, i, text, 64, MF_BYPOSITION);
      gMenuCaptions.push_back(text);
    }
  }
  for (int i = 0; i < gMenuChoice; ++i) ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(menu, WM_KEYDOWN, gMenuChoice > 0 ? VK_RETURN : VK_ESCAPE, 0);
}
