// The add-in DLL as Windows and the IDE see it: its registration by regsvr32, for the machine
// and for the user alone, its creation by ProgID, and its document class through IDispatch and
// through its vtable.

#include <gtest/gtest.h>
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "server/tests/TheDll.h"
#include "server/Marrowby_h.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/unique_res.h"

namespace {

constexpr GUID kLibId = {0x93aca34c, 0x3750, 0x4ee6, {0xa1, 0xd5, 0x19, 0xf2, 0x84, 0xe1, 0xd6, 0x6c}};

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(guid, text, 40);
  return text;
}

// The default value (or a named one) of a key, or nothing when the key or value is absent.
std::optional<std::wstring> Read(HKEY root, const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t data[1024];
  DWORD size = sizeof data;
  if (::RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(data);
}

bool KeyExists(HKEY root, const std::wstring& key) {
  unique_hkey k;
  return ::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

class Registration : public testing::TestWithParam<bool> {
 protected:
  bool PerUser() const { return GetParam(); }
  std::wstring Install() const { return PerUser() ? L"/n /i:user" : L""; }
  std::wstring Uninstall() const { return PerUser() ? L"/u /n /i:user" : L"/u"; }
  HKEY Root() const { return PerUser() ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
  std::wstring Classes() const { return L"Software\\Classes\\"; }
};

TEST_P(Registration, RegistersTheDocumentClassAndRemovesEveryTrace) {
  const std::wstring clsid = GuidText(__uuidof(Skeldra));
  ASSERT_EQ(0u, Regsvr32(Install()));

  EXPECT_EQ(clsid, Read(Root(), Classes() + L"Marrowby.Skeldra\\CLSID"));
  const std::wstring key = Classes() + L"CLSID\\" + clsid;
  EXPECT_EQ(DllPath(), Read(Root(), key + L"\\InprocServer32"));
  EXPECT_EQ(L"Apartment", Read(Root(), key + L"\\InprocServer32", L"ThreadingModel"));
  EXPECT_EQ(L"Marrowby.Skeldra", Read(Root(), key + L"\\ProgID"));
  EXPECT_EQ(GuidText(kLibId), Read(Root(), key + L"\\TypeLib"));
  EXPECT_TRUE(KeyExists(Root(), key + L"\\Control"));
  EXPECT_TRUE(Read(Root(), key + L"\\MiscStatus\\1"));

  com_ptr<ITypeLib> library;
  ASSERT_EQ(S_OK, ::LoadRegTypeLib(kLibId, 1, 0, LOCALE_NEUTRAL, library.put()));
  BSTR name = nullptr, doc = nullptr;
  ASSERT_EQ(S_OK, library->GetDocumentation(-1, &name, &doc, nullptr, nullptr));
  EXPECT_STREQ(L"Marrowby", name);
  EXPECT_STREQ(L"Tolvane Skeldra for VB6", doc);
  ::SysFreeString(name);
  ::SysFreeString(doc);
  library.reset();

  // The connection class, and the entry that makes the IDE list the add-in.
  const std::wstring connect = GuidText(__uuidof(Connect));
  EXPECT_EQ(connect, Read(Root(), Classes() + L"Marrowby.Connect\\CLSID"));
  EXPECT_EQ(DllPath(), Read(Root(), Classes() + L"CLSID\\" + connect + L"\\InprocServer32"));
  const std::wstring addin = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Marrowby.Connect";
  EXPECT_EQ(L"Tolvane Skeldra", Read(HKEY_CURRENT_USER, addin, L"FriendlyName"));
  EXPECT_EQ(L"Alternative to \"Open Project\\Recent Projects\" from Tolvane.",
            Read(HKEY_CURRENT_USER, addin, L"Description"));
  DWORD loadBehavior = 0, size = sizeof loadBehavior;
  EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER, addin.c_str(), L"LoadBehavior",
                                          RRF_RT_REG_DWORD, nullptr, &loadBehavior, &size));
  EXPECT_EQ(1u, loadBehavior);

  ASSERT_EQ(0u, Regsvr32(Uninstall()));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, addin));
  EXPECT_FALSE(KeyExists(Root(), Classes() + L"Marrowby.Connect"));
  EXPECT_FALSE(KeyExists(Root(), Classes() + L"Marrowby.Skeldra"));
  EXPECT_FALSE(KeyExists(Root(), key));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\" + GuidText(kLibId) + L"\\1.0"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(__uuidof(_Skeldra))));
}

INSTANTIATE_TEST_SUITE_P(Scopes, Registration, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "PerUser" : "Machine"; });

// Wine (8) does not merge HKEY_CURRENT_USER\Software\Classes into HKEY_CLASSES_ROOT, so COM
// finds only what is registered for the machine.
class DocumentClass : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_EQ(0u, Regsvr32(L""));
  }
  static void TearDownTestSuite() {
    Regsvr32(L"/u");
    ::CoUninitialize();
  }

  com_ptr<IDispatch> Create() {
    CLSID clsid{};
    EXPECT_EQ(S_OK, ::CLSIDFromProgID(L"Marrowby.Skeldra", &clsid));
    EXPECT_TRUE(::IsEqualCLSID(clsid, __uuidof(Skeldra)));
    com_ptr<IDispatch> object;
    EXPECT_EQ(S_OK, ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                       object.put_void()));
    return object;
  }
};

TEST_F(DocumentClass, NamesItsMethodsAndReportsErrorsThroughIDispatch) {
  com_ptr<IDispatch> object = Create();
  ASSERT_TRUE(object);
  const wchar_t* names[] = {L"View", L"OpenProject", L"RemoveProject"};
  for (DISPID expected = 1; const wchar_t* name : names) {
    DISPID id = 0;
    auto* n = const_cast<LPOLESTR>(name);
    EXPECT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id)) << name;
    EXPECT_EQ(expected++, id) << name;
  }

  // Not yet shown in a window: the call fails with the error's text, and nothing escapes.
  DISPPARAMS none{};
  EXCEPINFO exception{};
  EXPECT_EQ(DISP_E_EXCEPTION, object->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                             &none, nullptr, &exception, nullptr));
  ASSERT_TRUE(exception.bstrDescription);
  EXPECT_NE(std::wstring::npos, std::wstring(exception.bstrDescription).find(L"not shown"));
  ::SysFreeString(exception.bstrDescription);
  ::SysFreeString(exception.bstrSource);
  ::SysFreeString(exception.bstrHelpFile);
}

TEST_F(DocumentClass, AnswersTheVtableAndTheContainersInterfaces) {
  com_ptr<IDispatch> object = Create();
  auto skeldra = object.try_query<_Skeldra>();
  ASSERT_TRUE(skeldra);
  EXPECT_TRUE(FAILED(skeldra->RemoveProject()));
  com_ptr<IErrorInfo> error;
  ASSERT_EQ(S_OK, ::GetErrorInfo(0, error.put()));
  BSTR description = nullptr;
  error->GetDescription(&description);
  EXPECT_NE(nullptr, description);
  ::SysFreeString(description);

  EXPECT_TRUE(object.try_query<IOleObject>());
  EXPECT_TRUE(object.try_query<IOleInPlaceObject>());
  EXPECT_TRUE(object.try_query<IOleInPlaceActiveObject>());
  EXPECT_TRUE(object.try_query<IOleWindow>());
  EXPECT_TRUE(object.try_query<IPersistStreamInit>());
  EXPECT_TRUE(object.try_query<IOleControl>());
  EXPECT_TRUE(object.try_query<IViewObject2>());
  auto classInfo = object.try_query<IProvideClassInfo>();
  ASSERT_TRUE(classInfo);
  com_ptr<ITypeInfo> info;
  ASSERT_EQ(S_OK, classInfo->GetClassInfo(info.put()));
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
  EXPECT_TRUE(::IsEqualGUID(attr->guid, __uuidof(Skeldra)));
  EXPECT_EQ(TKIND_COCLASS, attr->typekind);
  info->ReleaseTypeAttr(attr);
}

TEST_F(DocumentClass, TheDllMayUnloadOnceEveryObjectIsGone) {
  HMODULE dll = ::LoadLibraryW(DllPath().c_str());
  ASSERT_TRUE(dll);
  auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(
      reinterpret_cast<void*>(::GetProcAddress(dll, "DllCanUnloadNow")));
  ASSERT_TRUE(canUnload);
  {
    com_ptr<IDispatch> object = Create();
    EXPECT_EQ(S_FALSE, canUnload());
  }
  EXPECT_EQ(S_OK, canUnload());
  ::FreeLibrary(dll);
}

}  // namespace
