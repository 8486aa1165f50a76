#include "server/Module.h"

#include <new>

#include "platform/Error.h"
#include "platform/win32/com_ptr.h"

namespace {

HINSTANCE g_module = nullptr;
LONG g_refs = 0;

}  // namespace

HINSTANCE ModuleHandle() { return g_module; }
void SetModuleHandle(HINSTANCE module) { g_module = module; }

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void ModuleAddRef() { ::InterlockedIncrement(&g_refs); }
void ModuleRelease() { ::InterlockedDecrement(&g_refs); }
long ModuleRefs() { return g_refs; }

HRESULT GetTypeInfoOf(REFGUID guid, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  com_ptr<ITypeLib> library;
  const HRESULT hr = ::LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, library.put());
  if (FAILED(hr)) return hr;
  return library->GetTypeInfoOfGuid(guid, info);
}

HRESULT SetErrorFromCurrentException(REFIID iid) noexcept {
  HRESULT hr = E_UNEXPECTED;
  std::wstring source = L"Marrowby", description = L"Unexpected error";
  try {
    throw;
  } catch (const VbError& e) {
    hr = HResultOfError(e.Number());
    if (!e.Source().empty()) source = e.Source();
    description = e.Description();
  } catch (const std::bad_alloc&) {
    hr = E_OUTOFMEMORY;
    description = L"Out of memory";
  } catch (...) {
  }
  com_ptr<ICreateErrorInfo> create;
  if (SUCCEEDED(::CreateErrorInfo(create.put()))) {
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(source.c_str()));
    create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
    if (auto error = create.try_query<IErrorInfo>()) ::SetErrorInfo(0, error.get());
  }
  return hr;
}
