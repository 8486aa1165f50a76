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

/// The HRESULT an error number travels as between COM objects: numbers that are HRESULTs
/// already (negative) stay; the host language's run-time errors (1 to 65535) take the control
/// facility (5 travels as 0x800A0005); any other number, which no error has, is E_FAIL.
std::int32_t HResultOfError(std::int32_t number) noexcept;
/// The error number an HRESULT carries: a run-time error's own in the control facility, else
/// the HRESULT itself.
std::int32_t ErrorOfHResult(std::int32_t hr) noexcept;

// The host language's run-time errors the add-in raises, each with its own description.
[[noreturn]] void RaiseInvalidCall(const wchar_t* source);      // 5 Invalid procedure call or argument
[[noreturn]] void RaiseTypeMismatch(const wchar_t* source);     // 13 Type mismatch
[[noreturn]] void RaiseObjectNotSet(const wchar_t* source);     // 91 Object variable ... not set
[[noreturn]] void RaiseNotSupported(const wchar_t* source);     // 438 Object doesn't support ...
[[noreturn]] void RaiseArgumentMissing(const wchar_t* source);  // 449 Argument not optional
