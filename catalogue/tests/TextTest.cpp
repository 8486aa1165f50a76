// The host language's number rules: read leniently from the start of a text or parsed from a
// text that is nothing else, rounded half to even. Blanks and ASCII case show in the reader's
// rules.

#include <gtest/gtest.h>

#include <limits>

#include "catalogue/Text.h"

namespace {

using Number = std::optional<std::int64_t>;
constexpr std::int64_t kMin16 = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t kMax16 = std::numeric_limits<std::int16_t>::max();

TEST(WholeNumbers, ReadLenientlyOrParseStrictlyAndRoundHalvesToEven) {
  const struct {
    const wchar_t* text;
    Number read, parse;
  } cases[] = {
      {L"15", 15, 15},        {L"  7", 7, 7},         {L"\t7", 7, 7},         {L" 12 ", 12, 12},
      {L"+3", 3, 3},          {L"-4", -4, -4},        {L"007", 7, 7},         {L"", 0, {}},
      {L"  ", 0, {}},         {L"abc", 0, {}},        {L"-", 0, {}},          {L".", 0, {}},
      {L"12abc", 12, {}},     {L"1,000", 1, {}},      {L"1 2", 1, {}},        {L"7.", 7, 7},
      {L".7", 1, 1},          {L"2.5", 2, 2},         {L"3.5", 4, 4},         {L"-2.5", -2, -2},
      {L"-3.5", -4, -4},      {L"0.5", 0, 0},         {L"2.50001", 3, 3},     {L"2.4999", 2, 2},
      {L"32767.4", kMax16, kMax16},  {L"-32768.5", kMin16, kMin16},  {L"32767.5", {}, {}},
      {L"32768", {}, {}},     {L"-32769", {}, {}},    {L"99999999999999999999999999", {}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.read, text::ReadWholeNumber(c.text, kMin16, kMax16)) << c.text;
    EXPECT_EQ(c.parse, text::ParseWholeNumber(c.text, kMin16, kMax16)) << c.text;
  }
}

}  // namespace
