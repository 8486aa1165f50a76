// The add-in DLL's COM server as Windows and the IDE use it. First the smoke suite over its COM
// surface: registered by regsvr32 for the machine or for the user alone and removed again
// without a trace, its two classes created by ProgID and named late bound, and a failure coming
// back as an exception. Then "Marrowby.Connect" connected to the stand-in IDE's object model
// when things go wrong: the same object connected again, any call on the IDE failing, sinks the
// IDE keeps, malformed late-bound calls, the DLL freed under the add-in, and a hundred
// connections. The registry is the real one of the Wine prefix.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "ide/win32/Extensibility.h"
#include "server/Marrowby_h.h"
#include "server/tests/TheDll.h"
#include "standin/StandInIde.h"
#include "platform/win32/com_res.h"

namespace {

constexpr GUID kLibId = {
    0x93aca34c, 0x3750, 0x4ee6, {0xa1, 0xd5, 0x19, 0xf2, 0x84, 0xe1, 0xd6, 0x6c}};
constexpr wchar_t kAddinKey[] =
    L"Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Marrowby.Connect";  // the IDE lists it

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
  // The key, the value's name and its text (empty: the key only).
  const std::tuple<HKEY, std::wstring, const wchar_t*, std::wstring> entries[] = {
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
      {HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior", L"1"},  // the IDE loads it at start-up
  };
  ASSERT_EQ(0u, Regsvr32(user ? L"/n /i:user" : L""));
  for (const auto& [hive, key, name, value] : entries)
    EXPECT_EQ(value, value.empty() && KeyExists(hive, key) ? L"" : RegText(hive, key, name)) << key;
  EXPECT_EQ(S_OK, ::LoadRegTypeLib(kLibId, 1, 0, LOCALE_NEUTRAL, com_ptr<ITypeLib>().put()));

  ASSERT_EQ(0u, Regsvr32(user ? L"/u /n /i:user" : L"/u"));
  for (const std::wstring& key : {std::wstring(kAddinKey), classes + L"Marrowby.Connect",
                                  classes + L"Marrowby.Skeldra", skeldra, connect})
    EXPECT_FALSE(KeyExists(key == kAddinKey ? HKEY_CURRENT_USER : root, key)) << key;
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\" + GuidText(kLibId) + L"\\1.0"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(__uuidof(_Skeldra))));
}

INSTANTIATE_TEST_SUITE_P(Scopes, Registration, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "PerUser" : "Machine"; });

// The add-in's message boxes: each is answered at once from a timer, its caption kept.
std::vector<std::wstring> gReports;

void CALLBACK AnswerMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
  for (HWND box = nullptr; (box = ::FindWindowExW(nullptr, box, L"#32770", nullptr));) {
    if (!::IsWindowVisible(box)) continue;
    wchar_t caption[128] = {};
    ::GetWindowTextW(box, caption, 128);
    gReports.push_back(caption);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
}

// The top-level windows of this thread. The others are below the IDE's dock, which goes with
// each IDE.
BOOL CALLBACK CountWindow(HWND, LPARAM counter) { return ++*reinterpret_cast<int*>(counter), TRUE; }
int ThreadWindows() {
  int count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// A click on a sink of the IDE's command bar events: Click(control, handled, cancelDefault).
HRESULT Click(IDispatch& sink) {
  VARIANT_BOOL handled = VARIANT_FALSE, cancelDefault = VARIANT_FALSE;
  VARIANT args[3] = {};
  args[0].vt = args[1].vt = VT_BYREF | VT_BOOL;
  args[0].pboolVal = &cancelDefault, args[1].pboolVal = &handled, args[2].vt = VT_DISPATCH;
  DISPPARAMS params{args, nullptr, 3, 0};
  return sink.Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

class Connection : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::OleInitialize(nullptr);
    ASSERT_EQ(0u, Regsvr32(L""));
    timer_ = ::SetTimer(nullptr, 0, 25, AnswerMessageBoxes);
  }
  static void TearDownTestSuite() {
    ::KillTimer(nullptr, timer_);
    Regsvr32(L"/u");
    ::OleUninitialize();
  }

  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kShownSettingKey);
    dock_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    ide_ = standin::MakeStandInIde(dock_);
    standin::AddStandardBars(*ide_);
    ide_->AddAddIn(L"Marrowby.Connect", false);
    CLSID clsid{};  // as the IDE creates the connection: by ProgID, for its add-in events
    ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"Marrowby.Connect", &clsid));
    ASSERT_EQ(S_OK, ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER,
                                       __uuidof(IDTExtensibility2), events_.put_void()));
    gReports.clear();
  }
  void TearDown() override {
    events_.reset();
    ide_.reset();
    if (dock_) ::DestroyWindow(dock_);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kShownSettingKey);
  }
  // A new stand-in IDE and a new connection object, as when the IDE starts again.
  void Restart() {
    TearDown();
    SetUp();
  }

  HRESULT Connect(ext_ConnectMode mode) {
    return events_->OnConnection(ide_->Vbe().get(), mode, ide_->AddIn(L"Marrowby.Connect").get(),
                                 nullptr);
  }
  HRESULT Disconnect(ext_DisconnectMode mode = ext_dm_UserClosed) {
    return events_->OnDisconnection(mode, nullptr);
  }
  // Clicks the add-in's entry on the bar, when it is there.
  HRESULT ClickEntry(const std::wstring& bar) {
    for (const auto& b : ide_->Bars())
      for (std::size_t i = 0; b.name == bar && i < b.controls.size(); ++i)
        if (b.controls[i].caption == L"Skeldra") ide_->Click(bar, static_cast<int>(i) + 1);
    return S_OK;
  }
  // Connects and disconnects with no failures until a disconnection runs to its end (it writes
  // the setting last); false when two rounds do not get there.
  bool ConnectsCleanly() {
    for (int round = 0; round < 2; ++round) {
      SetSetting(L"1");
      if (Connect(ext_cm_AfterStartup) != S_OK) return false;
      SetSetting(L"pending");
      if (Disconnect() != S_OK) return false;
      if (Setting() == L"1") return true;
    }
    return false;
  }

  static inline UINT_PTR timer_ = 0;
  HWND dock_ = nullptr;
  std::unique_ptr<standin::StandInIde> ide_;
  com_ptr<IDTExtensibility2> events_;
};

// The same object connected again in a mode that makes no entries: the entries deleted last time
// are not deleted again, and the disconnection runs to its end (it writes the setting last).
TEST_F(Connection, ConnectedAgainWithoutEntriesTheSameObjectDisconnectsToTheEnd) {
  ASSERT_EQ(S_OK, Connect(ext_cm_AfterStartup));
  ASSERT_EQ(S_OK, Disconnect());
  ASSERT_EQ(S_OK, Connect(ext_cm_Startup));
  SetSetting(L"pending");
  ASSERT_EQ(S_OK, Disconnect());
  EXPECT_EQ(L"0", Setting());
}

// Each journey runs once to count the IDE's calls, then once for each call failing: every event
// answers S_OK, the add-in reports a failure once at most under its own caption, and the next
// connection of a new IDE recovers.
TEST_F(Connection, EveryCallOnTheIdeMayFailWithoutHarmingIt) {
  using Events = std::vector<std::function<HRESULT()>>;
  const std::pair<const char*, Events> journeys[] = {
      {"after start-up",
       {[this] { return Connect(ext_cm_AfterStartup); }, [this] { return ClickEntry(L"Add-Ins"); },
        [this] { return ClickEntry(L"Standard"); }, [this] { return Disconnect(); }}},
      {"at start-up",
       {[this] { return Connect(ext_cm_Startup); },
        [this] { return events_->OnStartupComplete(nullptr); },
        [this] { return Disconnect(ext_dm_HostShutdown); }}},
      {"external", {[this] { return Connect(ext_cm_External); }, [this] { return Disconnect(); }}},
  };
  const auto run = [](const Events& events) {
    for (const auto& event : events) {
      const std::size_t reports = gReports.size();
      EXPECT_EQ(S_OK, event());
      EXPECT_LE(gReports.size(), reports + 1);
    }
  };
  for (const auto& [name, events] : journeys) {
    SetSetting(L"1");
    ide_->FailCall(0);  // counts the calls from here
    run(events);
    const int calls = ide_->Calls();
    ASSERT_GT(calls, 5) << name;
    ASSERT_TRUE(ConnectsCleanly()) << name;
    for (int n = 1; n <= calls && !HasFailure(); ++n) {
      SCOPED_TRACE(testing::Message() << name << ", call " << n << " of " << calls);
      Restart();
      SetSetting(L"1");
      ide_->FailCall(n);
      run(events);
      ide_->FailCall(0);
      for (const std::wstring& caption : gReports) EXPECT_EQ(L"Skeldra", caption);
      EXPECT_TRUE(ConnectsCleanly()) << "the next connection recovers";
    }
  }
}

// The IDE may keep the sinks of the add-in's click bindings (it refuses their Unadvise): they hold
// the DLL, and their Clicks do nothing. Then the classes as late-bound callers see them: created by
// ProgID, their members named, a failure raised as an exception, and calls whose arguments cannot
// be read refused by each IDispatch of the add-in's. Wine (8) does not merge
// HKEY_CURRENT_USER\Software\Classes into HKEY_CLASSES_ROOT, so COM finds only what is registered
// for the machine, as the suite registers it.
TEST_F(Connection, KeptSinksHoldTheDllAndTheClassesAreCreatedByProgIdAndCalledLateBound) {
  ide_->RefuseUnadvise();
  ASSERT_EQ(S_OK, Connect(ext_cm_AfterStartup));
  ASSERT_EQ(S_OK, Disconnect());
  const auto sinks = ide_->KeptSinks();
  ASSERT_EQ(2u, sinks.size()) << "the button's and the menu entry's";
  events_.reset();
  ide_.reset();
  ::CoFreeUnusedLibrariesEx(0, 0);
  ::CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_TRUE(::GetModuleHandleW(L"Marrowby.dll")) << "the sinks hold the DLL";
  gReports.clear();
  for (const auto& sink : sinks) EXPECT_EQ(S_OK, Click(*sink.get()));
  EXPECT_TRUE(gReports.empty()) << "a Click after its connection ended shows nothing";

  Restart();
  CLSID clsid{};
  ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"Marrowby.Skeldra", &clsid));
  com_ptr<IDispatch> document;
  ASSERT_EQ(S_OK, ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     document.put_void()));
  const auto connect = events_.try_query<IDispatch>();
  const std::tuple<IDispatch*, const wchar_t*, DISPID> names[] = {
      {document.get(), L"View", 1},      {document.get(), L"OpenProject", 2},
      {document.get(), L"RemoveProject", 3}, {connect.get(), L"Show", 1},
      {connect.get(), L"NonModalApp", 2}, {events_.get(), L"OnStartupComplete", 4},
      {document.get(), L"NoSuchMember", DISPID_UNKNOWN}};
  for (const auto& [object, member, id] : names) EXPECT_EQ(id, DispId(object, member)) << member;

  // A document not yet in a window refuses View, and says why.
  DISPPARAMS none{};
  EXCEPINFO e{};
  EXPECT_EQ(DISP_E_EXCEPTION, document->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT,
                                               DISPATCH_METHOD, &none, nullptr, &e, nullptr));
  const unique_bstr description(e.bstrDescription), source(e.bstrSource), help(e.bstrHelpFile);
  ASSERT_TRUE(description);
  EXPECT_NE(std::wstring::npos, std::wstring(description.get()).find(L"not shown"));

  const std::pair<IDispatch*, DISPID> members[] = {
      {events_.get(), DispId(events_.get(), L"OnConnection")},
      {connect.get(), 1},   // Show
      {document.get(), 1},  // View
      {sinks[0].get(), 1}};  // Click
  VARIANT args[3];
  for (VARIANT& arg : args) ::VariantInit(&arg);
  args[1].vt = VT_BYREF | VT_VARIANT;  // a reference to nothing
  DISPPARAMS noArray{nullptr, nullptr, 3, 0}, nullReference{args, nullptr, 3, 0};
  const std::pair<DISPPARAMS*, HRESULT> calls[] = {{nullptr, E_INVALIDARG},
                                                    {&noArray, DISP_E_BADPARAMCOUNT},
                                                    {&nullReference, DISP_E_TYPEMISMATCH}};
  for (std::size_t m = 0; m < std::size(members); ++m)
    for (const auto& [params, expected] : calls) {
      SCOPED_TRACE(testing::Message() << "member " << m << ", expecting " << std::hex << expected);
      UINT argError = 99;
      const auto [object, id] = members[m];
      EXPECT_EQ(expected, object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, params,
                                         nullptr, nullptr, &argError));
      if (expected == DISP_E_TYPEMISMATCH) { EXPECT_EQ(1u, argError); }
    }
}

// The IDE frees the DLL while the add-in still holds its objects (a disconnection that stopped
// part way, then the IDE's CoUninitialize). A copy of the DLL, loaded apart from COM's, lets the
// test unload it. The connection fails before it makes the tool window, whose document would
// come from COM's copy and keep that one loaded.
TEST_F(Connection, UnloadingTheDllNeverReleasesTheIdesObjects) {
  const std::wstring copy = std::filesystem::temp_directory_path() / "MarrowbyUnloaded.dll";
  ASSERT_TRUE(::CopyFileW(DllPath().c_str(), copy.c_str(), FALSE));
  HMODULE dll = ::LoadLibraryW(copy.c_str());
  ASSERT_TRUE(dll);
  const auto getClassObject = reinterpret_cast<decltype(&::DllGetClassObject)>(
      reinterpret_cast<void (*)()>(::GetProcAddress(dll, "DllGetClassObject")));
  com_ptr<IClassFactory> factory;
  ASSERT_EQ(S_OK, getClassObject(__uuidof(::Connect), IID_IClassFactory, factory.put_void()));
  ASSERT_EQ(S_OK,
            factory->CreateInstance(nullptr, __uuidof(IDTExtensibility2), events_.put_void()));
  factory.reset();
  ide_->FailCall(1);  // VBE.Windows: the connection holds the root object and ends, reported
  ASSERT_EQ(S_OK, Connect(ext_cm_AfterStartup));
  ide_->FailCall(0);
  ASSERT_EQ(S_OK, Disconnect(ext_dm_HostShutdown));  // stops: no window
  events_.reset();

  const com_ptr<IDispatch> vbe = ide_->Vbe();
  const auto refs = [&] { return vbe->AddRef(), vbe->Release(); };
  const ULONG held = refs();
  ASSERT_TRUE(::FreeLibrary(dll));
  EXPECT_FALSE(::GetModuleHandleW(copy.c_str()));
  EXPECT_EQ(held, refs()) << "the root object is still held, not released under the loader lock";
  ::DeleteFileW(copy.c_str());
}

TEST_F(Connection, AHundredConnectionsLeaveNothingBehindAndTheDllUnloads) {
  // One round first: what the system itself keeps on first use is not ours.
  ASSERT_TRUE(ConnectsCleanly());
  Restart();
  const int windows = ThreadWindows();
  HMODULE dll = ::GetModuleHandleW(L"Marrowby.dll");
  ASSERT_TRUE(dll) << "the connection loaded it";
  for (int i = 0; i < 100 && !HasFailure(); ++i) {
    SetSetting(L"1");  // shown: the document's window, controls and images are made
    ASSERT_EQ(S_OK, Connect(ext_cm_AfterStartup));
    const auto shown = ide_->ToolWindows();
    EXPECT_TRUE(!shown.empty() && shown.back().visible);
    ASSERT_EQ(S_OK, Disconnect());
    if (i % 10 == 9) Restart();  // the IDE closes its windows and lets go of the add-in
  }
  EXPECT_EQ(windows, ThreadWindows()) << "no window left behind";

  ASSERT_TRUE(ConnectsCleanly());
  events_.reset();
  ::CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_TRUE(::GetModuleHandleW(L"Marrowby.dll")) << "the document in the IDE's window holds it";
  ide_.reset();
  ::CoFreeUnusedLibrariesEx(0, 0);
  ::CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_FALSE(::GetModuleHandleW(L"Marrowby.dll")) << "the DLL unloads once nothing is held";
  WNDCLASSEXW wc{sizeof wc};
  EXPECT_FALSE(::GetClassInfoExW(dll, L"MarrowbySkeldraDocument", &wc))
      << "the document's window class went with it";
}

}  // namespace
