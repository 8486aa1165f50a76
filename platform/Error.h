#pragma once
// The error object that operations raise to their callers: a number, the name of the operation
// that raised it, and a description, as the host language's own error object carries them.

#include <cstdint>
#include <exception>
#include <string>

class VbError : public std::exception {
 public:
  VbError(std::int32_t number, std::wstring source, std::wstring description);

  std::int32_t Number() const noexcept { return number_; }
  const std::wstring& Source() const noexcept { return source_; }
  const std::wstring& Description() const noexcept { return description_; }

  /// The description as ASCII, non-ASCII characters shown as '?'.
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::int32_t number_;
  std::wstring source_;
  std::wstring description_;
  std::string what_;
};
