#include "server/ClassFactory.h"

#include <shlwapi.h>

#include <new>

#include "server/Module.h"

namespace {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(CreateInstanceFn create) : create_(create) { ModuleAddRef(); }
  ~ClassFactory() { ModuleRelease(); }

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    static const QITAB table[] = {QITABENT(ClassFactory, IClassFactory), {}};
    return ::QISearch(this, table, riid, object);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG refs = ::InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
  }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(riid, object);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    lock ? ModuleAddRef() : ModuleRelease();
    return S_OK;
  }

 private:
  CreateInstanceFn create_;
  LONG refs_ = 1;
};

}  // namespace

HRESULT MakeClassFactory(CreateInstanceFn create, REFIID riid, void** object) {
  auto* factory = new (std::nothrow) ClassFactory(create);
  if (!factory) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(riid, object);
  factory->Release();
  return hr;
}
