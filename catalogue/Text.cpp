#include "catalogue/Text.h"

#include <iterator>

namespace text {

namespace {
wchar_t Upper(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
}  // namespace

std::wstring UpperAscii(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) c = Upper(c);
  return upper;
}

void AppendWholeNumber(std::wstring& text, std::int32_t number) {
  wchar_t digits[11];
  wchar_t* first = std::end(digits);
  // The magnitude, taken unsigned so that the least number has one too.
  std::uint32_t n = static_cast<std::uint32_t>(number);
  if (number < 0) n = 0u - n;
  do {
    *--first = static_cast<wchar_t>(L'0' + n % 10);
    n /= 10;
  } while (n);
  if (number < 0) *--first = L'-';
  text.append(first, std::end(digits));
}

bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view upper) {
  if (text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (Upper(text[i]) != upper[i]) return false;
  return true;
}

std::wstring_view TrimSpaces(std::wstring_view text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

namespace {

struct NumberScan {
  std::optional<std::int64_t> value;  // nullopt when out of [min, max]
  size_t end = 0;                     // where the reading stopped
  bool anyDigit = false;
};

NumberScan ScanNumber(std::wstring_view text, std::int64_t min, std::int64_t max) {
  // Any whole part beyond this is out of every range the callers ask for.
  constexpr std::int64_t kBeyond = std::int64_t{1} << 40;

  NumberScan scan;
  size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';

  std::int64_t whole = 0;
  bool tooLarge = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    scan.anyDigit = true;
    whole = whole * 10 + (text[i] - L'0');
    if (whole > kBeyond) {
      tooLarge = true;
      whole = kBeyond;
    }
  }

  // The decimal part decides the rounding only: above a half, exactly a half, or below.
  int firstDecimal = 0;
  bool restNonZero = false;
  if (i < text.size() && text[i] == L'.') {
    ++i;
    if (i < text.size() && IsDigit(text[i])) {
      scan.anyDigit = true;
      firstDecimal = text[i++] - L'0';
    }
    for (; i < text.size() && IsDigit(text[i]); ++i) restNonZero |= text[i] != L'0';
  }
  if (firstDecimal > 5 || (firstDecimal == 5 && (restNonZero || whole % 2 == 1))) ++whole;

  scan.end = i;
  const std::int64_t value = negative ? -whole : whole;
  if (!tooLarge && value >= min && value <= max) scan.value = value;
  return scan;
}

}  // namespace

std::optional<std::int64_t> ReadWholeNumber(std::wstring_view text, std::int64_t min,
                                            std::int64_t max) {
  return ScanNumber(text, min, max).value;
}

std::optional<std::int64_t> ParseWholeNumber(std::wstring_view text, std::int64_t min,
                                             std::int64_t max) {
  const NumberScan scan = ScanNumber(text, min, max);
  if (!scan.anyDigit || !TrimSpaces(text.substr(scan.end)).empty()) return std::nullopt;
  return scan.value;
}

}  // namespace text
