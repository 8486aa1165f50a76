#pragma once
#include <windows.h>

#include "platform/MsgBox.h"

/// The system's message box, task-modal over the window that is active.
class Win32MsgBox final : public MsgBox {
 public:
  int Show(std::wstring_view prompt, int style, std::wstring_view title) override {
    const std::wstring p(prompt), t(title);
    return ::MessageBoxW(::GetActiveWindow(), p.c_str(), t.c_str(),
                         static_cast<UINT>(style) | MB_TASKMODAL);
  }
};
