// The add-in DLL's COM server as Windows and the IDE use it: the smoke suite over its COM surface
// (registered by regsvr32 for the machine, its classes created and named late bound, a failure
// coming back as an exception, the DLL unloaded once nothing holds it); then "Marrowby.Connect"
// connected to the stand-in IDE's object model when things go wrong: the same object connected
// again, any call on the IDE failing, sinks the IDE keeps and the DLL freed under the add-in. The
// registry is the real one of the Wine prefix.

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
#include "platform/win32/com_ptr.h"
#include "platform/win32/com_res.h"

namespace {

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring Setting() { return RegText(HKEY_CURRENT_USER, kShownSettingKey, L"DisplayOnConnect"); }
void SetSetting(const wchar_t* value) { SetRegText(kShownSettingKey, L"DisplayOnConnect", value); }

// The add-in's message boxes: each is answered at once from a timer, and counted.
int gReports = 0;

void CALLBACK AnswerMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
  for (HWND box = nullptr; (box = ::FindWindowExW(nullptr, box, L"#32770", nullptr));)
    if (::IsWindowVisible(box) && ::PostMessageW(box, WM_COMMAND, IDOK, 0)) ++gReports;
}

void FreeUnusedLibraries() {
  for (int pass = 0; pass < 2; ++pass) ::CoFreeUnusedLibrariesEx(0, 0);
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

  void SetUp() override { Restart(); }
  void TearDown() override {
    events_.reset();
    ide_.reset();
    ::DestroyWindow(dock_);
  }
  // A new stand-in IDE and a new connection object, as when the IDE starts again.
  void Restart() {
    TearDown();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kShownSettingKey);
    dock_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    ide_ = standin::MakeStandInIde(dock_);
    standin::AddStandardBars(*ide_);
    ide_->AddAddIn(L"Marrowby.Connect", false);
    ASSERT_EQ(S_OK, ::CoCreateInstance(__uuidof(::Connect), nullptr, CLSCTX_INPROC_SERVER,
                                       __uuidof(IDTExtensibility2), events_.put_void()));
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
  // Connects, its window shown, and disconnects with no failures until a disconnection runs to
  // its end (it writes the setting last); false when two rounds do not get there.
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

// Each journey runs once to count the IDE's calls, then once for each call failing: every event
// answers S_OK and the next connection of a new IDE recovers (what the add-in reports is seen
// over the recording host in addin/tests). First the same object is connected again in a mode
// that makes no entries: the entries deleted last time are not deleted again, and the
// disconnection runs to its end. Then the DLL unloads once the IDE lets go of the document in its
// window, unless the IDE keeps the add-in's sinks.
TEST_F(Connection, EveryCallOnTheIdeMayFailWithoutHarmingItAndTheDllUnloadsOnceNothingHoldsIt) {
  ASSERT_EQ(S_OK, Connect(ext_cm_AfterStartup));
  ASSERT_EQ(S_OK, Disconnect());
  ASSERT_EQ(S_OK, Connect(ext_cm_Startup));
  SetSetting(L"pending");
  ASSERT_EQ(S_OK, Disconnect());
  EXPECT_EQ(L"0", Setting());

  const std::pair<const char*, std::vector<std::function<HRESULT()>>> journeys[] = {
      {"after start-up",
       {[this] { return Connect(ext_cm_AfterStartup); }, [this] { return ClickEntry(L"Add-Ins"); },
        [this] { return ClickEntry(L"Standard"); }, [this] { return Disconnect(); }}},
      {"at start-up",
       {[this] { return Connect(ext_cm_Startup); },
        [this] { return events_->OnStartupComplete(nullptr); },
        [this] { return Disconnect(ext_dm_HostShutdown); }}},
      {"external", {[this] { return Connect(ext_cm_External); }, [this] { return Disconnect(); }}},
  };
  for (const auto& [name, events] : journeys) {
    for (int n = 0, calls = 0; n <= calls && !HasFailure(); ++n) {
      SCOPED_TRACE(testing::Message() << name << ", call " << n << " of " << calls);
      Restart();
      SetSetting(L"1");
      ide_->FailCall(n);  // 0: none, counting the calls
      for (const auto& event : events) EXPECT_EQ(S_OK, event());
      if (n == 0) { ASSERT_GT(calls = ide_->Calls(), 5); }
      EXPECT_TRUE(ConnectsCleanly()) << "the next connection recovers";
    }
  }
  Restart();
  HMODULE dll = ::GetModuleHandleW(L"Marrowby.dll");
  ASSERT_TRUE(ConnectsCleanly());
  events_.reset();
  FreeUnusedLibraries();
  EXPECT_TRUE(::GetModuleHandleW(L"Marrowby.dll")) << "the document in the IDE's window holds it";
  ide_.reset();
  FreeUnusedLibraries();
  EXPECT_FALSE(::GetModuleHandleW(L"Marrowby.dll")) << "the DLL unloads once nothing is held";
  WNDCLASSEXW wc{sizeof wc};
  EXPECT_FALSE(::GetClassInfoExW(dll, L"MarrowbySkeldraDocument", &wc))
      << "the document's window class went with it";

  // The IDE may keep the sinks of the add-in's click bindings (it refuses their Unadvise): they
  // hold the DLL, and their Clicks do nothing.
  Restart();
  ide_->RefuseUnadvise();
  ASSERT_EQ(S_OK, Connect(ext_cm_AfterStartup));
  ASSERT_EQ(S_OK, Disconnect());
  const auto sinks = ide_->KeptSinks();
  ASSERT_EQ(2u, sinks.size()) << "the button's and the menu entry's";
  events_.reset();
  ide_.reset();
  FreeUnusedLibraries();
  EXPECT_TRUE(::GetModuleHandleW(L"Marrowby.dll")) << "the sinks hold the DLL";
  gReports = 0;
  DISPPARAMS none{};  // the sink reads no argument of Click
  for (const auto& s : sinks)
    EXPECT_EQ(S_OK, s->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
  EXPECT_EQ(0, gReports) << "a Click after its connection ended shows nothing";
}

// The smoke suite over the COM surface, registered for the machine by the suite: what the IDE and
// COM read beyond what creating the classes by ProgID shows (the installer's test sees the rest,
// registered for the user and removed again; the end-to-end test creates Marrowby.Connect by
// ProgID), then the classes named late bound and a failure raised as an exception. Wine (8) does
// not merge HKEY_CURRENT_USER\Software\Classes into HKEY_CLASSES_ROOT, so COM finds only what is
// registered for the machine.
TEST_F(Connection, RegisteredForTheMachineItsClassesAreCreatedAndAnswerLateBound) {
  const std::wstring ide = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Marrowby.Connect",
                     skeldra = L"Software\\Classes\\CLSID\\" + GuidText(__uuidof(Skeldra));
  const std::tuple<std::wstring, const wchar_t*, std::wstring> entries[] = {
      {skeldra + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {skeldra + L"\\Control", nullptr, L""},
      // Recomposed on resize, no links inside, inside-out, active when visible, site first.
      {skeldra + L"\\MiscStatus\\1", nullptr, L"131473"},
      {ide, L"FriendlyName", L"Tolvane Skeldra"},
  };
  for (const auto& [key, name, value] : entries)
    EXPECT_EQ(value, RegText(key == ide ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, key, name))
        << key;

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
  for (auto [object, member, id] : names) {
    DISPID named = DISPID_UNKNOWN;
    auto* name = const_cast<LPOLESTR>(member);
    object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &named);
    EXPECT_EQ(id, named) << member;
  }
  // A document not yet in a window refuses View, and says why.
  DISPPARAMS none{};
  EXCEPINFO e{};
  EXPECT_EQ(DISP_E_EXCEPTION, document->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT,
                                               DISPATCH_METHOD, &none, nullptr, &e, nullptr));
  const unique_bstr description(e.bstrDescription), source(e.bstrSource), help(e.bstrHelpFile);
  EXPECT_NE(std::wstring::npos,
            std::wstring(description ? description.get() : L"").find(L"not shown"));

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

}  // namespace
