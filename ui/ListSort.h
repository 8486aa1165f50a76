#pragma once
// The order in which a list view sorts its rows by a column's text.

#include <string_view>

/// Compares two cell texts: ASCII letters without regard to case, every other character by its
/// code unit, and a text before any longer text that begins with it ("10" before "2", "abc" with
/// "ABC"). Negative when a sorts first, 0 when neither does, positive when b sorts first.
int CompareListText(std::wstring_view a, std::wstring_view b);
