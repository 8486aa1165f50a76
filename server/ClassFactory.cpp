#include "server/ClassFactory.h"

#include <new>

#include "server/Module.h"

namespace {

class ClassFactory final : public ServerObject<IClassFactory> {
 public:
  explicit ClassFactory(CreateInstanceFn create) : create_(create) {}

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
};

}  // namespace

HRESULT MakeClassFactory(CreateInstanceFn create, REFIID riid, void** object) {
  auto* factory = new (std::nothrow) ClassFactory(create);
  if (!factory) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(riid, object);
  factory->Release();
  return hr;
}
