#pragma once
// The errors the common controls raise, as the host language numbers them.

[[noreturn]] void ThrowOutOfBounds(const wchar_t* source);   // 35600 Index out of bounds
[[noreturn]] void ThrowNotFound(const wchar_t* source);      // 35601 Element not found
[[noreturn]] void ThrowKeyNotUnique(const wchar_t* source);  // 35602 Key is not unique in collection
[[noreturn]] void ThrowInvalidValue(const wchar_t* source);  // 380 Invalid property value
[[noreturn]] void ThrowOutOfMemory(const wchar_t* source);   // 7 Out of memory
