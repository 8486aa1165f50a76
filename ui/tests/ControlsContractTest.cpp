// The order a list view sorts its rows in, and the errors the controls raise. The list views'
// other answers are pinned under Wine, over the headless and the Win32 ones alike
// (browser/tests/win32/RealControlsTest.cpp).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "ui/ControlErrors.h"
#include "ui/ListSort.h"

namespace {

TEST(ControlErrors, CarryTheHostLanguagesNumbers) {
  const struct { void (*raise)(const wchar_t*); int number; } cases[] = {
      {ThrowOutOfBounds, 35600}, {ThrowNotFound, 35601}, {ThrowKeyNotUnique, 35602},
      {ThrowInvalidValue, 380},  {ThrowOutOfMemory, 7}};
  for (const auto& c : cases)
    EXPECT_THAT([&] { c.raise(L"ListItems"); },
                testing::Throws<VbError>(testing::Property(&VbError::Number, c.number)));
}

TEST(CompareListText, OrdersAsTheListSorts) {
  const struct { const wchar_t *a, *b; int sign; } cases[] = {
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
