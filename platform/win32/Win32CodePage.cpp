#include "platform/win32/Win32CodePage.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace {

int CheckedLength(size_t size) {
  if (size > static_cast<size_t>(INT_MAX)) throw std::length_error("text too long to convert");
  return static_cast<int>(size);
}

}  // namespace

Win32CodePage::Win32CodePage(unsigned codePage) : codePage_(codePage) {
  CPINFO info{};
  doubleByte_ = ::GetCPInfo(codePage_, &info) && info.MaxCharSize > 1;
}

std::wstring Win32CodePage::ToWide(std::string_view bytes) const {
  if (bytes.empty()) return {};
  const int length = CheckedLength(bytes.size());
  // A single-byte code page gives one character a byte; a double-byte one may give fewer.
  std::wstring text(bytes.size(), L'\0');
  int n = ::MultiByteToWideChar(codePage_, 0, bytes.data(), length, text.data(), length);
  if (n <= 0) {
    n = ::MultiByteToWideChar(codePage_, 0, bytes.data(), length, nullptr, 0);
    if (n <= 0) return {};
    text.resize(static_cast<size_t>(n));
    n = ::MultiByteToWideChar(codePage_, 0, bytes.data(), length, text.data(), n);
  }
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

std::string Win32CodePage::ToAnsi(std::wstring_view text) const {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  int n = ::WideCharToMultiByte(codePage_, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string bytes(static_cast<size_t>(n), '\0');
  n = ::WideCharToMultiByte(codePage_, 0, text.data(), length, bytes.data(), n, nullptr, nullptr);
  bytes.resize(static_cast<size_t>(n > 0 ? n : 0));
  return bytes;
}
