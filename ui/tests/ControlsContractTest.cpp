// The headless controls' answers to the contract run, pinned: the Win32 controls give the same
// answers under Wine, so what the scenario tests see is what the real controls do.

#include <gtest/gtest.h>

#include "ui/ListSort.h"
#include "ui/tests/ControlsContract.h"
#include "ui/tests/HeadlessControls.h"

namespace {

using contract::Strings;

TEST(ControlsContract, TheHeadlessControlsAnswerAsPinned) {
  HeadlessListView list;
  EXPECT_EQ((Strings{
                L"duplicate column: 35602", L"negative width: 380", L"missing column: 35601",
                L"column 5: 35600", L"positions: 4231", L"widths: 0.000000/2000.000000",
                L"negative column width: 380", L"duplicate row: 35602", L"sorted: 10 A b ",
                L"added while sorted: 10 2 A b ", L"text changed: 2 A b c ",
                L"by sub-item 2, ties as added: b c A 2 ", L"descending: A 2 b c ",
                L"bad order: 380", L"bad key: 380", L"unsorted: b A c 2 ", L"item 0: 35600",
                L"item 5: 35600", L"sub-item 0: 35600", L"never set: |yes",
                L"checked from code: 10", L"selected: cA", L"none selected: 1", L"cleared: 2",
                L"key free again: 0"}),
            contract::ListViewContract(list));
  HeadlessTabStrip tabs;
  EXPECT_EQ((Strings{L"none selected: 0", L"first selected: 1", L"clicks after selecting: 22",
                     L"tab 3: 35600", L"caption 0: 35600", L"tab index: 1"}),
            contract::TabStripContract(tabs));
  HeadlessToolbar bar;
  EXPECT_EQ((Strings{L"duplicate: 35602", L"unknown: 35601", L"pressed: 1", L"released: 0",
                     L"width, own height: 3000.0000001"}),
            contract::ToolbarContract(bar));
  HeadlessTextBox box;
  EXPECT_EQ((Strings{L"negative: 760", L"kept: 10.000000,20.000000,333.299988,400.000000",
                     L"hidden: 0"}),
            contract::ControlContract(box));
}

TEST(CompareListText, OrdersAsTheListSorts) {
  const struct {
    const wchar_t* a;
    const wchar_t* b;
    int sign;
  } cases[] = {
      {L"10", L"2", -1},   {L"abc", L"ABC", 0},  {L"Apple", L"banana", -1},
      {L"ab", L"abc", -1}, {L"", L"a", -1},      {L"_", L"a", -1},
      {L"\u00e9", L"\u00c9", 1},
  };
  for (const auto& c : cases) {
    const int forward = CompareListText(c.a, c.b), backward = CompareListText(c.b, c.a);
    EXPECT_EQ(c.sign, (forward > 0) - (forward < 0)) << c.a << " against " << c.b;
    EXPECT_EQ(-c.sign, (backward > 0) - (backward < 0)) << c.b << " against " << c.a;
  }
}

}  // namespace
