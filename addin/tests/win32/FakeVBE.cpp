#include "addin/tests/win32/FakeVBE.h"

#include <cwchar>

com_ptr<ScriptObject> ScriptObject::Make() { return com_ptr<ScriptObject>::attach(new ScriptObject()); }

void ScriptObject::Define(const std::wstring& name, Member member) {
  members_.emplace_back(name, std::move(member));
}

STDMETHODIMP ScriptObject::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}
STDMETHODIMP_(ULONG) ScriptObject::AddRef() { return ::InterlockedIncrement(&refs_); }
STDMETHODIMP_(ULONG) ScriptObject::Release() {
  const LONG refs = ::InterlockedDecrement(&refs_);
  if (refs == 0) delete this;
  return refs;
}
STDMETHODIMP ScriptObject::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}
STDMETHODIMP ScriptObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  *info = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP ScriptObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    for (size_t m = 0; m < members_.size(); ++m)
      if (::_wcsicmp(members_[m].first.c_str(), names[i]) == 0) ids[i] = static_cast<DISPID>(m + 1);
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}
STDMETHODIMP ScriptObject::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO*, UINT*) {
  if (id < 1 || static_cast<size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
  VARIANT ignored;
  ::VariantInit(&ignored);
  const HRESULT hr = members_[id - 1].second(params, result ? result : &ignored);
  ::VariantClear(&ignored);
  return hr;
}

namespace {

HRESULT ReturnObject(VARIANT* result, const com_ptr<ScriptObject>& object) {
  result->vt = VT_DISPATCH;
  result->pdispVal = object.get();
  object->AddRef();
  return S_OK;
}

}  // namespace

FakeVBE::FakeVBE() : vbe(ScriptObject::Make()) {
  auto project = ScriptObject::Make();
  auto projects = ScriptObject::Make();
  projects->Define(L"AddFromFile", [this](DISPPARAMS* p, VARIANT*) {
    // Arguments arrive last first: Exclusive, then the file name.
    if (p->cArgs != 2 || p->rgvarg[1].vt != VT_BSTR) return DISP_E_BADPARAMCOUNT;
    opened.emplace_back(p->rgvarg[1].bstrVal, p->rgvarg[0].boolVal != VARIANT_FALSE);
    hasActiveProject = true;
    return S_OK;
  });
  projects->Define(L"Remove", [this](DISPPARAMS* p, VARIANT*) {
    if (p->cArgs != 1 || p->rgvarg[0].vt != VT_DISPATCH) return DISP_E_BADPARAMCOUNT;
    ++removed;
    hasActiveProject = false;
    return S_OK;
  });

  auto control = ScriptObject::Make();
  control->Define(L"Enabled", [this](DISPPARAMS*, VARIANT* r) {
    r->vt = VT_BOOL;
    r->boolVal = busy ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
  });
  auto controls = ScriptObject::Make();
  controls->Define(L"Item", [control](DISPPARAMS*, VARIANT* r) { return ReturnObject(r, control); });
  controls->Define(L"Count", [](DISPPARAMS*, VARIANT* r) {
    r->vt = VT_I4;
    r->lVal = 1;
    return S_OK;
  });
  auto bar = ScriptObject::Make();
  bar->Define(L"Controls", [controls](DISPPARAMS*, VARIANT* r) { return ReturnObject(r, controls); });
  auto bars = ScriptObject::Make();
  bars->Define(L"Item", [bar](DISPPARAMS*, VARIANT* r) { return ReturnObject(r, bar); });

  vbe->Define(L"VBProjects", [projects](DISPPARAMS*, VARIANT* r) { return ReturnObject(r, projects); });
  vbe->Define(L"CommandBars", [bars](DISPPARAMS*, VARIANT* r) { return ReturnObject(r, bars); });
  vbe->Define(L"ActiveVBProject", [this, project](DISPPARAMS*, VARIANT* r) {
    if (!hasActiveProject) {
      r->vt = VT_DISPATCH;
      r->pdispVal = nullptr;
      return S_OK;
    }
    return ReturnObject(r, project);
  });
}
