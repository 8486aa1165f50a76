#include "ui/ControlErrors.h"

#include "platform/Error.h"

void ThrowOutOfBounds(const wchar_t* source) { throw VbError(35600, source, L"Index out of bounds"); }
void ThrowNotFound(const wchar_t* source) { throw VbError(35601, source, L"Element not found"); }
void ThrowKeyNotUnique(const wchar_t* source) {
  throw VbError(35602, source, L"Key is not unique in collection");
}
void ThrowInvalidValue(const wchar_t* source) {
  throw VbError(380, source, L"Invalid property value");
}
void ThrowOutOfMemory(const wchar_t* source) { throw VbError(7, source, L"Out of memory"); }
