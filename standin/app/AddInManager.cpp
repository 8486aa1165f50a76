// The dialog is built in code: an empty template, then its controls made at WM_INITDIALOG.

#include "standin/app/AddInManager.h"

#include "platform/win32/WindowProc.h"

#include <algorithm>

namespace standin_app {
namespace {

constexpr int kMargin = 10, kRowHeight = 24, kNameWidth = 320, kBoxWidth = 80;
constexpr int kButtonWidth = 80, kButtonHeight = 24;

// DLGTEMPLATE, then no menu, the default class and the title; DWORD-aligned as Windows requires.
struct alignas(4) Template {
  DLGTEMPLATE head;
  WORD menu, windowClass;
  wchar_t title[15];
};

HWND Make(HWND dialog, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id,
          int x, int y, int width, int height) {
  HWND control = ::CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, x,
                                   y, width, height, dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(control, WM_SETFONT,
                 reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return control;
}

void MakeControls(HWND dialog, const std::vector<AddInChoice>& choices) {
  int y = kMargin;
  for (std::size_t i = 0; i < choices.size(); ++i, y += kRowHeight) {
    const int row = static_cast<int>(i);
    Make(dialog, L"STATIC", choices[i].friendlyName + L"  (" + choices[i].progId + L")",
         SS_LEFT | SS_CENTERIMAGE, kAddInNameFirst + row, kMargin, y, kNameWidth, kRowHeight);
    HWND box = Make(dialog, L"BUTTON", L"Loaded", BS_AUTOCHECKBOX | WS_TABSTOP,
                    kAddInLoadedFirst + row, kMargin + kNameWidth, y, kBoxWidth, kRowHeight);
    ::SendMessageW(box, BM_SETCHECK, choices[i].loaded ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  if (choices.empty()) {
    Make(dialog, L"STATIC", L"No add-ins are registered.", SS_LEFT, -1, kMargin, y, kNameWidth,
         kRowHeight);
    y += kRowHeight;
  }
  const int width = kMargin * 2 + kNameWidth + kBoxWidth;
  y += kMargin;
  Make(dialog, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK,
       width - 2 * (kButtonWidth + kMargin), y, kButtonWidth, kButtonHeight);
  Make(dialog, L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL,
       width - (kButtonWidth + kMargin), y, kButtonWidth, kButtonHeight);
  RECT frame{0, 0, width, y + kButtonHeight + kMargin};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(dialog, GWL_EXSTYLE)));
  ::SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
}

// The dialog's answer: which add-ins the boxes say are loaded.
struct ManagerDialog {
  std::vector<AddInChoice>& choices;
  HWND dialog = nullptr;

  // For BoundDialogProc.
  INT_PTR OnInitDialog(HWND hwnd) {
    dialog = hwnd;
    MakeControls(dialog, choices);
    return TRUE;
  }
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDOK) {  // for WM_COMMAND from OK: the boxes are the answer
      for (std::size_t i = 0; i < choices.size(); ++i)
        choices[i].loaded = ::IsDlgButtonChecked(
                                dialog, kAddInLoadedFirst + static_cast<int>(i)) == BST_CHECKED;
      ::EndDialog(dialog, IDOK);
      return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
      ::EndDialog(dialog, IDCANCEL);
      return TRUE;
    }
    return FALSE;
  }
};

}  // namespace

bool RunAddInManager(HWND owner, std::vector<AddInChoice>& choices) {
  std::vector<AddInChoice> answer = choices;
  Template dialog{};
  dialog.head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  dialog.head.cx = 240;
  dialog.head.cy = 80;
  std::copy_n(L"Add-In Manager", 15, dialog.title);
  ManagerDialog manager{answer};
  const INT_PTR result =
      ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), &dialog.head, owner,
                                &BoundDialogProc<ManagerDialog>, reinterpret_cast<LPARAM>(&manager));
  if (result != IDOK) return false;
  choices = std::move(answer);
  return true;
}

}  // namespace standin_app
