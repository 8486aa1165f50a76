#include "platform/Error.h"

#include <utility>

VbError::VbError(std::int32_t number, std::wstring source, std::wstring description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {
  what_.reserve(description_.size());
  for (wchar_t c : description_) what_ += (c > 0 && c < 0x80) ? static_cast<char>(c) : '?';
}
