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
  const ProjectTypeRow* row = kProjectTypes;
  while (row->upperText && !text::EqualsIgnoringCase(typeString_, row->upperText)) ++row;
  ProjectType(row->type);
  TypeFreindlyName(row->friendlyName);
}

std::wstring cProject::VersionText() const {
  std::wstring version;
  version.reserve(20);  // room for three numbers of 16 bits and two dots: one allocation
  text::AppendWholeNumber(version, versionMajor_);
  version += L'.';
  text::AppendWholeNumber(version, versionMinor_);
  version += L'.';
  text::AppendWholeNumber(version, versionRevision_);
  return version;
}
