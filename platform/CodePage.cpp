#include "platform/CodePage.h"

namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char ToByte(wchar_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i)
    if (static_cast<wchar_t>(kHigh[i]) == c) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

std::wstring Windows1252CodePage::ToWide(std::string_view bytes) const {
  // Every byte as the character of its number, in a loop the compiler vectorizes; then the bytes
  // 0x80 to 0x9F, which most texts lack, are looked up.
  std::wstring text(bytes.size(), L'\0');
  wchar_t* out = text.data();
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  unsigned anyHigh = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    out[i] = static_cast<wchar_t>(in[i]);
    anyHigh |= (in[i] & 0xE0) == 0x80;
  }
  if (anyHigh)
    for (wchar_t& c : text)
      if (c >= 0x80 && c < 0xA0) c = static_cast<wchar_t>(kHigh[c - 0x80]);
  return text;
}

std::string Windows1252CodePage::ToAnsi(std::wstring_view text) const {
  std::string bytes(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) bytes[i] = ToByte(text[i]);
  return bytes;
}
