#pragma once
// The arguments of an IDispatch::Invoke, checked before anything reads them: a late-bound caller
// may pass a count without an array, or a reference without its target, and reading either in the
// IDE's process would be an access violation there.

#include <windows.h>
#include <oaidl.h>

/// S_OK when every argument the counts promise can be read; else DISP_E_BADPARAMCOUNT (a count
/// without an array), E_INVALIDARG (no parameters, or named arguments that are not there) or
/// DISP_E_TYPEMISMATCH (a reference to nothing; *argError, when given, is set to its index).
inline HRESULT CheckDispParams(const DISPPARAMS* params, UINT* argError) noexcept {
  if (!params) return E_INVALIDARG;
  if (params->cArgs > 0 && !params->rgvarg) return DISP_E_BADPARAMCOUNT;
  if (params->cNamedArgs > params->cArgs) return DISP_E_BADPARAMCOUNT;
  if (params->cNamedArgs > 0 && !params->rgdispidNamedArgs) return E_INVALIDARG;
  for (UINT i = 0; i < params->cArgs; ++i) {
    const VARIANT& arg = params->rgvarg[i];
    if ((arg.vt & VT_BYREF) && !arg.byref) {
      if (argError) *argError = i;
      return DISP_E_TYPEMISMATCH;
    }
  }
  return S_OK;
}
