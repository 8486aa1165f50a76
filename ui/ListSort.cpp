#include "ui/ListSort.h"

namespace {

// Letters fold to lower case, as the C runtime's case-blind compare does, so the characters
// between "Z" and "a" ("[", "_" and the like) sort before every letter.
char32_t Fold(wchar_t c) {
  auto unit = static_cast<char32_t>(c);
  return (unit >= U'A' && unit <= U'Z') ? unit - U'A' + U'a' : unit;
}

}  // namespace

int CompareListText(std::wstring_view a, std::wstring_view b) {
  const auto common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    const char32_t x = Fold(a[i]), y = Fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}
