// Start-up and shut-down of the add-ins, in the IDE's order: every OnConnection, then every
// OnStartupComplete; at the end OnBeginShutdown, then OnDisconnection.

#include "standin/app/AddIns.h"

#include <windows.h>

#include "platform/win32/unique_res.h"

namespace standin_app {
namespace {

constexpr wchar_t kAddinsKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins";

std::wstring HresultText(HRESULT hr) {
  wchar_t text[16];
  ::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

// AddIn.Connect as the add-in itself would set it, through the entry's dispatch interface.
void PutConnect(IDispatch* addIn, bool connected) {
  if (!addIn) return;
  OLECHAR name[] = L"Connect";
  LPOLESTR names[] = {name};
  DISPID id = 0;
  if (FAILED(addIn->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return;
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_BOOL;
  value.boolVal = connected ? VARIANT_TRUE : VARIANT_FALSE;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  addIn->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                nullptr);
}

com_ptr<IDTExtensibility2> Make(const std::wstring& progId, HRESULT& hr) {
  com_ptr<IDTExtensibility2> events;
  CLSID clsid{};
  hr = ::CLSIDFromProgID(progId.c_str(), &clsid);
  if (SUCCEEDED(hr))
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDTExtensibility2),
                            events.put_void());
  return events;
}

}  // namespace

namespace {

// Calls visit(key, name) for each add-in listed for the IDE, in the registry's order.
template <typename Visit>
void ForEachListedAddIn(Visit visit) {
  unique_hkey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kAddinsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    return;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    const LSTATUS rc =
        ::RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc == ERROR_SUCCESS) visit(key.get(), name);
  }
}

}  // namespace

std::vector<RegisteredAddIn> RegisteredAddIns() {
  std::vector<RegisteredAddIn> addIns;
  ForEachListedAddIn([&](HKEY key, const wchar_t* name) {
    wchar_t friendly[256] = {};
    DWORD size = sizeof friendly;
    if (::RegGetValueW(key, name, L"FriendlyName", RRF_RT_REG_SZ, nullptr, friendly, &size) !=
            ERROR_SUCCESS ||
        !friendly[0])
      ::lstrcpynW(friendly, name, 256);
    addIns.push_back({name, friendly});
  });
  return addIns;
}

std::vector<std::wstring> StartupAddIns() {
  std::vector<std::wstring> progIds;
  ForEachListedAddIn([&](HKEY key, const wchar_t* name) {
    DWORD loadBehavior = 0, size = sizeof loadBehavior;
    if (::RegGetValueW(key, name, L"LoadBehavior", RRF_RT_REG_DWORD, nullptr, &loadBehavior,
                       &size) == ERROR_SUCCESS &&
        loadBehavior == 1)
      progIds.emplace_back(name);
  });
  return progIds;
}

void AddIns::ConnectAtStartup(standin::StandInIde& ide) {
  for (const std::wstring& progId : StartupAddIns()) {
    HRESULT hr = S_OK;
    com_ptr<IDTExtensibility2> events = Make(progId, hr);
    ide.AddAddIn(progId, SUCCEEDED(hr));
    if (SUCCEEDED(hr))
      hr = events->OnConnection(ide.Vbe().get(), ext_cm_Startup, ide.AddIn(progId).get(),
                                nullptr);
    if (FAILED(hr)) {
      problems_.push_back(progId + L" (" + HresultText(hr) + L")");
      continue;
    }
    loaded_.push_back({progId, std::move(events)});
  }
  for (const Loaded& addIn : loaded_)
    if (addIn.events) addIn.events->OnStartupComplete(nullptr);
}

void AddIns::Disconnect(const std::wstring& progId) {
  for (Loaded& addIn : loaded_)
    if (addIn.progId == progId && addIn.events) {
      addIn.events->OnDisconnection(ext_dm_UserClosed, nullptr);
      addIn.events.reset();
    }
}

bool AddIns::Load(standin::StandInIde& ide, const std::wstring& progId) {
  for (const Loaded& addIn : loaded_)
    if (addIn.progId == progId && addIn.events) return true;
  HRESULT hr = S_OK;
  com_ptr<IDTExtensibility2> events = Make(progId, hr);
  if (!ide.AddIn(progId)) ide.AddAddIn(progId, false);
  if (SUCCEEDED(hr))
    hr = events->OnConnection(ide.Vbe().get(), ext_cm_AfterStartup, ide.AddIn(progId).get(),
                              nullptr);
  if (FAILED(hr)) {
    problems_.push_back(progId + L" (" + HresultText(hr) + L")");
    return false;
  }
  PutConnect(ide.AddIn(progId).get(), true);
  for (Loaded& addIn : loaded_)
    if (addIn.progId == progId) {
      addIn.events = std::move(events);
      return true;
    }
  loaded_.push_back({progId, std::move(events)});
  return true;
}

void AddIns::Unload(standin::StandInIde& ide, const std::wstring& progId) {
  Disconnect(progId);
  PutConnect(ide.AddIn(progId).get(), false);
}

void AddIns::DisconnectAll() {
  for (const Loaded& addIn : loaded_)
    if (addIn.events) addIn.events->OnBeginShutdown(nullptr);
  for (Loaded& addIn : loaded_)
    if (addIn.events) {
      addIn.events->OnDisconnection(ext_dm_HostShutdown, nullptr);
      addIn.events.reset();
    }
  loaded_.clear();
}

std::vector<std::wstring> AddIns::Connected() const {
  std::vector<std::wstring> progIds;
  for (const Loaded& addIn : loaded_)
    if (addIn.events) progIds.push_back(addIn.progId);
  return progIds;
}

}  // namespace standin_app
