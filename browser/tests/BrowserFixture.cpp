#include "browser/tests/BrowserFixture.h"

std::string Vbp::Text() const {
  const auto q = [](const std::string& s) { return "\"" + s + "\"\r\n"; };
  return "Type=" + type + "\r\nTitle=" + q(title) + "ExeName32=" + q(exeName) + "Name=" + q(name) +
         "Description=" + q(description) + "MajorVer=" + std::to_string(major) +
         "\r\nMinorVer=" + std::to_string(minor) + "\r\nRevisionVer=" + std::to_string(revision) +
         "\r\nVersionCompanyName=" + q(company) + "VersionFileDescription=" + q(fileDescription) +
         "VersionLegalCopyright=" + q(copyright) + "VersionProductName=" + q(product);
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
