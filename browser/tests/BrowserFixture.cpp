#include "browser/tests/BrowserFixture.h"

#include <algorithm>

std::string Vbp::Text() const {
  std::string t = "Type=" + type + "\r\n";
  t += "Form=frmMain.frm\r\nModule=mMain; mMain.bas\r\nStartup=\"frmMain\"\r\n";
  t += "Title=\"" + title + "\"\r\nExeName32=\"" + exeName + "\"\r\nName=\"" + name + "\"\r\n";
  t += "Description=\"" + description + "\"\r\n";
  t += "MajorVer=" + std::to_string(major) + "\r\nMinorVer=" + std::to_string(minor) +
       "\r\nRevisionVer=" + std::to_string(revision) + "\r\n";
  t += "VersionCompanyName=\"" + company + "\"\r\nVersionFileDescription=\"" + fileDescription +
       "\"\r\nVersionLegalCopyright=\"" + copyright + "\"\r\nVersionProductName=\"" + product +
       "\"\r\n";
  return t;
}

BrowserTest::BrowserTest()
    : world_(GetParam().make()),
      reg_(failing_, world_->Ansi()),
      lists_(reg_, files_, world_->Ansi()),
      doc_(w_.Controls(), lists_, msgBox_) {
  gVBE = host_;
}

namespace {

// The lists' keys written out, as the IDE and the users' registries have them.
constexpr wchar_t kRecentList[] = L"Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles";
constexpr wchar_t kFavoritesList[] = L"Software\\Tolvane\\Skeldra\\Favorites";

}  // namespace

BrowserTest::~BrowserTest() { gVBE.reset(); }

std::wstring BrowserTest::Project(std::wstring_view fileName, const Vbp& vbp, unsigned attributes) {
  world_->AddFile(fileName, vbp.Text(), attributes);
  return world_->PathOf(fileName);
}

void BrowserTest::SetRecent(const std::vector<std::pair<std::wstring, std::wstring>>& values) {
  for (const auto& [name, path] : values) reg_.RegSetKeyValue(kHkeyCurrentUser, kRecentList, name, path);
}

void BrowserTest::SetFavorites(const std::vector<std::pair<std::wstring, std::wstring>>& values) {
  for (const auto& [name, path] : values) reg_.RegSetKeyValue(kHkeyCurrentUser, kFavoritesList, name, path);
}

RegValueTable BrowserTest::StoredFavorites() {
  return reg_.RegGetKeyValues(kHkeyCurrentUser, kFavoritesList).value_or(RegValueTable{});
}

void BrowserTest::Open() {
  doc_.UserDocument_Initialize();
  w_.UserDocument.Size(6000, 4000);
  doc_.UserDocument_Show();
  doc_.View();
}

std::vector<std::wstring> BrowserTest::ColumnTexts(ListView& list, int column) {
  std::vector<std::wstring> texts;
  for (int i = 1; i <= list.ItemCount(); ++i)
    texts.push_back(column == 0 ? list.Item(i).Text() : list.Item(i).SubItems(column));
  return texts;
}

std::vector<std::pair<std::wstring, float>> BrowserTest::Columns(ListView& list) {
  std::vector<std::pair<std::wstring, float>> columns(list.ColumnCount());
  for (int i = 1; i <= list.ColumnCount(); ++i) {
    ColumnHeader& h = list.Column(i);
    columns.at(h.Position() - 1) = {h.Key(), h.Width()};
  }
  return columns;
}

ListItem& BrowserTest::Row(ListView& list, std::wstring_view number) {
  for (int i = 1; i <= list.ItemCount(); ++i)
    if (list.Item(i).Text() == number) return list.Item(i);
  throw std::runtime_error("no such row");
}

void BrowserTest::Press(HeadlessListView& list, std::wstring_view number, int button,
                        std::wstring_view choice) {
  const auto [x, y] = list.PointOf(Row(list, number));
  w_.UserDocument.choose = std::wstring(choice);
  list.UserMouseDown(button, 0, x, y);
}

std::string BrowserTest::Page() const {
  const int shown = w_.lvwRecent.Visible() + w_.lvwFavor.Visible() + w_.fraProps.Visible();
  if (shown != 1) return "";
  return w_.lvwRecent.Visible() ? "recent" : w_.lvwFavor.Visible() ? "favorites" : "properties";
}
