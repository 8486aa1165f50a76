#pragma once
// The system's ANSI code page: how texts cross the registry and project files as bytes.

#include <string>
#include <string_view>

class CodePage {
 public:
  virtual ~CodePage() = default;

  /// The bytes as the host's wide text. Every byte maps to one character; a NUL byte gives a
  /// NUL character, so nothing is cut here.
  virtual std::wstring ToWide(std::string_view bytes) const = 0;

  /// The text as bytes of the code page; a character the code page lacks becomes '?' (or the
  /// system's best fit).
  virtual std::string ToAnsi(std::wstring_view text) const = 0;

  /// True for a code page whose characters may take two bytes (932, 936, 949, 950): a byte
  /// there is not always a character of its own.
  virtual bool IsDoubleByte() const { return false; }
};

/// Windows-1252, the ANSI code page of Western-European Windows, written out so that the
/// portable build converts exactly as such a system does. Bytes that code page leaves undefined
/// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the characters of the same number, as Windows does.
class Windows1252CodePage final : public CodePage {
 public:
  std::wstring ToWide(std::string_view bytes) const override;
  std::string ToAnsi(std::wstring_view text) const override;
};
