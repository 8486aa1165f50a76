#include "platform/Error.h"

#include <utility>

VbError::VbError(std::int32_t number, std::wstring source, std::wstring description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {
  what_.reserve(description_.size());
  for (wchar_t c : description_) what_ += (c > 0 && c < 0x80) ? static_cast<char>(c) : '?';
}

namespace {
constexpr std::uint32_t kControlFacility = 0x800A0000u;
}  // namespace

std::int32_t HResultOfError(std::int32_t number) noexcept {
  if (number < 0) return number;
  if (number >= 1 && number <= 0xFFFF) return static_cast<std::int32_t>(kControlFacility | number);
  return static_cast<std::int32_t>(0x80004005u);  // E_FAIL
}

std::int32_t ErrorOfHResult(std::int32_t hr) noexcept {
  const auto bits = static_cast<std::uint32_t>(hr);
  return (bits & 0xFFFF0000u) == kControlFacility ? static_cast<std::int32_t>(bits & 0xFFFF) : hr;
}

void RaiseInvalidCall(const wchar_t* source) {
  throw VbError(5, source, L"Invalid procedure call or argument");
}
void RaiseTypeMismatch(const wchar_t* source) { throw VbError(13, source, L"Type mismatch"); }
void RaiseObjectNotSet(const wchar_t* source) {
  throw VbError(91, source, L"Object variable or With block variable not set");
}
void RaiseNotSupported(const wchar_t* source) {
  throw VbError(438, source, L"Object doesn't support this property or method");
}
void RaiseArgumentMissing(const wchar_t* source) {
  throw VbError(449, source, L"Argument not optional");
}
