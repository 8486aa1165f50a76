#pragma once
// The controls of the document Skeldra, as one set: the Win32 window and the headless one for
// the tests each make such a set.

#include <array>

#include "ui/Controls.h"

struct SkeldraControls {
  DocumentContainer& UserDocument;
  Application& App;
  Toolbar& Toolbar1;
  TabStrip& TabStrip1;
  ListView& lvwRecent;
  ListView& lvwFavor;
  ListView& lvwCustomize;
  Frame& fraProps;
  // The properties page: captions on the left, display fields on the right, top to bottom.
  std::array<Label*, 11> lblProps;  // not owned, never null
  TextBox& txtName;
  TextBox& txtPath;
  TextBox& txtType;
  TextBox& txtTitle;
  TextBox& txtProduct;
  TextBox& txtDescription;
  TextBox& txtVersion;
  TextBox& txtCompany;
  TextBox& txtCopy;
  TextBox& txtFileDesc;
  TextBox& txtEXEName;
  CommonDialog& CommonDialog1;
  ModalForm& frmAbout;
  EditBox& txtFilter;  // at the right end of the toolbar's row
};
