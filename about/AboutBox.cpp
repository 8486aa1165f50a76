#include "about/AboutBox.h"

AboutTexts FormLoadTexts(std::wstring_view appTitle, const VersionRecord& record) {
  const unsigned major = record.FileVersionMS >> 16;
  const unsigned minor = record.FileVersionMS & 0xFFFF;
  const unsigned revision = record.FileVersionLS & 0xFFFF;
  AboutTexts texts;
  texts.Caption = L"About " + std::wstring(appTitle);
  texts.Title = appTitle;
  texts.Version = L"Version " + std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
                  std::to_wstring(revision);
  texts.Description = record.FileDescription;
  texts.Copyright = record.LegalCopyright;
  return texts;
}
