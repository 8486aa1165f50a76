#include "browser/tests/HeadlessWindow.h"

SkeldraControls HeadlessWindow::Controls() {
  std::array<Label*, 11> labels{};
  for (std::size_t i = 0; i < labels.size(); ++i) labels[i] = &lblProps[i];
  return SkeldraControls{UserDocument, App, Toolbar1, TabStrip1, lvwRecent, lvwFavor, lvwCustomize,
                         fraProps, labels, txtName, txtPath, txtType, txtTitle, txtProduct,
                         txtDescription, txtVersion, txtCompany, txtCopy, txtFileDesc, txtEXEName,
                         CommonDialog1, frmAbout, txtFilter};
}
