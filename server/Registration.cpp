#include "server/Registration.h"

#include <oleauto.h>
#include <olectl.h>

#include <cwchar>
#include <string>
#include <vector>

#include "server/Marrowby_h.h"
#include "server/Module.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/unique_res.h"

extern "C" {
// oleaut32 exports these since Windows Vista; MinGW's headers do not declare them.
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpDir);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libid, WORD major, WORD minor, LCID lcid,
                                        SYSKIND syskind);
}

namespace {

// The type library's identifier, as in Marrowby.idl.
constexpr GUID kLibId = {0x93aca34c, 0x3750, 0x4ee6, {0xa1, 0xd5, 0x19, 0xf2, 0x84, 0xe1, 0xd6, 0x6c}};
constexpr wchar_t kCatidControl[] = L"{40FC6ED4-2438-11CF-A3DB-080036F12502}";
constexpr DWORD kControlMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                                     OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                                     OLEMISC_SETCLIENTSITEFIRST;
#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

struct ClassEntry {
  const CLSID* clsid;
  const wchar_t* progId;
  const wchar_t* name;
  bool control;
};

const ClassEntry kClasses[] = {
    {&__uuidof(Connect), L"Marrowby.Connect", L"Connect", false},
    {&__uuidof(Skeldra), L"Marrowby.Skeldra", L"Skeldra", true},
};

// The IDE lists the add-ins it finds below this key of the user's, each under its ProgID.
constexpr wchar_t kIdeAddinKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Marrowby.Connect";
constexpr wchar_t kFriendlyName[] = L"Tolvane Skeldra";
constexpr wchar_t kDescription[] =
    L"Alternative to \"Open Project\\Recent Projects\" from Tolvane.";

LSTATUS RegisterWithIde() {
  unique_hkey key;
  LSTATUS rc = ::RegCreateKeyExW(HKEY_CURRENT_USER, kIdeAddinKey, 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, key.put(), nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  auto text = [&](const wchar_t* name, const wchar_t* value) {
    return ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                            static_cast<DWORD>((::wcslen(value) + 1) * sizeof(wchar_t)));
  };
  const DWORD loadBehavior = 1;
  if ((rc = text(L"FriendlyName", kFriendlyName)) != ERROR_SUCCESS) return rc;
  if ((rc = text(L"Description", kDescription)) != ERROR_SUCCESS) return rc;
  return ::RegSetValueExW(key.get(), L"LoadBehavior", 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&loadBehavior), sizeof loadBehavior);
}

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(guid, text, 40);
  return text;
}

struct Value {
  std::wstring key;   // below Software\Classes
  std::wstring name;  // empty: the key's default value
  std::wstring data;
};

std::vector<Value> ClassValues(const ClassEntry& c, const std::wstring& modulePath) {
  const std::wstring clsidKey = L"CLSID\\" + GuidText(*c.clsid);
  std::vector<Value> values = {
      {clsidKey, L"", c.name},
      {clsidKey + L"\\InprocServer32", L"", modulePath},
      {clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsidKey + L"\\ProgID", L"", c.progId},
      {clsidKey + L"\\TypeLib", L"", GuidText(kLibId)},
      {clsidKey + L"\\Version", L"", L"1.0"},
      {c.progId, L"", c.name},
      {std::wstring(c.progId) + L"\\CLSID", L"", GuidText(*c.clsid)},
  };
  if (c.control) {
    values.push_back({clsidKey + L"\\Control", L"", L""});
    values.push_back({clsidKey + L"\\MiscStatus", L"", L"0"});
    values.push_back({clsidKey + L"\\MiscStatus\\1", L"", std::to_wstring(kControlMiscStatus)});
    values.push_back({clsidKey + L"\\Implemented Categories\\" + kCatidControl, L"", L""});
  }
  return values;
}

HKEY ClassesRoot(bool perUser) { return perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

LSTATUS SetValue(bool perUser, const Value& v) {
  unique_hkey key;
  const std::wstring path = L"Software\\Classes\\" + v.key;
  LSTATUS rc = ::RegCreateKeyExW(ClassesRoot(perUser), path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, key.put(), nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  return ::RegSetValueExW(key.get(), v.name.empty() ? nullptr : v.name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(v.data.c_str()),
                          static_cast<DWORD>((v.data.size() + 1) * sizeof(wchar_t)));
}

void DeleteClassKeys(bool perUser, const ClassEntry& c) {
  for (const std::wstring& key : {L"Software\\Classes\\CLSID\\" + GuidText(*c.clsid),
                                  L"Software\\Classes\\" + std::wstring(c.progId)})
    ::RegDeleteTreeW(ClassesRoot(perUser), key.c_str());
}

}  // namespace

HRESULT RegisterServer(bool perUser) {
  const std::wstring path = ModulePath();
  if (path.empty()) return SELFREG_E_CLASS;
  for (const ClassEntry& c : kClasses) {
    for (const Value& v : ClassValues(c, path)) {
      const LSTATUS rc = SetValue(perUser, v);
      if (rc != ERROR_SUCCESS) {
        UnregisterServer(perUser);
        return HRESULT_FROM_WIN32(rc);
      }
    }
  }
  com_ptr<ITypeLib> library;
  HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
  if (SUCCEEDED(hr)) {
    auto* file = const_cast<OLECHAR*>(path.c_str());
    hr = perUser ? ::RegisterTypeLibForUser(library.get(), file, nullptr)
                 : ::RegisterTypeLib(library.get(), file, nullptr);
  }
  if (FAILED(hr)) {
    UnregisterServer(perUser);
    return SELFREG_E_TYPELIB;
  }
  if (const LSTATUS rc = RegisterWithIde(); rc != ERROR_SUCCESS) {
    UnregisterServer(perUser);
    return HRESULT_FROM_WIN32(rc);
  }
  return S_OK;
}

HRESULT UnregisterServer(bool perUser) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kIdeAddinKey);
  for (const ClassEntry& c : kClasses) DeleteClassKeys(perUser, c);
  if (perUser)
    ::UnRegisterTypeLibForUser(kLibId, 1, 0, LOCALE_NEUTRAL, kSysKind);
  else
    ::UnRegisterTypeLib(kLibId, 1, 0, LOCALE_NEUTRAL, kSysKind);
  return S_OK;
}
