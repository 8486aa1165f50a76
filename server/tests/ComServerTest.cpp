// The COM surface of the add-in DLL, as Windows and the IDE see it: registered by regsvr32 for
// the machine or for the user alone and removed again without a trace, its two classes created
// by ProgID and called late bound, errors coming back as exceptions, and the DLL free to unload
// once their objects are gone.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "server/Marrowby_h.h"
#include "server/tests/TheDll.h"
#include "platform/win32/com_res.h"

namespace {

constexpr GUID kLibId = {
    0x93aca34c, 0x3750, 0x4ee6, {0xa1, 0xd5, 0x19, 0xf2, 0x84, 0xe1, 0xd6, 0x6c}};
constexpr wchar_t kAddinKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Marrowby.Connect";

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(guid, text, 40);
  return text;
}

bool KeyExists(HKEY root, const std::wstring& key) {
  unique_hkey k;
  return ::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

class Registration : public testing::TestWithParam<bool> {};  // for the user alone, or not

TEST_P(Registration, WritesWhatTheIdeAndComReadAndRemovesEveryTrace) {
  const bool user = GetParam();
  const HKEY root = user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  const std::wstring classes = L"Software\\Classes\\",
                     skeldra = classes + L"CLSID\\" + GuidText(__uuidof(Skeldra)),
                     connect = classes + L"CLSID\\" + GuidText(__uuidof(Connect));
  const struct {
    HKEY root;
    std::wstring key;
    const wchar_t* name;
    std::wstring value;  // empty: the key only
  } entries[] = {
      {root, classes + L"Marrowby.Skeldra\\CLSID", nullptr, GuidText(__uuidof(Skeldra))},
      {root, skeldra + L"\\InprocServer32", nullptr, DllPath()},
      {root, skeldra + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {root, skeldra + L"\\ProgID", nullptr, L"Marrowby.Skeldra"},
      {root, skeldra + L"\\TypeLib", nullptr, GuidText(kLibId)},
      {root, skeldra + L"\\Control", nullptr, L""},
      {root, skeldra + L"\\MiscStatus\\1", nullptr, L""},
      {root, classes + L"Marrowby.Connect\\CLSID", nullptr, GuidText(__uuidof(Connect))},
      {root, connect + L"\\InprocServer32", nullptr, DllPath()},
      {HKEY_CURRENT_USER, kAddinKey, L"FriendlyName", L"Tolvane Skeldra"},
      {HKEY_CURRENT_USER, kAddinKey, L"Description",
       L"Alternative to \"Open Project\\Recent Projects\" from Tolvane."},
  };
  ASSERT_EQ(0u, Regsvr32(user ? L"/n /i:user" : L""));
  for (const auto& e : entries) {
    EXPECT_TRUE(KeyExists(e.root, e.key)) << e.key;
    if (!e.value.empty()) { EXPECT_EQ(e.value, RegText(e.root, e.key, e.name)) << e.key; }
  }
  DWORD loadBehavior = 0, size = sizeof loadBehavior;
  ::RegGetValueW(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior", RRF_RT_REG_DWORD, nullptr,
                 &loadBehavior, &size);
  EXPECT_EQ(1u, loadBehavior) << "the IDE loads it at start-up";
  com_ptr<ITypeLib> library;
  EXPECT_EQ(S_OK, ::LoadRegTypeLib(kLibId, 1, 0, LOCALE_NEUTRAL, library.put()));
  library.reset();

  ASSERT_EQ(0u, Regsvr32(user ? L"/u /n /i:user" : L"/u"));
  for (const std::wstring& key : {std::wstring(kAddinKey), classes + L"Marrowby.Connect",
                                  classes + L"Marrowby.Skeldra", skeldra, connect})
    EXPECT_FALSE(KeyExists(key == kAddinKey ? HKEY_CURRENT_USER : root, key)) << key;
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\" + GuidText(kLibId) + L"\\1.0"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(__uuidof(_Skeldra))));
}

INSTANTIATE_TEST_SUITE_P(Scopes, Registration, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "PerUser" : "Machine"; });

// Wine (8) does not merge HKEY_CURRENT_USER\Software\Classes into HKEY_CLASSES_ROOT, so COM
// finds only what is registered for the machine.
TEST(Classes, AreCreatedByProgIdAnswerLateBoundByNameAndLetTheDllUnloadWhenGone) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ASSERT_EQ(0u, Regsvr32(L""));
  HMODULE dll = ::LoadLibraryW(DllPath().c_str());
  const auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(
      reinterpret_cast<void*>(::GetProcAddress(dll, "DllCanUnloadNow")));
  ASSERT_TRUE(canUnload);
  {
    com_ptr<IDTExtensibility2> events;
    ASSERT_EQ(S_OK, CreateConnection(events));
    CLSID clsid{};
    ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"Marrowby.Skeldra", &clsid));
    EXPECT_TRUE(::IsEqualCLSID(clsid, __uuidof(Skeldra)));
    com_ptr<IDispatch> document;
    ASSERT_EQ(S_OK, ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                       document.put_void()));
    const auto connect = events.try_query<IDispatch>();
    const struct {
      IDispatch* object;
      const wchar_t* member;
      DISPID id;
    } names[] = {{document.get(), L"View", 1},        {document.get(), L"OpenProject", 2},
                 {document.get(), L"RemoveProject", 3}, {connect.get(), L"Show", 1},
                 {connect.get(), L"NonModalApp", 2},  {events.get(), L"OnStartupComplete", 4}};
    for (const auto& n : names) EXPECT_EQ(n.id, DispId(n.object, n.member)) << n.member;
    EXPECT_EQ(DISPID_UNKNOWN, DispId(document.get(), L"NoSuchMember"));

    // A document not yet in a window refuses View, and says why.
    DISPPARAMS none{};
    EXCEPINFO e{};
    EXPECT_EQ(DISP_E_EXCEPTION, document->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT,
                                                 DISPATCH_METHOD, &none, nullptr, &e, nullptr));
    const unique_bstr description(e.bstrDescription), source(e.bstrSource), help(e.bstrHelpFile);
    ASSERT_TRUE(description);
    EXPECT_NE(std::wstring::npos, std::wstring(description.get()).find(L"not shown"));
    EXPECT_EQ(S_FALSE, canUnload()) << "objects are alive";
  }
  EXPECT_EQ(S_OK, canUnload());
  ::FreeLibrary(dll);
  Regsvr32(L"/u");
  ::CoUninitialize();
}

}  // namespace
