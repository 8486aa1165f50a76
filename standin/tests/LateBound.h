#pragma once
// Calls the stand-in's objects as the add-in does: a member by name through GetIDsOfNames, then
// Invoke with the arguments last first; reads and calls with DISPATCH_METHOD |
// DISPATCH_PROPERTYGET, assignments with DISPID_PROPERTYPUT, omitted optional arguments as
// VT_ERROR with DISP_E_PARAMNOTFOUND.

#include <gtest/gtest.h>
#include <oaidl.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/com_ptr.h"

/// A VARIANT that owns its value.
class Var {
 public:
  Var() { ::VariantInit(&v_); }
  Var(long n) : Var() { v_.vt = VT_I4, v_.lVal = n; }
  Var(int n) : Var(long(n)) {}
  Var(bool b) : Var() { v_.vt = VT_BOOL, v_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; }
  Var(const wchar_t* text) : Var() { v_.vt = VT_BSTR, v_.bstrVal = ::SysAllocString(text); }
  Var(IDispatch* object) : Var() {
    v_.vt = VT_DISPATCH, v_.pdispVal = object;
    if (object) object->AddRef();
  }
  /// An argument left out.
  static Var Missing() {
    Var v;
    v.v_.vt = VT_ERROR, v.v_.scode = DISP_E_PARAMNOTFOUND;
    return v;
  }
  /// A by-reference argument: VT_BYREF | type, pointing at the caller's variable.
  static Var Ref(VARTYPE type, void* variable) {
    Var v;
    v.v_.vt = VT_BYREF | type, v.v_.byref = variable;
    return v;
  }
  Var(const Var& other) : Var() { ::VariantCopy(&v_, const_cast<VARIANT*>(&other.v_)); }
  Var(Var&& other) noexcept : v_(std::exchange(other.v_, VARIANT{})) {}
  ~Var() { ::VariantClear(&v_); }

  VARIANT* get() { return &v_; }
  const VARIANT& operator*() const { return v_; }
  VARTYPE vt() const { return v_.vt; }
  long Long() const { return As(VT_I4).v_.lVal; }
  bool Bool() const { return As(VT_BOOL).v_.boolVal != VARIANT_FALSE; }
  std::wstring Text() const { return As(VT_BSTR).v_.bstrVal; }
  com_ptr<IDispatch> Object() const {
    EXPECT_EQ(VT_DISPATCH, v_.vt);
    return com_ptr<IDispatch>(v_.vt == VT_DISPATCH ? v_.pdispVal : nullptr);
  }

 private:
  Var As(VARTYPE type) const {
    Var out;
    EXPECT_EQ(S_OK, ::VariantChangeType(out.get(), const_cast<VARIANT*>(&v_), 0, type));
    return out;
  }
  VARIANT v_;
};

/// How a call failed.
struct Failure {
  HRESULT hr = S_OK;
  SCODE scode = 0;  // of the EXCEPINFO with DISP_E_EXCEPTION
  std::wstring description, source;
};

class Late {
 public:
  Late() = default;
  explicit Late(com_ptr<IDispatch> object) : object_(std::move(object)) {}
  IDispatch* get() const { return object_.get(); }

  Var Get(const wchar_t* member, std::vector<Var> args = {}) const {
    Var result;
    Expect(member, Invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, std::move(args), {},
                          result.get()));
    return result;
  }
  Late Obj(const wchar_t* member, std::vector<Var> args = {}) const {
    return Late(Get(member, std::move(args)).Object());
  }
  void Put(const wchar_t* member, Var value) const {
    Var ignored;
    Expect(member, Invoke(member, DISPATCH_PROPERTYPUT, {}, std::move(value), ignored.get()));
  }
  /// A call expected to fail: how it did.
  Failure Fails(const wchar_t* member, std::vector<Var> args = {}) const {
    Var ignored;
    return Invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, std::move(args), {},
                  ignored.get());
  }

  Failure Invoke(const wchar_t* member, WORD flags, std::vector<Var> args, Var value,
                 VARIANT* result) const {
    DISPID id = DISPID_UNKNOWN;
    auto* name = const_cast<LPOLESTR>(member);
    Failure failure;
    failure.hr = object_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(failure.hr)) return failure;
    // Last first, behind the assigned value of a put.
    std::vector<VARIANT> raw;
    const bool put = flags & DISPATCH_PROPERTYPUT;
    if (put) raw.push_back(*value);
    for (auto a = args.rbegin(); a != args.rend(); ++a) raw.push_back(**a);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{raw.data(), put ? &named : nullptr, static_cast<UINT>(raw.size()),
                      put ? 1u : 0u};
    EXCEPINFO exception{};
    failure.hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                                 &exception, nullptr);
    if (failure.hr == DISP_E_EXCEPTION) {
      failure.scode = exception.scode;
      failure.description = exception.bstrDescription ? exception.bstrDescription : L"";
      failure.source = exception.bstrSource ? exception.bstrSource : L"";
      ::SysFreeString(exception.bstrDescription);
      ::SysFreeString(exception.bstrSource);
      ::SysFreeString(exception.bstrHelpFile);
    }
    return failure;
  }

 private:
  static void Expect(const wchar_t* member, const Failure& f) {
    EXPECT_EQ(S_OK, f.hr) << "calling " << testing::PrintToString(std::wstring(member)) << ": "
                          << testing::PrintToString(f.description);
  }
  com_ptr<IDispatch> object_;
};
