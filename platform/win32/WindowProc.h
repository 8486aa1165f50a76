#pragma once
// The one window procedure and the one dialog procedure of the windows that belong to objects:
// each binds its object when the window is made and hands it every message after. They are
// where messages enter from the system, so nothing goes back out: an error in a handler ends
// that message silently.

#include <windows.h>

#include <optional>

#include "platform/Boundary.h"

/// The procedure of a window class whose windows each belong to an object of T, given as
/// CreateWindowEx's last argument. T has Attach(HWND), called at WM_NCCREATE; Detach(), called
/// at WM_NCDESTROY; and LRESULT HandleMessage(UINT, WPARAM, LPARAM) for the messages between,
/// which DefWindowProc answers when it raises.
template <typename T>
LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<T*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    if (created) created->Attach(hwnd);
  }
  auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->Detach();
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  std::optional<LRESULT> result;
  Silently([&] { result = self->HandleMessage(message, wParam, lParam); });
  return result ? *result : ::DefWindowProcW(hwnd, message, wParam, lParam);
}

/// The procedure of a dialog that belongs to an object of T, given as DialogBoxIndirectParam's
/// last argument. T has INT_PTR OnInitDialog(HWND) for WM_INITDIALOG and INT_PTR
/// HandleMessage(UINT, WPARAM, LPARAM) for the messages after. A handler that raises closes the
/// dialog (IDCANCEL) rather than leave it half made.
template <typename T>
INT_PTR CALLBACK BoundDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_INITDIALOG) ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
  auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  std::optional<INT_PTR> result;
  Silently([&] {
    result = message == WM_INITDIALOG ? self->OnInitDialog(hwnd)
                                      : self->HandleMessage(message, wParam, lParam);
  });
  if (!result) ::EndDialog(hwnd, IDCANCEL);
  return result.value_or(FALSE);
}
