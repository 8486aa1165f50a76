#include "browser/tests/BrowserFixture.h"

std::string Vbp::Text() const {
  const auto q = [](const std::string& s) { return "\"" + s + "\"\r\n"; };
  return "Type=" + type + "\r\nForm=frmMain.frm\r\nModule=mMain; mMain.bas\r\nStartup=\"frmMain\"\r\n" +
         "Title=" + q(title) + "ExeName32=" + q(exeName) + "Name=" + q(name) +
         "Description=" + q(description) + "MajorVer=" + std::to_string(major) +
         "\r\nMinorVer=" + std::to_string(minor) + "\r\nRevisionVer=" + std::to_string(revision) +
         "\r\nVersionCompanyName=" + q(company) + "VersionFileDescription=" + q(fileDescription) +
         "VersionLegalCopyright=" + q(copyright) + "VersionProductName=" + q(product);
}

DocumentRig::DocumentRig(std::unique_ptr<FileWorld> world, const SkeldraControls& controls)
    : world_(std::move(world)),
      reg_(failing_, world_->Ansi()),
      lists_(reg_, files_, world_->Ansi()),
      c_(controls),
      doc_(c_, lists_, msgBox_, shell_, clipboard_) {
  gVBE = host_;
}

void DocumentRig::Set(const wchar_t* key, const Values& values) {
  for (const auto& [name, data] : values) reg_.RegSetKeyValue(kHkeyCurrentUser, key, name, data);
}

std::wstring DocumentRig::Project(std::wstring_view fileName, const Vbp& vbp, unsigned attributes) {
  world_->AddFile(fileName, vbp.Text(), attributes);
  return world_->PathOf(fileName);
}

void DocumentRig::Open() {
  doc_.UserDocument_Initialize();
  Size(6000, 4000);
  doc_.UserDocument_Show();
  doc_.View();
}

Strings ColumnTexts(ListView& list, int column) {
  Strings texts;
  for (int i = 1; i <= list.ItemCount(); ++i) {
    ListItem& row = list.Item(i);
    texts.push_back(column == 0 ? row.Text() : column < 0 ? row.SmallIcon() : row.SubItems(column));
  }
  return texts;
}

ListItem* Row(ListView& list, std::wstring_view number) {
  for (int i = 1; i <= list.ItemCount(); ++i)
    if (list.Item(i).Text() == number) return &list.Item(i);
  return nullptr;
}

void BrowserTest::Press(HeadlessListView& list, std::wstring_view number, int button,
                        std::wstring_view choice) {
  if (ListItem* row = Row(list, number)) {
    const auto [x, y] = list.PointOf(*row);
    w_.UserDocument.choose = std::wstring(choice);
    list.UserMouseDown(button, 0, x, y);
  }
}

std::string BrowserTest::Page() const {
  if (w_.lvwRecent.Visible() + w_.lvwFavor.Visible() + w_.fraProps.Visible() != 1) return "";
  return w_.lvwRecent.Visible() ? "recent" : w_.lvwFavor.Visible() ? "favorites" : "properties";
}
