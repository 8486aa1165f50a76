#pragma once
// The browser document over the real Win32 window, inside a top-level window of the test's own,
// with the rig the headless scenarios use (real project files under Windows). The user acts by
// sending the controls the mouse messages a click makes, and the test reads the results back
// from the controls' windows.

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "browser/tests/BrowserFixture.h"
#include "browser/win32/Win32SkeldraWindow.h"
#include "platform/win32/unique_res.h"
#include "ui/win32/Win32ControlBase.h"

/// The control's window.
template <typename Interface>
HWND HandleOf(Interface& control) {
  return dynamic_cast<Win32Control<Interface>&>(control).Handle();
}

/// The test program's module, on which the document window's class is registered.
HINSTANCE TestModule();
/// A shown top-level window for the document window to live in; the common controls are
/// registered first.
unique_hwnd MakeTopWindow();
/// The device's pixels for the twips, as the document converts them.
int Pixels(float twips, int axis = LOGPIXELSX);
/// The texts of a column (0 the row's text, k sub-item k), in the order shown.
Strings Texts(HWND list, int subItem = 0);

/// The document window inside a top-level window of its own.
struct RealWindowHolder {
  unique_hwnd top_ = MakeTopWindow();
  HeadlessModalForm about_;
  std::unique_ptr<Win32SkeldraWindow> window_ =
      Win32SkeldraWindow::Create(top_.get(), TestModule(), about_);
};

class RealWindowTest : public testing::Test, protected RealWindowHolder, public DocumentRig {
 protected:
  RealWindowTest();
  ~RealWindowTest() override { window_->onResize = nullptr; }
  void Size(float width, float height) override;

  // What the user does.
  void ClickTab(int index);
  void ClickButton(std::wstring_view key);
  /// Ticks or clears the check box of the row shown at place (0-based).
  void ClickCheckBox(ListView& list, int place);
  /// Presses the right button on the first row; the menu that pops up is closed from the
  /// keyboard, its captions left in gMenuCaptions.
  void RightClickFirstRow(ListView& list);
};
