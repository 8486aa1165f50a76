#pragma once
// Text helpers with the host language's rules for the catalogue: blanks are spaces only, case is
// compared on ASCII letters, numbers are read leniently and rounded half to even.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace text {

std::wstring UpperAscii(std::wstring_view text);

/// Appends the number as the host language writes it: its digits, a "-" before a negative one.
void AppendWholeNumber(std::wstring& text, std::int32_t number);

/// True when the text equals upper (which holds no lower-case letters) ignoring ASCII case.
bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view upper);

/// The text without spaces at either end (tabs and line ends stay).
std::wstring_view TrimSpaces(std::wstring_view text);

/// Reads a number at the start of the text: leading blanks and tabs, an optional sign, digits and
/// an optional decimal part after ".", stopping at the first character that cannot continue it;
/// no number at all reads as 0. The value is rounded to a whole number, halves to the even
/// neighbour. nullopt when the result lies outside [min, max].
std::optional<std::int64_t> ReadWholeNumber(std::wstring_view text, std::int64_t min,
                                            std::int64_t max);

/// Reads text that is a number and nothing else: blanks around it, an optional sign, digits and
/// an optional decimal part, rounded as ReadWholeNumber does. nullopt when the text holds anything
/// else, no digit at all, or a number outside [min, max].
std::optional<std::int64_t> ParseWholeNumber(std::wstring_view text, std::int64_t min,
                                             std::int64_t max);

}  // namespace text
