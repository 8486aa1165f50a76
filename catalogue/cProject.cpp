#include "catalogue/cProject.h"

#include "catalogue/Text.h"

namespace {

struct ProjectTypeRow {
  const wchar_t* upperText;  // null in the last row, which takes every other text
  std::int32_t type;
  const wchar_t* friendlyName;
};

constexpr ProjectTypeRow kProjectTypes[] = {
    {L"EXE", 0, L"Standard EXE"},
    {L"OLEDLL", 2, L"ActiveX DLL"},
    {L"CONTROL", 3, L"ActiveX Control"},
    {nullptr, 1, L"ActiveX EXE"},
};

}  // namespace

void cProject::TypeString(std::wstring value) {
  typeString_ = std::move(value);
  const std::wstring upper = text::UpperAscii(typeString_);
  const ProjectTypeRow* row = kProjectTypes;
  while (row->upperText && upper != row->upperText) ++row;
  ProjectType(row->type);
  TypeFreindlyName(row->friendlyName);
}

std::wstring cProject::VersionText() const {
  return std::to_wstring(versionMajor_) + L'.' + std::to_wstring(versionMinor_) + L'.' +
         std::to_wstring(versionRevision_);
}
