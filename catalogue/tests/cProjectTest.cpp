// The project record's type and its name, from the type's text (the version's text shows in
// the reader's rules).

#include <gtest/gtest.h>

#include "catalogue/cProject.h"

namespace {

TEST(cProject, TheTypeTextGivesTheTypeAndItsNameIgnoringCase) {
  const struct {
    const wchar_t* text;
    std::int32_t type;
    const wchar_t* friendly;
  } cases[] = {
      {L"Exe", 0, L"Standard EXE"},        {L"eXE", 0, L"Standard EXE"},
      {L"OleDll", 2, L"ActiveX DLL"},      {L"control", 3, L"ActiveX Control"},
      {L"OleExe", 1, L"ActiveX EXE"},      {L"", 1, L"ActiveX EXE"},
      {L" Exe", 1, L"ActiveX EXE"},        {L"EXEX", 1, L"ActiveX EXE"},
  };
  for (const auto& c : cases) {
    cProject p;
    p.TypeString(c.text);
    EXPECT_EQ(c.text, p.TypeString()) << "the case given is kept";
    EXPECT_EQ(c.type, p.ProjectType()) << c.text;
    EXPECT_EQ(c.friendly, p.TypeFreindlyName()) << c.text;
  }
}

}  // namespace
