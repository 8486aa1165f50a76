#include "standin/Dispatch.h"

#include "platform/win32/com_res.h"

#include <cwchar>
#include <new>

namespace standin {
namespace {

// A VARIANT that clears itself.
using Variant = unique_variant;

// A by-reference VARIANT seen through; other by-reference types stay as they are.
const VARIANT& Deref(const VARIANT& v) {
  return v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal ? *v.pvarVal : v;
}

void Convert(const VARIANT& value, VARTYPE type, Variant& out) {
  if (FAILED(::VariantChangeType(&out, const_cast<VARIANT*>(&value), 0, type))) RaiseTypeMismatch(L"");
}

BSTR AllocText(const std::wstring& text) {
  return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace

std::wstring ToText(const VARIANT& value) {
  Variant out;
  Convert(value, VT_BSTR, out);
  return out.bstrVal ? std::wstring(out.bstrVal, ::SysStringLen(out.bstrVal)) : std::wstring();
}

long ToLong(const VARIANT& value) {
  Variant out;
  Convert(value, VT_I4, out);
  return out.lVal;
}

bool ToBool(const VARIANT& value) {
  Variant out;
  Convert(value, VT_BOOL, out);
  return out.boolVal != VARIANT_FALSE;
}

IDispatch* ToObject(const VARIANT& given) {
  const VARIANT& value = Deref(given);
  switch (value.vt) {
    case VT_DISPATCH:
      return value.pdispVal;
    case VT_DISPATCH | VT_BYREF:
      return value.ppdispVal ? *value.ppdispVal : nullptr;
    case VT_EMPTY:
      return nullptr;
    default:
      RaiseTypeMismatch(L"");
  }
}

bool IsText(const VARIANT& value) {
  const VARTYPE vt = Deref(value).vt;
  return vt == VT_BSTR || vt == (VT_BSTR | VT_BYREF);
}

void RaiseInvalidArgument() { RaiseInvalidCall(L""); }

void RaiseDisconnected() {
  throw VbError(RPC_E_DISCONNECTED, L"", L"The object invoked has disconnected from its clients.");
}

bool SameObject(IUnknown* a, IUnknown* b) {
  if (!a || !b) return false;
  com_ptr<IUnknown> ia, ib;
  a->QueryInterface(IID_IUnknown, ia.put_void());
  b->QueryInterface(IID_IUnknown, ib.put_void());
  return ia && ia.get() == ib.get();
}

// ---- Call ----

Call::Call(const DISPPARAMS& params, bool put, VARIANT* result)
    : params_(params), count_(params.cArgs - (put ? 1 : 0)), result_(result) {}

// Positional arguments come after the named ones, last first.
const VARIANT& Call::Raw(std::size_t i) const { return params_.rgvarg[params_.cArgs - 1 - i]; }

bool Call::Given(std::size_t i) const {
  if (i >= count_) return false;
  const VARIANT& v = Deref(Raw(i));
  return !(v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND);
}

const VARIANT& Call::Arg(std::size_t i) const {
  if (!Given(i)) RaiseArgumentMissing(L"");
  return Raw(i);
}

VARIANT& Call::RefArg(std::size_t i) const {
  VARIANT& v = const_cast<VARIANT&>(Arg(i));
  if (!(v.vt & VT_BYREF) || !v.byref) RaiseTypeMismatch(L"");
  return v;
}

std::wstring Call::Text(std::size_t i) const { return ToText(Arg(i)); }
long Call::Long(std::size_t i) const { return ToLong(Arg(i)); }
bool Call::Bool(std::size_t i) const { return ToBool(Arg(i)); }
IDispatch* Call::Object(std::size_t i) const { return ToObject(Arg(i)); }

VARIANT* Call::Result() {
  if (result_) ::VariantClear(result_);
  return result_;
}

void Call::Return(std::wstring_view text) {
  BSTR b = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!b) throw std::bad_alloc();
  if (VARIANT* r = Result()) {
    r->vt = VT_BSTR;
    r->bstrVal = b;
  } else {
    ::SysFreeString(b);
  }
}

void Call::Return(long number) {
  if (VARIANT* r = Result()) {
    r->vt = VT_I4;
    r->lVal = number;
  }
}

void Call::Return(bool value) {
  if (VARIANT* r = Result()) {
    r->vt = VT_BOOL;
    r->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
}

void Call::Return(IDispatch* object) {
  if (VARIANT* r = Result()) {
    r->vt = VT_DISPATCH;
    r->pdispVal = object;
    if (object) object->AddRef();
  }
}

// ---- DispatchObject ----

STDMETHODIMP DispatchObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

STDMETHODIMP DispatchObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                           DISPID* ids) {
  if (!::IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  // Members take no named arguments: every name after the member's is unknown.
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  for (std::size_t r = 0; r < RowCount() && names[0]; ++r)
    if (::_wcsicmp(RowAt(r).name, names[0]) == 0) {
      ids[0] = RowAt(r).id;
      break;
    }
  return ids[0] != DISPID_UNKNOWN && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

STDMETHODIMP DispatchObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                    VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  if (!::IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (put) {
    if (params->cArgs < 1 || params->cNamedArgs != 1 ||
        params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
      return DISP_E_PARAMNOTOPTIONAL;
  } else if (params->cNamedArgs) {
    return DISP_E_NONAMEDARGS;
  }

  std::size_t row = RowCount();
  for (std::size_t r = 0; r < RowCount(); ++r)
    if (RowAt(r).id == id && (RowAt(r).kind == Kind::kPut) == put) row = r;
  if (row == RowCount()) return DISP_E_MEMBERNOTFOUND;
  if (params->cArgs - (put ? 1 : 0) > RowAt(row).maxArgs) return DISP_E_BADPARAMCOUNT;
  if (argError) *argError = 0;
  if (result) ::VariantInit(result);

  HRESULT failure = S_OK;
  std::wstring source, description;
  try {
    try {
      if (!Connected()) RaiseDisconnected();
      Entering();
      Call call(*params, put, result);
      Run(row, call);
      return S_OK;
    } catch (const VbError& e) {
      failure = HResultOfError(e.Number());
      source = e.Source().empty() ? std::wstring(source_) + L"." + RowAt(row).name : e.Source();
      description = e.Description();
    }
  } catch (const std::bad_alloc&) {
    failure = E_OUTOFMEMORY;
    description.clear();
  } catch (...) {
    failure = E_UNEXPECTED;
    description.clear();
  }
  if (result) ::VariantClear(result);
  if (!exception || description.empty()) return failure;
  *exception = EXCEPINFO{};
  exception->scode = failure;
  exception->bstrSource = AllocText(source);
  exception->bstrDescription = AllocText(description);
  return DISP_E_EXCEPTION;
}

}  // namespace standin
