#include <gtest/gtest.h>

#include <limits>

#include "catalogue/Text.h"

namespace {

constexpr std::int64_t kMin16 = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t kMax16 = std::numeric_limits<std::int16_t>::max();

TEST(ReadWholeNumber, ReadsLenientlyAndRoundsHalvesToEven) {
  struct {
    const wchar_t* text;
    std::int64_t value;
  } cases[] = {
      {L"15", 15},       {L"  7", 7},        {L"\t7", 7},         {L"+3", 3},
      {L"-4", -4},       {L"", 0},           {L"abc", 0},         {L"-", 0},
      {L".", 0},         {L"12abc", 12},     {L"1,000", 1},       {L"2.5", 2},
      {L"3.5", 4},       {L"-2.5", -2},      {L"-3.5", -4},       {L"0.5", 0},
      {L"1.5", 2},       {L"2.50001", 3},    {L"2.4999", 2},      {L"2.6", 3},
      {L".7", 1},        {L"7.", 7},         {L"1 2", 1},         {L"007", 7},
      {L"-32768", -32768}, {L"32767", 32767}, {L"32767.4", 32767}, {L"-32768.5", -32768},
  };
  for (const auto& c : cases) {
    auto n = text::ReadWholeNumber(c.text, kMin16, kMax16);
    ASSERT_TRUE(n) << "text: " << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(c.value, *n) << "text: " << testing::PrintToString(std::wstring(c.text));
  }
}

TEST(ReadWholeNumber, ANumberOutsideTheRangeIsNone) {
  for (const wchar_t* text : {L"32768", L"-32769", L"40000", L"32767.5", L"-32768.6",
                              L"99999999999999999999999999"}) {
    EXPECT_FALSE(text::ReadWholeNumber(text, kMin16, kMax16)) << testing::PrintToString(std::wstring(text));
  }
  EXPECT_EQ(2147483647, text::ReadWholeNumber(L"2147483647", INT32_MIN, INT32_MAX));
  EXPECT_FALSE(text::ReadWholeNumber(L"2147483648", INT32_MIN, INT32_MAX));
}

TEST(TextHelpers, TrimOnlySpacesAndCompareAsciiCase) {
  EXPECT_EQ(L"a b", text::TrimSpaces(L"  a b  "));
  EXPECT_EQ(L"\ta\t", text::TrimSpaces(L" \ta\t "));
  EXPECT_EQ(L"", text::TrimSpaces(L"   "));
  EXPECT_TRUE(text::EqualsIgnoringCase(L"MajorVer", L"MAJORVER"));
  EXPECT_FALSE(text::EqualsIgnoringCase(L"MajorVe", L"MAJORVER"));
  EXPECT_EQ(L"OLEDLL \u00e9", text::UpperAscii(L"OleDll \u00e9"));
}

}  // namespace

namespace {

TEST(ParseWholeNumber, TakesOnlyTextThatIsANumber) {
  struct {
    const wchar_t* text;
    std::optional<std::int64_t> value;
  } cases[] = {
      {L"1", 1},          {L" 12 ", 12},         {L"-3", -3},      {L"04", 4},
      {L"2.5", 2},        {L"3.5", 4},           {L"", std::nullopt}, {L"  ", std::nullopt},
      {L"abc", std::nullopt}, {L"12abc", std::nullopt}, {L"1 2", std::nullopt},
      {L"-", std::nullopt},   {L".", std::nullopt},     {L"32768", std::nullopt},
      {L"-32768", -32768},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.value, text::ParseWholeNumber(c.text, kMin16, kMax16))
        << testing::PrintToString(std::wstring(c.text));
}

}  // namespace
