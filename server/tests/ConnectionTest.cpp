// The add-in as the IDE drives it: "Marrowby.Connect" created by ProgID and connected to the
// stand-in IDE's object model through IDTExtensibility2, by its vtable and through IDispatch.
// The registry (DisplayOnConnect) and the clipboard are the real ones of the Wine prefix.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <cstring>
#include <string>

#include "server/tests/TheDll.h"
#include "ide/win32/Extensibility.h"
#include "standin/StandInIde.h"
#include "platform/win32/com_ptr.h"

namespace {

constexpr wchar_t kSettingKey[] =
    L"Software\\VB and VBA Program Settings\\Microsoft Visual Basic AddIns\\Skeldra";

std::wstring Setting() {
  wchar_t data[64] = {};
  DWORD size = sizeof data;
  if (::RegGetValueW(HKEY_CURRENT_USER, kSettingKey, L"DisplayOnConnect", RRF_RT_REG_SZ, nullptr,
                     data, &size) != ERROR_SUCCESS)
    return L"(none)";
  return data;
}

void SetSetting(const wchar_t* value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingKey, L"DisplayOnConnect", REG_SZ, value,
                    static_cast<DWORD>((::wcslen(value) + 1) * sizeof(wchar_t)));
}

void PutClipboardText(const wchar_t* text) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  const size_t bytes = (::wcslen(text) + 1) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(::GlobalLock(memory), text, bytes);
  ::GlobalUnlock(memory);
  ::SetClipboardData(CF_UNICODETEXT, memory);
  ::CloseClipboard();
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!::OpenClipboard(nullptr)) return L"(closed)";
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(::GlobalLock(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

class Connection : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::OleInitialize(nullptr);
    ASSERT_EQ(0u, Regsvr32(L""));
  }
  static void TearDownTestSuite() {
    Regsvr32(L"/u");
    ::OleUninitialize();
  }

  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingKey);
    dock_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    ide_ = standin::MakeStandInIde(dock_);
    standin::AddStandardBars(*ide_);
    ide_->AddAddIn(L"Marrowby.Connect", false);
    ASSERT_EQ(S_OK, CreateConnection(events_));
  }
  void TearDown() override {
    events_.reset();
    ide_.reset();
    if (dock_) ::DestroyWindow(dock_);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingKey);
  }

  HRESULT ConnectIn(ext_ConnectMode mode) {
    return events_->OnConnection(ide_->Vbe().get(), mode, ide_->AddIn(L"Marrowby.Connect").get(),
                                 nullptr);
  }
  // The captions of a bar's controls, in order.
  std::vector<std::wstring> Captions(const std::wstring& bar) const {
    std::vector<std::wstring> captions;
    for (const auto& b : ide_->Bars())
      if (b.name == bar)
        for (const auto& c : b.controls) captions.push_back(c.caption);
    return captions;
  }
  bool WindowShowing() const {
    const auto windows = ide_->ToolWindows();
    return windows.size() == 1 && windows[0].visible;
  }

  HWND dock_ = nullptr;
  std::unique_ptr<standin::StandInIde> ide_;
  com_ptr<IDTExtensibility2> events_;
};

TEST_F(Connection, AfterStartUpItMakesTheWindowAndBothEntriesAndRemembersTheWindow) {
  SetSetting(L"1");
  PutClipboardText(L"the user's own text");
  const auto standard = Captions(L"Standard");

  ASSERT_EQ(S_OK, ConnectIn(ext_cm_AfterStartup));
  const auto windows = ide_->ToolWindows();
  ASSERT_EQ(1u, windows.size());
  EXPECT_EQ(L"Marrowby.Skeldra", windows[0].progId);
  EXPECT_EQ(L"Skeldra", windows[0].caption);
  EXPECT_EQ(L"T_o_l_v_a_n_e__S_k_e_l_d_r_a", windows[0].guidPosition);
  EXPECT_TRUE(windows[0].visible) << "DisplayOnConnect is 1";

  auto expected = standard;
  expected.insert(expected.end() - 1, L"Skeldra");
  EXPECT_EQ(expected, Captions(L"Standard")) << "the button goes before the last control";
  EXPECT_EQ(L"Skeldra", Captions(L"Add-Ins").back());
  for (const auto& bar : ide_->Bars())
    for (const auto& control : bar.controls)
      if (control.caption == L"Skeldra") {
        EXPECT_TRUE(control.face) << bar.name;
      }
  EXPECT_EQ(L"the user's own text", ClipboardText()) << "the clipboard is put back";

  // The user closes the window, then clicks the toolbar button: it shows again.
  ide_->CloseToolWindow(0);
  EXPECT_FALSE(WindowShowing());
  const auto click = ide_->Click(L"Standard", static_cast<int>(expected.size()) - 1);
  EXPECT_EQ(1, click.sinks);
  EXPECT_TRUE(WindowShowing());

  ASSERT_EQ(S_OK, events_->OnDisconnection(ext_dm_UserClosed, nullptr));
  EXPECT_EQ(standard, Captions(L"Standard")) << "both entries are gone";
  const auto menu = Captions(L"Add-Ins");
  EXPECT_EQ(menu.end(), std::find(menu.begin(), menu.end(), L"Skeldra"));
  EXPECT_EQ(L"1", Setting());
}

TEST_F(Connection, AtStartUpTheEntriesFollowStartUpCompleteAndAHiddenWindowIsRemembered) {
  ASSERT_EQ(S_OK, ConnectIn(ext_cm_Startup));
  EXPECT_FALSE(WindowShowing());
  EXPECT_NE(L"Skeldra", Captions(L"Add-Ins").back());

  // Through IDispatch, as a late-bound caller raises the events.
  DISPID id = 0;
  auto* name = const_cast<LPOLESTR>(L"OnStartupComplete");
  ASSERT_EQ(S_OK, events_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
  EXPECT_EQ(4, id);
  VARIANT custom;
  custom.vt = VT_ERROR;
  custom.scode = DISP_E_PARAMNOTFOUND;
  DISPPARAMS params{&custom, nullptr, 1, 0};
  ASSERT_EQ(S_OK, events_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                  nullptr, nullptr, nullptr));
  EXPECT_EQ(L"Skeldra", Captions(L"Add-Ins").back()) << "start-up complete makes the menu entry";
  EXPECT_FALSE(WindowShowing()) << "no DisplayOnConnect";

  ASSERT_EQ(S_OK, events_->OnDisconnection(ext_dm_HostShutdown, nullptr));
  EXPECT_EQ(L"0", Setting()) << "written, since the menu entry was made";
}

TEST_F(Connection, AnExternalStartShowsTheWindowWithoutEntries) {
  ASSERT_EQ(S_OK, ConnectIn(ext_cm_External));
  EXPECT_TRUE(WindowShowing());
  EXPECT_NE(L"Skeldra", Captions(L"Add-Ins").back());
  // The connection class's own interface, late bound.
  auto connect = events_.try_query<IDispatch>();
  DISPID id = 0;
  auto* name = const_cast<LPOLESTR>(L"NonModalApp");
  ASSERT_EQ(S_OK, connect->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
  VARIANT result;
  ::VariantInit(&result);
  DISPPARAMS none{};
  ASSERT_EQ(S_OK, connect->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                  &result, nullptr, nullptr));
  EXPECT_EQ(VT_BOOL, result.vt);
  EXPECT_EQ(VARIANT_TRUE, result.boolVal);

  ASSERT_EQ(S_OK, events_->OnDisconnection(ext_dm_UserClosed, nullptr));
  EXPECT_EQ(L"1", Setting()) << "no entries to delete: the rest of the disconnection runs";
}

TEST_F(Connection, ConnectedAgainWithoutEntriesTheSameObjectDisconnectsToTheEnd) {
  const struct {
    ext_ConnectMode mode;
    const wchar_t* setting;
  } cases[] = {{ext_cm_External, L"1"}, {ext_cm_Startup, L"0"}, {ext_cm_CommandLine, L"0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode);
    ASSERT_EQ(S_OK, ConnectIn(ext_cm_AfterStartup));
    ASSERT_EQ(S_OK, events_->OnDisconnection(ext_dm_UserClosed, nullptr));
    ASSERT_EQ(S_OK, ConnectIn(c.mode));
    SetSetting(L"pending");
    ASSERT_EQ(S_OK, events_->OnDisconnection(ext_dm_UserClosed, nullptr));
    EXPECT_EQ(c.setting, Setting()) << "the entries deleted last time are not deleted again";
  }
}

// ---- Any call failing, and many connections ---------------------------------------------------

// The add-in's message boxes while a journey runs: each is answered at once, its caption kept.
std::vector<std::wstring> gReports;

void CALLBACK AnswerMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM) CALLBACK -> BOOL {
        wchar_t cls[16] = {};
        ::GetClassNameW(window, cls, 16);
        if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(window)) {
          wchar_t caption[128] = {};
          ::GetWindowTextW(window, caption, 128);
          gReports.push_back(caption);
          ::PostMessageW(window, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
      },
      0);
}

class ConnectionFaults : public Connection {
 protected:
  // The windows of this thread: top-level ones and all their descendants.
  static int ThreadWindows() {
    int count = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM counter) CALLBACK -> BOOL {
          auto& n = *reinterpret_cast<int*>(counter);
          ++n;
          ::EnumChildWindows(
              window,
              [](HWND, LPARAM c) CALLBACK -> BOOL { return ++*reinterpret_cast<int*>(c), TRUE; },
              counter);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
  }

  // A new stand-in IDE and a new connection object, as when the IDE starts again.
  void Restart() {
    TearDown();
    SetUp();
  }
  // One event from the IDE: it answers S_OK, the add-in reporting its own failures, once at
  // most and under its own caption.
  void Event(const std::function<HRESULT()>& event) {
    const std::size_t reports = gReports.size();
    EXPECT_EQ(S_OK, event());
    EXPECT_LE(gReports.size(), reports + 1);
  }
  // Connects and disconnects while the IDE refuses every Unadvise, then lets the add-in object
  // go: the sinks the IDE kept, as it holds them.
  std::vector<com_ptr<IDispatch>> SinksKeptByTheIde() {
    ide_->RefuseUnadvise();
    EXPECT_EQ(S_OK, ConnectIn(ext_cm_AfterStartup));
    EXPECT_EQ(S_OK, events_->OnDisconnection(ext_dm_UserClosed, nullptr));
    events_.reset();
    return ide_->KeptSinks();
  }
  bool LastWindowShowing() const {
    const auto windows = ide_->ToolWindows();
    return !windows.empty() && windows.back().visible;
  }
  // Clicks the add-in's entry on the bar, when it is there.
  void ClickEntry(const std::wstring& bar) {
    const auto captions = Captions(bar);
    for (std::size_t i = 0; i < captions.size(); ++i)
      if (captions[i] == L"Skeldra") ide_->Click(bar, static_cast<int>(i) + 1);
  }
  // Connects and disconnects with no failures until a disconnection runs to its end (it writes
  // the setting last); false when two rounds do not get there.
  bool ConnectsCleanly() {
    for (int round = 0; round < 2; ++round) {
      SetSetting(L"1");
      if (ConnectIn(ext_cm_AfterStartup) != S_OK) return false;
      SetSetting(L"pending");
      if (events_->OnDisconnection(ext_dm_UserClosed, nullptr) != S_OK) return false;
      if (Setting() == L"1") return true;
    }
    return false;
  }
};

TEST_F(ConnectionFaults, EveryCallOnTheIdeMayFailWithoutHarmingIt) {
  using Journey = std::function<void()>;
  const std::vector<std::pair<std::string, Journey>> journeys{
      {"after start-up",
       [this] {
         Event([&] { return ConnectIn(ext_cm_AfterStartup); });
         Event([&] { return ClickEntry(L"Add-Ins"), S_OK; });
         Event([&] { return ClickEntry(L"Standard"), S_OK; });
         Event([&] { return events_->OnDisconnection(ext_dm_UserClosed, nullptr); });
       }},
      {"at start-up",
       [this] {
         Event([&] { return ConnectIn(ext_cm_Startup); });
         Event([&] { return events_->OnStartupComplete(nullptr); });
         Event([&] { return events_->OnDisconnection(ext_dm_HostShutdown, nullptr); });
       }},
      {"external",
       [this] {
         Event([&] { return ConnectIn(ext_cm_External); });
         Event([&] { return events_->OnDisconnection(ext_dm_UserClosed, nullptr); });
       }},
  };
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 25, AnswerMessageBoxes);
  for (const auto& [name, journey] : journeys) {
    SetSetting(L"1");
    ide_->FailCall(0);
    journey();
    const int calls = ide_->Calls();
    ASSERT_GT(calls, 5) << name;
    ASSERT_TRUE(ConnectsCleanly()) << name;

    for (int n = 1; n <= calls && !HasFailure(); ++n) {
      SCOPED_TRACE(name + ", call " + std::to_string(n) + " of " + std::to_string(calls));
      Restart();
      SetSetting(L"1");
      gReports.clear();
      ide_->FailCall(n);
      journey();
      ide_->FailCall(0);
      for (const std::wstring& caption : gReports) EXPECT_EQ(L"Skeldra", caption);
      EXPECT_TRUE(ConnectsCleanly()) << "the next connection recovers";
    }
  }
  ::KillTimer(nullptr, timer);
}

HRESULT Click(IDispatch& sink) {
  VARIANT_BOOL handled = VARIANT_FALSE, cancelDefault = VARIANT_FALSE;
  VARIANT args[3];
  args[0].vt = args[1].vt = VT_BYREF | VT_BOOL;
  args[0].pboolVal = &cancelDefault;
  args[1].pboolVal = &handled;
  args[2].vt = VT_DISPATCH;
  args[2].pdispVal = nullptr;
  DISPPARAMS params{args, nullptr, 3, 0};
  return sink.Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                     nullptr);
}

TEST_F(ConnectionFaults, ASinkTheIdeKeepsHoldsTheDllAndItsClicksDoNothing) {
  const auto sinks = SinksKeptByTheIde();
  ASSERT_EQ(2u, sinks.size()) << "the button's and the menu entry's";
  ide_.reset();
  ::CoFreeUnusedLibrariesEx(0, 0);
  ::CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_TRUE(::GetModuleHandleW(L"Marrowby.dll")) << "the sinks hold the DLL";

  gReports.clear();
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 25, AnswerMessageBoxes);
  for (const auto& sink : sinks) EXPECT_EQ(S_OK, Click(*sink.get()));
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(gReports.empty()) << "a Click after its connection ended shows nothing";
}

// Late-bound calls whose arguments cannot be read fail, on each IDispatch of the add-in's.
TEST_F(ConnectionFaults, MalformedLateBoundCallsAreRefused) {
  const auto sinks = SinksKeptByTheIde();
  ASSERT_FALSE(sinks.empty());
  Restart();
  CLSID document{};
  ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"Marrowby.Skeldra", &document));
  com_ptr<IDispatch> skeldra;
  ASSERT_EQ(S_OK, ::CoCreateInstance(document, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     skeldra.put_void()));
  const auto idOf = [](IDispatch& object, const wchar_t* member) {
    DISPID id = DISPID_UNKNOWN;
    auto* name = const_cast<LPOLESTR>(member);
    object.GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    return id;
  };
  const auto connect = events_.try_query<IDispatch>();
  const struct {
    const char* name;
    IDispatch* object;
    DISPID id;
  } members[] = {
      {"OnConnection", events_.get(), 1},
      {"Show", connect.get(), idOf(*connect.get(), L"Show")},
      {"View", skeldra.get(), idOf(*skeldra.get(), L"View")},
      {"Click", sinks[0].get(), 1},
  };
  VARIANT args[3];
  for (VARIANT& arg : args) ::VariantInit(&arg);
  args[1].vt = VT_BYREF | VT_VARIANT;  // a reference to nothing
  DISPPARAMS noArray{nullptr, nullptr, 3, 0}, nullReference{args, nullptr, 3, 0};
  const struct {
    DISPPARAMS* params;
    HRESULT expected;
  } calls[] = {
      {nullptr, E_INVALIDARG},
      {&noArray, DISP_E_BADPARAMCOUNT},
      {&nullReference, DISP_E_TYPEMISMATCH},
  };
  for (const auto& m : members) {
    for (const auto& c : calls) {
      SCOPED_TRACE(testing::Message() << m.name << ", expecting " << std::hex << c.expected);
      UINT argError = 99;
      EXPECT_EQ(c.expected, m.object->Invoke(m.id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                             c.params, nullptr, nullptr, &argError));
      if (c.expected == DISP_E_TYPEMISMATCH) {
        EXPECT_EQ(1u, argError);
      }
    }
  }
}

// The IDE frees the DLL while the add-in still holds its objects (a disconnection that stopped
// part way, then the IDE's CoUninitialize). A copy of the DLL, loaded apart from COM's, lets the
// test unload it. The connection fails before it makes the tool window, whose document would
// come from COM's copy and keep that one loaded.
TEST_F(ConnectionFaults, UnloadingTheDllNeverReleasesTheIdesObjects) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring copy = std::wstring(temp) + L"MarrowbyUnloaded.dll";
  ASSERT_TRUE(::CopyFileW(DllPath().c_str(), copy.c_str(), FALSE));
  HMODULE dll = ::LoadLibraryW(copy.c_str());
  ASSERT_TRUE(dll);
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto getClassObject = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void (*)()>(::GetProcAddress(dll, "DllGetClassObject")));
  CLSID clsid{};
  ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"Marrowby.Connect", &clsid));
  com_ptr<IClassFactory> factory;
  ASSERT_EQ(S_OK, getClassObject(clsid, IID_IClassFactory, factory.put_void()));
  com_ptr<IDTExtensibility2> events;
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, __uuidof(IDTExtensibility2),
                                          events.put_void()));
  factory.reset();
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 25, AnswerMessageBoxes);
  ide_->FailCall(1);  // VBE.Windows: the connection holds the root object and ends, reported
  ASSERT_EQ(S_OK, events->OnConnection(ide_->Vbe().get(), ext_cm_AfterStartup,
                                       ide_->AddIn(L"Marrowby.Connect").get(), nullptr));
  ide_->FailCall(0);
  ::KillTimer(nullptr, timer);
  ASSERT_EQ(S_OK, events->OnDisconnection(ext_dm_HostShutdown, nullptr));  // stops: no window
  events.reset();

  const com_ptr<IDispatch> vbe = ide_->Vbe();
  const auto refs = [&] {
    vbe->AddRef();
    return vbe->Release();
  };
  const ULONG held = refs();
  ASSERT_TRUE(::FreeLibrary(dll));
  EXPECT_FALSE(::GetModuleHandleW(copy.c_str()));
  EXPECT_EQ(held, refs()) << "the root object is still held, not released under the loader lock";
  ::DeleteFileW(copy.c_str());
}

TEST_F(ConnectionFaults, AHundredConnectionsLeaveNothingBehindAndTheDllUnloads) {
  // One round first: what the system itself keeps on first use is not ours.
  ASSERT_TRUE(ConnectsCleanly());
  Restart();
  const DWORD gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  const int windows = ThreadWindows();
  HMODULE dll = ::GetModuleHandleW(L"Marrowby.dll");
  ASSERT_TRUE(dll) << "the connection loaded it";

  for (int i = 0; i < 100 && !HasFailure(); ++i) {
    SetSetting(L"1");  // shown: the document's window, controls and images are made
    ASSERT_EQ(S_OK, ConnectIn(ext_cm_AfterStartup));
    EXPECT_TRUE(LastWindowShowing());
    ASSERT_EQ(S_OK, events_->OnDisconnection(ext_dm_UserClosed, nullptr));
    if (i % 10 == 9) Restart();  // the IDE closes its windows and lets go of the add-in
  }
  EXPECT_EQ(windows, ThreadWindows()) << "no window left behind";
  // Where the platform counts them (Wine answers 0), the handles are those of the first round.
  EXPECT_EQ(gdi, ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
  EXPECT_EQ(user, ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));

  events_.reset();
  ide_.reset();
  ::CoFreeUnusedLibrariesEx(0, 0);
  ::CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_FALSE(::GetModuleHandleW(L"Marrowby.dll")) << "the DLL unloads once nothing is held";
  WNDCLASSEXW wc{sizeof wc};
  EXPECT_FALSE(::GetClassInfoExW(dll, L"MarrowbySkeldraDocument", &wc))
      << "the document's window class went with it";
}

}  // namespace
