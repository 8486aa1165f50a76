#pragma once
// The document's controls, headless: one of each kind it uses, named as it names them.

#include <array>

#include "browser/SkeldraControls.h"
#include "ui/tests/HeadlessControls.h"

/// One headless control of each kind the document uses, named as the document names them.
class HeadlessWindow {
 public:
  HeadlessWindow() = default;
  HeadlessWindow(const HeadlessWindow&) = delete;
  HeadlessWindow& operator=(const HeadlessWindow&) = delete;

  /// The document's view of this window's controls.
  SkeldraControls Controls();

  HeadlessContainer UserDocument;
  HeadlessApplication App;
  HeadlessToolbar Toolbar1;
  HeadlessTabStrip TabStrip1;
  HeadlessListView lvwRecent;
  HeadlessListView lvwFavor;
  HeadlessListView lvwCustomize;
  HeadlessFrame fraProps;
  std::array<HeadlessLabel, 11> lblProps;
  HeadlessTextBox txtName;
  HeadlessTextBox txtPath;
  HeadlessTextBox txtType;
  HeadlessTextBox txtTitle;
  HeadlessTextBox txtProduct;
  HeadlessTextBox txtDescription;
  HeadlessTextBox txtVersion;
  HeadlessTextBox txtCompany;
  HeadlessTextBox txtCopy;
  HeadlessTextBox txtFileDesc;
  HeadlessTextBox txtEXEName;
  HeadlessCommonDialog CommonDialog1;
  HeadlessModalForm frmAbout;
};
