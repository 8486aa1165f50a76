#pragma once
// The one base of every COM class here: QueryInterface over the interfaces the class lists, and
// the reference count. A class derives from ComObject<its interfaces...>, is made with
// new (std::nothrow) and handed out through QueryInterface, then Release. An interface listed
// as Dual<I> is answered with a dispatch interface from its type information: as I and as
// IDispatch.

#include <windows.h>
#include <oaidl.h>

#include <utility>

#include "platform/win32/DispParams.h"
#include "platform/win32/com_ptr.h"

/// The dual interface I, its IDispatch answered from the type information the class gives it
/// (SetTypeInfo) before it is handed out: names by DispGetIDsOfNames, calls by DispInvoke,
/// after their arguments are checked.
template <typename I>
class Dual : public I {
 public:
  using Interface = I;

  void SetTypeInfo(com_ptr<ITypeInfo> info) { typeInfo_ = std::move(info); }

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    *info = com_ptr<ITypeInfo>(typeInfo_).detach();
    return S_OK;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    return ::DispGetIDsOfNames(typeInfo_.get(), names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override {
    if (const HRESULT hr = CheckDispParams(params, argError); FAILED(hr)) return hr;
    return ::DispInvoke(static_cast<I*>(this), typeInfo_.get(), id, flags, params, result,
                        exception, argError);
  }

 private:
  com_ptr<ITypeInfo> typeInfo_;
};

namespace com_detail {

template <typename I>
struct Named {
  using Interface = I;
  static constexpr bool kDual = false;
};
template <typename I>
struct Named<Dual<I>> {
  using Interface = I;
  static constexpr bool kDual = true;
};

}  // namespace com_detail

template <typename First, typename... Rest>
class ComObject : public First, public Rest... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = Find(riid);
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG refs = ::InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

  /// An interface the class answers besides those it lists (a base of one of them, a part of
  /// its own): its pointer, or null.
  virtual void* FindMore(REFIID) { return nullptr; }

 private:
  template <typename I>
  void* Match(REFIID riid) {
    using Named = com_detail::Named<I>;
    if (::IsEqualIID(riid, __uuidof(typename Named::Interface)) ||
        (Named::kDual && ::IsEqualIID(riid, IID_IDispatch)))
      return static_cast<I*>(this);
    return nullptr;
  }
  void* Find(REFIID riid) {
    // The first interface stands for the object's identity.
    if (::IsEqualIID(riid, IID_IUnknown)) return static_cast<First*>(this);
    void* found = Match<First>(riid);
    ((found = found ? found : Match<Rest>(riid)), ...);
    return found ? found : FindMore(riid);
  }

  LONG refs_ = 1;
};
