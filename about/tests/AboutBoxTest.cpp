// The texts the About box's form load shows.

#include <gtest/gtest.h>

#include "about/AboutBox.h"

namespace {

TEST(FormLoadTexts, ComeFromTheTitleAndTheVersionRecord) {
  struct Case {
    std::uint32_t ms, ls;
    const wchar_t* version;  // major.minor.revision: the third number is not shown
  } cases[] = {
      {0x00010000, 0x00000001, L"Version 1.0.1"},
      {0x00020005, 0x00070003, L"Version 2.5.3"},
      {0xFFFFFFFE, 0xFFFFFFFD, L"Version 65535.65534.65533"},
  };
  for (const Case& c : cases) {
    const AboutTexts texts = FormLoadTexts(L"Skeldra", {c.ms, c.ls, L"Add-In", L"\u00A9 Tolvane"});
    EXPECT_EQ(c.version, texts.Version);
    EXPECT_EQ(L"About Skeldra|Skeldra|Add-In|\u00A9 Tolvane",
              texts.Caption + L"|" + texts.Title + L"|" + texts.Description + L"|" +
                  texts.Copyright);
  }
}

}  // namespace
