// The texts the About box's form load shows.

#include <gtest/gtest.h>

#include "about/AboutBox.h"

namespace {

TEST(FormLoadTexts, TheVersionLineIsMajorMinorAndRevisionOfTheFileVersion) {
  struct Case {
    std::uint32_t ms, ls;
    const wchar_t* version;
  } cases[] = {
      {0x00010000, 0x00000001, L"Version 1.0.1"},   // 1.0.0.1
      {0x00020005, 0x00070003, L"Version 2.5.3"},   // 2.5.7.3: the third number is not shown
      {0x0000000C, 0x00220000, L"Version 0.12.0"},  // 0.12.34.0
      {0xFFFFFFFE, 0xFFFFFFFD, L"Version 65535.65534.65533"},
  };
  for (const Case& c : cases) {
    VersionRecord record;
    record.FileVersionMS = c.ms;
    record.FileVersionLS = c.ls;
    EXPECT_EQ(c.version, FormLoadTexts(L"Skeldra", record).Version);
  }
}

TEST(FormLoadTexts, TitleCaptionDescriptionAndCopyrightComeFromTitleAndRecord) {
  VersionRecord record;
  record.FileDescription = L"Tolvane Skeldra Add-In for VB6";
  record.LegalCopyright = L"Copyright \u00A9 Tolvane";
  const AboutTexts texts = FormLoadTexts(L"Skeldra", record);
  EXPECT_EQ(L"About Skeldra", texts.Caption);
  EXPECT_EQ(L"Skeldra", texts.Title);
  EXPECT_EQ(L"Tolvane Skeldra Add-In for VB6", texts.Description);
  EXPECT_EQ(L"Copyright \u00A9 Tolvane", texts.Copyright);
}

}  // namespace
