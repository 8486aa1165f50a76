#pragma once
// Owners of the automation types, in the manner of unique_res: a BSTR and a VARIANT.

#include <windows.h>
#include <oleauto.h>

#include <new>
#include <string>
#include <string_view>

#include "platform/win32/unique_res.h"

using unique_bstr = unique_res<BSTR, ::SysFreeString>;

/// A BSTR holding the text; throws std::bad_alloc when there is no memory for it.
inline unique_bstr MakeBstr(std::wstring_view text) {
  unique_bstr b(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
  if (!b) throw std::bad_alloc();
  return b;
}

/// The text of a BSTR (empty for null), which is freed.
inline std::wstring TakeBstr(BSTR text) {
  unique_bstr owned(text);
  return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

/// A VARIANT that clears itself; put() clears it before handing it out to be filled.
struct unique_variant : VARIANT {
  unique_variant() { ::VariantInit(this); }
  ~unique_variant() { ::VariantClear(this); }
  unique_variant(const unique_variant&) = delete;
  unique_variant& operator=(const unique_variant&) = delete;
  VARIANT* put() {
    ::VariantClear(this);
    return this;
  }
};
