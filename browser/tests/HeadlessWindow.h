#pragma once
// The document's controls, headless: one of each kind it uses, named as the document names them.

#include <array>

#include "browser/SkeldraControls.h"
#include "ui/tests/HeadlessControls.h"

class HeadlessWindow {
 public:
  /// The document's view of this window's controls.
  SkeldraControls Controls();

  HeadlessContainer UserDocument;
  HeadlessApplication App;
  HeadlessToolbar Toolbar1;
  HeadlessTabStrip TabStrip1;
  HeadlessListView lvwRecent, lvwFavor, lvwCustomize;
  HeadlessFrame fraProps;
  std::array<HeadlessLabel, 11> lblProps;
  HeadlessTextBox txtName, txtPath, txtType, txtTitle, txtProduct, txtDescription, txtVersion,
      txtCompany, txtCopy, txtFileDesc, txtEXEName;
  HeadlessCommonDialog CommonDialog1;
  HeadlessModalForm frmAbout;
  HeadlessEditBox txtFilter;
};
