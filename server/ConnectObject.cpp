#include "server/ConnectObject.h"


#include <cwchar>
#include <new>

#include "addin/Connect.h"
#include "server/AddinPlatform.h"
#include "server/LateBoundIde.h"
#include "ide/win32/Extensibility.h"
#include "server/Marrowby_h.h"
#include "server/Module.h"
#include "platform/win32/DispParams.h"
#include "platform/win32/com_ptr.h"

namespace {

// An argument of an event raised through IDispatch, converted as the IDE's callers pass them.
com_ptr<IDispatch> ObjectArgument(const VARIANT& arg) {
  const VARIANT* v = (arg.vt == (VT_BYREF | VT_VARIANT)) ? arg.pvarVal : &arg;
  com_ptr<IDispatch> object;
  if (v->vt == VT_DISPATCH) object = com_ptr<IDispatch>(v->pdispVal);
  if (v->vt == (VT_BYREF | VT_DISPATCH) && v->ppdispVal) object = com_ptr<IDispatch>(*v->ppdispVal);
  if ((v->vt == VT_UNKNOWN && v->punkVal))
    v->punkVal->QueryInterface(IID_IDispatch, object.put_void());
  return object;
}

long LongArgument(const VARIANT& arg) {
  VARIANT copy;
  ::VariantInit(&copy);
  long value = 0;
  if (SUCCEEDED(::VariantChangeType(&copy, const_cast<VARIANT*>(&arg), 0, VT_I4))) value = copy.lVal;
  ::VariantClear(&copy);
  return value;
}

class ConnectObject;

// The IDE's add-in events, answered by a part of the connection object with its own IDispatch:
// the events' DISPIDs are not those of _Connect.
class ExtensibilityPart final : public IDTExtensibility2 {
 public:
  explicit ExtensibilityPart(ConnectObject& outer) : outer_(outer) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    static const wchar_t* const kNames[] = {L"OnConnection", L"OnDisconnection", L"OnAddInsUpdate",
                                            L"OnStartupComplete", L"OnBeginShutdown"};
    if (!names || !ids || count == 0) return E_INVALIDARG;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (DISPID id = 1; id <= 5; ++id)
      if (::_wcsicmp(names[0], kNames[id - 1]) == 0) ids[0] = id;
    if (ids[0] == DISPID_UNKNOWN || count > 1) hr = DISP_E_UNKNOWNNAME;
    return hr;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT* argError) override {
    if (const HRESULT hr = CheckDispParams(params, argError); FAILED(hr)) return hr;
    // The arguments arrive last first; custom is always the last, so rgvarg[0].
    const UINT n = params->cArgs;
    auto arg = [&](UINT written) -> const VARIANT& { return params->rgvarg[n - 1 - written]; };
    switch (id) {
      case kDispOnConnection: {
        if (n < 3) return DISP_E_BADPARAMCOUNT;
        const com_ptr<IDispatch> application = ObjectArgument(arg(0));
        const com_ptr<IDispatch> addIn = ObjectArgument(arg(2));
        return OnConnection(application.get(), static_cast<ext_ConnectMode>(LongArgument(arg(1))),
                            addIn.get(), nullptr);
      }
      case kDispOnDisconnection:
        if (n < 1) return DISP_E_BADPARAMCOUNT;
        return OnDisconnection(static_cast<ext_DisconnectMode>(LongArgument(arg(0))), nullptr);
      case kDispOnAddInsUpdate:
        return OnAddInsUpdate(nullptr);
      case kDispOnStartupComplete:
        return OnStartupComplete(nullptr);
      case kDispOnBeginShutdown:
        return OnBeginShutdown(nullptr);
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  STDMETHODIMP OnConnection(IDispatch* application, ext_ConnectMode mode, IDispatch* addInInst,
                            SAFEARRAY**) override;
  STDMETHODIMP OnDisconnection(ext_DisconnectMode mode, SAFEARRAY**) override;
  STDMETHODIMP OnAddInsUpdate(SAFEARRAY**) override { return S_OK; }
  STDMETHODIMP OnStartupComplete(SAFEARRAY**) override;
  STDMETHODIMP OnBeginShutdown(SAFEARRAY**) override { return S_OK; }

 private:
  ConnectObject& outer_;
};

class ConnectObject final : public ServerObject<Dual<_Connect>, ISupportErrorInfo> {
 public:
  ConnectObject()
      : logic_(SharedPlatform().settings, SharedPlatform().clipboard, SharedPlatform().msgBox) {}

  HRESULT Init() { return InitDual<_Connect>(*this); }

  // _Connect: each reports its own failures, as the add-in's logic does.
  STDMETHODIMP Show() override {
    return ComBoundary(__uuidof(_Connect), [&] {
      logic_.Show();
      return S_OK;
    });
  }
  STDMETHODIMP get_NonModalApp(VARIANT_BOOL* value) override {
    if (!value) return E_POINTER;
    *value = logic_.NonModalApp() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  STDMETHODIMP AddToCommandBar() override {
    return ComBoundary(__uuidof(_Connect), [&] {
      logic_.AddToCommandBar();
      return S_OK;
    });
  }

  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override {
    return ::IsEqualIID(riid, __uuidof(_Connect)) ? S_OK : S_FALSE;
  }

  Connect& Logic() { return logic_; }

 private:
  // The IDE's add-in events, on a part of their own.
  void* FindMore(REFIID riid) override {
    return ::IsEqualIID(riid, __uuidof(IDTExtensibility2))
               ? static_cast<IDTExtensibility2*>(&extensibility_)
               : nullptr;
  }

  Connect logic_;
  ExtensibilityPart extensibility_{*this};
};

STDMETHODIMP ExtensibilityPart::QueryInterface(REFIID riid, void** object) {
  return outer_.QueryInterface(riid, object);
}
STDMETHODIMP_(ULONG) ExtensibilityPart::AddRef() { return outer_.AddRef(); }
STDMETHODIMP_(ULONG) ExtensibilityPart::Release() { return outer_.Release(); }

STDMETHODIMP ExtensibilityPart::OnConnection(IDispatch* application, ext_ConnectMode mode,
                                             IDispatch* addInInst, SAFEARRAY**) {
  return ComBoundary(__uuidof(IDTExtensibility2), [&] {
    outer_.Logic().AddinInstance_OnConnection(application ? MakeLateBoundVBE(application) : nullptr,
                                              static_cast<int>(mode), MakeLateBoundAddIn(addInInst));
    return S_OK;
  });
}

STDMETHODIMP ExtensibilityPart::OnDisconnection(ext_DisconnectMode mode, SAFEARRAY**) {
  return ComBoundary(__uuidof(IDTExtensibility2), [&] {
    outer_.Logic().AddinInstance_OnDisconnection(static_cast<int>(mode));
    return S_OK;
  });
}

STDMETHODIMP ExtensibilityPart::OnStartupComplete(SAFEARRAY**) {
  return ComBoundary(__uuidof(IDTExtensibility2), [&] {
    outer_.Logic().AddinInstance_OnStartupComplete();
    return S_OK;
  });
}

}  // namespace

HRESULT CreateConnectObject(REFIID riid, void** object) {
  auto* connect = new (std::nothrow) ConnectObject();
  if (!connect) return E_OUTOFMEMORY;
  HRESULT hr = connect->Init();
  if (SUCCEEDED(hr)) hr = connect->QueryInterface(riid, object);
  connect->Release();
  return hr;
}
