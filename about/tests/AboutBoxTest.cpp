// The texts the About box's form load shows.

#include <gtest/gtest.h>

#include "about/AboutBox.h"

namespace {

TEST(FormLoadTexts, ComeFromTheTitleAndTheVersionRecord) {
  // The file version 65534.5.7.65533: major.minor.revision, the third number is not shown.
  const AboutTexts texts =
      FormLoadTexts(L"Skeldra", {0xFFFE0005, 0x0007FFFD, L"Add-In", L"\u00A9 Tolvane"});
  EXPECT_EQ(L"About Skeldra|Skeldra|Version 65534.5.65533|Add-In|\u00A9 Tolvane",
            texts.Caption + L"|" + texts.Title + L"|" + texts.Version + L"|" +
                texts.Description + L"|" + texts.Copyright);
}

}  // namespace
