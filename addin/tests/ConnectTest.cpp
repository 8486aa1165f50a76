// The add-in's connection over a recording host: what each way of connecting makes and in what
// order, the command entries and their clicks, what disconnection leaves behind, and how errors
// reach the user; then any call failing, after which the next connection recovers.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "addin/Connect.h"
#include "ide/mMain.h"
#include "ide/tests/FakeIde.h"
#include "platform/CodePage.h"
#include "platform/tests/FakeClipboard.h"
#include "platform/tests/RecordingMsgBox.h"
#include "registry/RegistrySettings.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

using Strings = std::vector<std::wstring>;

const std::wstring kMade =
    L"CreateToolWindow Marrowby.Skeldra Skeldra T_o_l_v_a_n_e__S_k_e_l_d_r_a for ";
const std::wstring kOwn = kMade + L"Marrowby.Connect", kMenu = L"Controls.Add Add-Ins",
                   kButton = L"Controls.Add Standard", kShown = L"View";
constexpr wchar_t kApp[] = L"Microsoft Visual Basic AddIns", kDisplay[] = L"DisplayOnConnect";

// The add-in over a host, settings, a clipboard and a message box of its own; the globals it
// sets go with it.
struct AddIn {
  explicit AddIn(const wchar_t* displayOnConnect = L"1") {
    settings.SaveSetting(kApp, L"Skeldra", kDisplay, displayOnConnect);
    clipboard.held.text = L"copied";
  }
  ~AddIn() { gToolWindow.reset(), gDocument.reset(), gVBE.reset(); }

  // The entry the event hands over: the add-in's own (the last), whatever a test did to the list.
  void ConnectIn(int mode) { connect.AddinInstance_OnConnection(host, mode, host->addins.back()); }
  void Disconnect() { connect.AddinInstance_OnDisconnection(0); }
  std::wstring DisplayOnConnect() { return settings.GetSetting(kApp, L"Skeldra", kDisplay, L"-"); }
  FakeIde::ToolWindow& Made() { return *host->toolWindows.back(); }

  std::shared_ptr<FakeIde> host = std::make_shared<FakeIde>();
  MemoryRegistry registry;
  Windows1252CodePage ansi;
  RegistrySettings settings{registry, ansi};
  FakeClipboard clipboard;
  RecordingMsgBox msgBox;
  Connect connect{settings, clipboard, msgBox};
};

// The steps each way of connecting takes, then the host's start-up complete where it waits for
// it: the window and, unless an entry fails, the entries; the window shown only for exactly "1".
// An entry failing keeps the user's copy; only the toolbar button's failing is reported, and it
// stops the showing.
TEST(Connection, EachWayMakesItsWindowThenTheEntriesAndShowsItOnlyForExactly1) {
  constexpr int kAfter = Connect::kAfterStartup, kAt = Connect::kStartup,
                kExternal = Connect::kExternal;
  const auto fail = [](const wchar_t* op) { return [op](AddIn& a) { a.host->failing = {op}; }; };
  const auto failed = [](int style, const wchar_t* op) {
    return Strings{std::to_wstring(style) + L" Skeldra: " + op + L" failed"};
  };
  const struct {
    const char* name;
    int mode;
    const wchar_t* stored;  // DisplayOnConnect
    std::function<void(AddIn&)> arrange;
    Strings steps, reports;
  } cases[] = {
      {"after start-up", kAfter, L"1", {}, {kOwn, kMenu, kButton, kShown}, {}},
      {"after start-up, 0", kAfter, L"0", {}, {kOwn, kMenu, kButton}, {}},
      {"after start-up, \" 1\"", kAfter, L" 1", {}, {kOwn, kMenu, kButton}, {}},
      {"at start-up", kAt, L"1", {}, {kOwn, kMenu, kButton, kShown}, {}},
      {"from the command line", Connect::kCommandLine, L"1", {}, {kOwn}, {}},
      {"external", kExternal, L"0", {}, {kOwn, kShown}, {}},
      {"external, no own entry", kExternal, L"0", [](AddIn& a) { a.host->addins.pop_back(); },
       {kMade + L"Tally.Connect", kShown}, {}},
      {"entry connected", kExternal, L"0", [](AddIn& a) { a.host->addins[1]->connected = true; },
       {}, {L"16 Skeldra: Object variable or With block variable not set"}},
      {"no window", kAfter, L"1", fail(L"CreateToolWindow"), {}, failed(16, L"CreateToolWindow")},
      {"no add-ins", kExternal, L"1", fail(L"Addins.Item"), {}, failed(16, L"Addins.Item")},
      {"no face", kAt, L"1", [](AddIn& a) { a.clipboard.failPut = true; }, {kOwn, kMenu, kButton},
       {L"0 Skeldra: OpenClipboard Failed"}},
      {"PasteFace", kAt, L"1", fail(L"PasteFace"), {kOwn, kMenu, kButton}, failed(0, L"PasteFace")},
      {"Controls.Add", kAt, L"1", fail(L"Controls.Add"), {kOwn}, failed(0, L"Controls.Add")},
      {"CommandBarEvents", kAt, L"1", fail(L"CommandBarEvents"), {kOwn, kMenu, kButton},
       failed(0, L"CommandBarEvents")},
      {"no show", kExternal, L"0", fail(L"Window.Visible"), {kOwn}, failed(16, L"Window.Visible")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AddIn a(c.stored);
    if (c.arrange) c.arrange(a);
    a.ConnectIn(c.mode);
    if (c.mode == Connect::kStartup) {
      EXPECT_EQ(Strings{kOwn}, a.host->log) << "the entries wait until the host has started";
      a.connect.AddinInstance_OnStartupComplete();
    }
    EXPECT_EQ(c.steps, a.host->log);
    Strings reports;  // each as "style title: prompt"
    for (const auto& r : a.msgBox.calls)
      reports.push_back(std::to_wstring(r.style) + L" " + r.title + L": " + r.prompt);
    EXPECT_EQ(c.reports, reports);
    EXPECT_EQ(L"copied", a.clipboard.held.text);
    if (a.host->toolWindows.empty()) continue;
    EXPECT_EQ(a.Made().views > 0, a.Made().visible);
    const bool showing = a.Made().visible;
    a.host->failing.clear();
    a.Disconnect();
    EXPECT_EQ(showing ? L"1" : L"0", a.DisplayOnConnect());
    EXPECT_FALSE(gToolWindow || gDocument || gVBE);
  }
}

// Each journey runs once to count the calls to the host or the settings, then once for each call
// failing: each event reports at most once, critical or plain, under the add-in's caption; a
// disconnection that stops part way (its window still there) leaves the setting as it was; and
// whatever state the failure left, connecting again and disconnecting ends clean (a disconnection
// that stopped part way shows its window on the next connection first).
TEST(ConnectionFaults, AnyHostOrSettingsCallMayFailAndTheNextConnectionRecovers) {
  const auto in = [](int mode) { return [mode](AddIn& a) { a.ConnectIn(mode); }; };
  const auto click = [](const wchar_t* bar) {
    return [bar](AddIn& a) {
      for (const auto& control : a.host->bar(bar).controls)
        if (control->caption == L"Skeldra") return a.host->Click(*control);
    };
  };
  const auto complete = [](AddIn& a) { a.connect.AddinInstance_OnStartupComplete(); };
  const auto out = [](AddIn& a) { a.Disconnect(); };
  const std::pair<std::string, std::vector<std::function<void(AddIn&)>>> journeys[] = {
      {"after start-up", {in(Connect::kAfterStartup), click(L"Add-Ins"), click(L"Standard"), out}},
      {"at start-up", {in(Connect::kStartup), complete, click(L"Standard"), out}},
      {"external", {in(Connect::kExternal), out}}};
  for (const auto& [name, journey] : journeys) {
    for (const bool settings : {false, true}) {
      for (int n = 0, calls = 0; n <= calls; ++n) {  // the first run counts the calls, failing none
        SCOPED_TRACE(name + ", call " + std::to_string(n) + " of " + std::to_string(calls) +
                     (settings ? " to the settings" : " to the host") + " failing");
        AddIn a;
        CallCounter& counter = settings ? a.registry.calls : a.host->calls;
        counter.FailCall(n);
        for (const auto& event : journey) {
          const std::size_t reports = a.msgBox.calls.size();
          event(a);  // the handlers are noexcept: anything escaping them ends the test program
          EXPECT_LE(a.msgBox.calls.size(), reports + 1);
        }
        for (const auto& report : a.msgBox.calls)
          EXPECT_TRUE(report.title == L"Skeldra" && (report.style == 16 || report.style == 0));
        if (n == 0) { EXPECT_GT(calls = counter.Calls(), 0) << name; }
        if (gToolWindow) { EXPECT_EQ(L"1", a.DisplayOnConnect()) << "a stopped disconnection"; }

        const std::size_t reports = a.msgBox.calls.size();
        for (int cycle = 0; cycle < 2 && gVBE; ++cycle)
          a.ConnectIn(Connect::kAfterStartup), a.Disconnect();
        a.ConnectIn(Connect::kAfterStartup);
        EXPECT_TRUE(gToolWindow && gDocument);
        a.Disconnect();
        EXPECT_FALSE(gToolWindow || gDocument || gVBE);
        EXPECT_EQ(reports, a.msgBox.calls.size()) << "nothing to report once it works";
      }
    }
  }
}

}  // namespace
