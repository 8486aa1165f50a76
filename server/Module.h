#pragma once
// The DLL's own module: its handle, the count of objects and locks that keep it loaded, its type
// library, and the boundary every COM method crosses.

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "platform/win32/ComObject.h"

/// The handle DllMain was given: the add-in's own, for resources and window classes.
HINSTANCE ModuleHandle();
void SetModuleHandle(HINSTANCE module);
std::wstring ModulePath();

/// Objects alive and server locks; the DLL may unload only at zero.
void ModuleAddRef();
void ModuleRelease();
long ModuleRefs();

/// A COM object of the server: counted among the objects that keep the DLL loaded.
template <typename... Interfaces>
class ServerObject : public ComObject<Interfaces...> {
 protected:
  ServerObject() { ModuleAddRef(); }
  ~ServerObject() override { ModuleRelease(); }
};

/// Type information of an interface or class of the embedded type library.
HRESULT GetTypeInfoOf(REFGUID guid, ITypeInfo** info);

/// Gives a dual interface of ours its type information from the embedded library.
template <typename I>
HRESULT InitDual(Dual<I>& dual) {
  com_ptr<ITypeInfo> info;
  const HRESULT hr = GetTypeInfoOf(__uuidof(I), info.put());
  dual.SetTypeInfo(std::move(info));
  return hr;
}

/// Runs the body of a COM method: whatever it throws becomes an HRESULT, with the description
/// and source left as the thread's error information for callers that ask (IDispatch, the IDE).
template <typename Body>
HRESULT ComBoundary(REFIID iid, Body&& body) noexcept;

// Implementation.
HRESULT SetErrorFromCurrentException(REFIID iid) noexcept;

template <typename Body>
HRESULT ComBoundary(REFIID iid, Body&& body) noexcept {
  try {
    ::SetErrorInfo(0, nullptr);
    return body();
  } catch (...) {
    return SetErrorFromCurrentException(iid);
  }
}
