#pragma once
// The browser document over the real Win32 window, inside a top-level window of the test's own,
// with the fakes the headless scenarios use (in-memory registry, real project files, recording
// host). The user acts by sending the controls the mouse messages a click makes, and the test
// reads the results back from the controls' windows.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ide/tests/FakeIde.h"
#include "browser/Skeldra.h"
#include "browser/tests/BrowserFixture.h"
#include "ui/tests/HeadlessControls.h"
#include "ui/win32/Win32ControlBase.h"
#include "browser/win32/Win32SkeldraWindow.h"
#include "catalogue/ProjectLists.h"
#include "platform/tests/FileWorld.h"
#include "platform/tests/RecordingMsgBox.h"
#include "platform/win32/unique_res.h"
#include "registry/mReg.h"
#include "registry/tests/MemoryRegistry.h"

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
int PixelsX(float twips);
int PixelsY(float twips);

class RealWindowTest : public testing::Test {
 protected:
  RealWindowTest();
  ~RealWindowTest() override;

  // The world, as BrowserTest gives it.
  std::wstring Project(std::wstring_view fileName, const Vbp& vbp);
  std::wstring Missing(std::wstring_view fileName) const { return world_->PathOf(fileName); }
  void SetRecent(const std::vector<std::pair<std::wstring, std::wstring>>& values);
  void SetFavorites(const std::vector<std::pair<std::wstring, std::wstring>>& values);

  /// Creates, shows and views the document at 6000 by 4000 twips, as the add-in does.
  void Open();
  /// The host resizes the document window to these pixels.
  void SizeDocument(int width, int height);

  // What the user does.
  void ClickTab(int index);
  void ClickButton(std::wstring_view key);
  /// Ticks or clears the check box of the row shown at place (0-based).
  void ClickCheckBox(ListView& list, int place);
  /// Presses a mouse button on the row shown with this number (WM_LBUTTONDBLCLK: the second
  /// press of a double click). A menu that pops up is answered from the keyboard: choice 0
  /// closes it, k picks its kth item.
  void Press(ListView& list, std::wstring_view number, UINT downMessage = WM_LBUTTONDOWN,
             int choice = 0);

  // What the controls show.
  /// The texts of a column (0 the row's text, k sub-item k), in the order shown.
  static std::vector<std::wstring> Texts(ListView& list, int subItem = 0);
  /// The place where the row with this number shows; -1 for none.
  static int PlaceOf(ListView& list, std::wstring_view number);

  unique_hwnd top_;
  HeadlessModalForm about_;
  std::unique_ptr<Win32SkeldraWindow> window_;
  SkeldraControls c_;
  std::unique_ptr<FileWorld> world_;
  MemoryRegistry registry_;
  mReg reg_;
  RecordingMsgBox msgBox_;
  ProjectLists lists_;
  std::shared_ptr<FakeIde> host_ = std::make_shared<FakeIde>();
  Skeldra doc_;
};
