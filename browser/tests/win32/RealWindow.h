#pragma once
// The browser document over the real Win32 window, inside a top-level window of the test's own,
// with the rig the headless scenarios use (real project files under Windows). The test reads the
// results back from the controls' windows.

#include <windows.h>

#include <memory>

#include "browser/tests/BrowserFixture.h"
#include "browser/win32/Win32SkeldraWindow.h"
#include "platform/win32/unique_res.h"
#include "ui/win32/Win32ControlBase.h"

/// The control's window.
template <typename Interface>
HWND HandleOf(Interface& control) {
  return dynamic_cast<Win32Control<Interface>&>(control).Handle();
}

/// The device's pixels for the twips, as the document converts them.
int Pixels(float twips, int axis = LOGPIXELSX);

/// The document window, made with its controls (hidden) inside a shown top-level window of its
/// own; the common controls are registered first.
struct RealWindowHolder {
  RealWindowHolder();
  unique_hwnd top_;
  HeadlessModalForm about_;
  std::unique_ptr<Win32SkeldraWindow> window_;
};

class RealWindowTest : public testing::Test, protected RealWindowHolder, public DocumentRig {
 protected:
  RealWindowTest() : DocumentRig(MakeWin32FileWorld(), window_->Controls()) {
    window_->onResize = [this] { doc_.UserDocument_Resize(); };
    ::ShowWindow(window_->Handle(), SW_SHOW);
  }
  ~RealWindowTest() override { window_->onResize = nullptr; }
  void Size(float width, float height) override {
    ::SetWindowPos(window_->Handle(), nullptr, 0, 0, Pixels(width), Pixels(height, LOGPIXELSY),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
};
