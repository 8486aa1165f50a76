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

// The add-in over a host, settings, a clipboard and a message box of its own; the globals it
// sets go with it.
struct AddIn {
  explicit AddIn(const wchar_t* displayOnConnect = L"1") {
    if (displayOnConnect) settings.SaveSetting(kApp, kSkeldra, kDisplay, displayOnConnect);
    clipboard.held.text = L"copied";
  }
  ~AddIn() { gToolWindow.reset(), gDocument.reset(), gVBE.reset(); }

  // The entry the event hands over: the add-in's own (the last), whatever a test did to the list.
  void ConnectIn(int mode) { connect.AddinInstance_OnConnection(host, mode, host->addins.back()); }
  void Disconnect() { connect.AddinInstance_OnDisconnection(0); }
  std::wstring DisplayOnConnect() { return settings.GetSetting(kApp, kSkeldra, kDisplay, L"-"); }
  FakeIde::ToolWindow& Made() { return *host->toolWindows.back(); }
  FakeIde::Bar& Bar(std::wstring_view name) { return host->bar(name); }
  // The toolbar's captions, then the menu's.
  Strings Captions() {
    Strings captions = Bar(L"Standard").Captions();
    for (const auto& caption : Bar(L"Add-Ins").Captions()) captions.push_back(caption);
    return captions;
  }
  // Each report as "style title: prompt".
  Strings Reports() const {
    Strings reports;
    for (const auto& c : msgBox.calls)
      reports.push_back(std::to_wstring(c.style) + L" " + c.title + L": " + c.prompt);
    return reports;
  }

  static constexpr wchar_t kApp[] = L"Microsoft Visual Basic AddIns", kSkeldra[] = L"Skeldra",
                           kDisplay[] = L"DisplayOnConnect";
  std::shared_ptr<FakeIde> host = std::make_shared<FakeIde>();
  MemoryRegistry registry;
  Windows1252CodePage ansi;
  RegistrySettings settings{registry, ansi};
  FakeClipboard clipboard;
  RecordingMsgBox msgBox;
  Connect connect{settings, clipboard, msgBox};
};

TEST(Connection, EachWayMakesTheWindowForItsEntryThenTheEntriesAndShowsOnlyForExactly1) {
  const auto fail = [](const wchar_t* op) { return [op](FakeIde& h) { h.failing = {op}; }; };
  const struct {
    const char* name;
    int mode;
    const wchar_t* stored;  // DisplayOnConnect, if any
    std::function<void(FakeIde&)> arrange;
    Strings steps, reports;
  } cases[] = {
      {"after start-up", Connect::kAfterStartup, L"1", {}, {kOwn, kMenu, kButton, kShown}, {}},
      {"after start-up, 0", Connect::kAfterStartup, L"0", {}, {kOwn, kMenu, kButton}, {}},
      {"after start-up, none", Connect::kAfterStartup, nullptr, {}, {kOwn, kMenu, kButton}, {}},
      {"after start-up, \" 1\"", Connect::kAfterStartup, L" 1", {}, {kOwn, kMenu, kButton}, {}},
      {"after start-up, True", Connect::kAfterStartup, L"True", {}, {kOwn, kMenu, kButton}, {}},
      {"at start-up: entries later", Connect::kStartup, L"1", {}, {kOwn}, {}},
      {"from the command line", Connect::kCommandLine, L"1", {}, {kOwn}, {}},
      {"external", Connect::kExternal, L"0", {}, {kOwn, kShown}, {}},
      {"external, no own entry", Connect::kExternal, L"0",
       [](FakeIde& h) { h.addins.pop_back(); }, {kMade + L"Tally.Connect", kShown}, {}},
      {"external, own entry connected", Connect::kExternal, L"0",
       [](FakeIde& h) { h.addins[1]->connected = true; }, {},
       {L"16 Skeldra: Object variable or With block variable not set"}},
      {"no window", Connect::kAfterStartup, L"1", fail(L"CreateToolWindow"), {},
       {L"16 Skeldra: CreateToolWindow failed"}},
      {"external, no add-ins", Connect::kExternal, L"1", fail(L"Addins.Item"), {},
       {L"16 Skeldra: Addins.Item failed"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AddIn a(c.stored);
    if (c.arrange) c.arrange(*a.host);
    a.ConnectIn(c.mode);
    EXPECT_EQ(c.steps, a.host->log);
    EXPECT_EQ(c.reports, a.Reports());
    EXPECT_EQ(a.host, gVBE);
    if (a.host->toolWindows.empty()) continue;
    EXPECT_TRUE(gToolWindow.get() == &a.Made() && gDocument.get() == &a.Made());
    EXPECT_EQ(a.Made().views > 0, a.Made().visible);
    const bool showing = a.Made().visible;
    a.Disconnect();
    EXPECT_EQ(showing ? L"1" : L"0", a.DisplayOnConnect());
    EXPECT_FALSE(gToolWindow || gDocument || gVBE);
  }
}

TEST(Connection, TheEntriesGoBeforeTheToolbarsLastAndAtTheMenusEndAndShowTheWindowUntilTakenAway) {
  AddIn a(L"0");
  const Strings before = a.Captions();
  for (int connection = 1; connection <= 2; ++connection) {
    a.ConnectIn(Connect::kAfterStartup);
    EXPECT_EQ((Strings{L"Add Project", L"Open Project", L"Skeldra", L"Save Project",
                       L"&Add-In Manager...", L"Visual Data Manager...", L"Skeldra"}),
              a.Captions());
    EXPECT_TRUE(a.Bar(L"Standard").visible);
    EXPECT_EQ(2, a.Bar(L"Standard").controls[2]->faces + a.Bar(L"Add-Ins").controls[2]->faces);
    a.host->Click(*a.Bar(L"Standard").controls[0]);
    EXPECT_FALSE(a.Made().visible) << "a control of the host's own";
    for (const wchar_t* bar : {L"Standard", L"Add-Ins"}) {
      a.Made().visible = false;
      a.host->Click(*a.Bar(bar).controls[2]);
      EXPECT_TRUE(a.Made().visible) << bar;
    }
    EXPECT_EQ(2, a.Made().views);
    a.Made().visible = false;  // as stored: the next connection shows nothing at first
    a.Disconnect();
    EXPECT_EQ(before, a.Captions());
  }
  EXPECT_EQ(2u, a.host->toolWindows.size()) << "a new window on each complete connection";
  EXPECT_TRUE(a.Reports().empty());
}

TEST(Connection, ASecondButtonReplacesTheFirstInEverythingButTheToolbar) {
  AddIn a(L"0");
  a.ConnectIn(Connect::kAfterStartup);
  const auto first = a.Bar(L"Standard").controls[2];
  a.connect.AddToCommandBar();
  const auto second = a.Bar(L"Standard").controls[3];
  a.host->Click(*first);
  EXPECT_FALSE(a.Made().visible) << "the first button's click is no longer bound";
  a.Disconnect();
  EXPECT_TRUE(second->deleted && !first->deleted);
}

TEST(Connection, AnEntryThatFailsKeepsTheUsersCopyAndOnlyTheButtonReportsAndStopsTheShow) {
  const struct {
    const wchar_t* failing;
    bool failPut;
    const wchar_t* report;  // from the toolbar button; the menu entry fails silently
  } cases[] = {{L"", false, nullptr},
               {L"", true, L"OpenClipboard Failed"},
               {L"PasteFace", false, L"PasteFace failed"},
               {L"CommandBar.Visible", false, L"CommandBar.Visible failed"},
               {L"Controls.Add", false, L"Controls.Add failed"},
               {L"Caption", false, L"Caption failed"},
               {L"CommandBarEvents", false, L"CommandBarEvents failed"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing);
    AddIn a(L"1");
    a.ConnectIn(Connect::kStartup);
    a.host->failing = {c.failing};
    a.clipboard.failPut = c.failPut;
    a.connect.AddinInstance_OnStartupComplete();
    EXPECT_EQ(c.report ? Strings{L"0 Skeldra: " + std::wstring(c.report)} : Strings{},
              a.Reports());
    EXPECT_EQ((c.report ? a.host->log : Strings{kOwn, kMenu, kButton, kShown}), a.host->log);
    EXPECT_EQ(c.report ? 0 : 1, a.Made().views);
    EXPECT_EQ(L"copied", a.clipboard.held.text);
    EXPECT_EQ(L"", a.clipboard.held.picture);
  }
}

TEST(Connection, AFailedDeleteKeepsEverythingAndTheNextConnectionShowsTheWindowFirst) {
  AddIn a(L"earlier");
  a.ConnectIn(Connect::kAfterStartup);
  a.host->failing = {L"Delete"};
  a.Disconnect();
  EXPECT_EQ(L"earlier", a.DisplayOnConnect()) << "not written";
  EXPECT_TRUE(gToolWindow && gDocument && gVBE);
  a.host->failing.clear();
  a.host->log.clear();
  a.ConnectIn(Connect::kAfterStartup);
  EXPECT_EQ((Strings{kShown, kMenu, kButton}), a.host->log);
  EXPECT_EQ(1u, a.host->toolWindows.size());
}

// One host event: at most one report, critical or plain (from making the toolbar button), with
// the add-in's caption.
void Event(AddIn& a, const std::function<void(AddIn&)>& event) {
  const std::size_t reports = a.msgBox.calls.size();
  event(a);  // the handlers are noexcept: anything escaping them ends the test program
  EXPECT_LE(a.msgBox.calls.size(), reports + 1);
  for (std::size_t i = reports; i < a.msgBox.calls.size(); ++i) {
    EXPECT_TRUE(a.msgBox.calls[i].style == 16 || a.msgBox.calls[i].style == 0);
    EXPECT_EQ(L"Skeldra", a.msgBox.calls[i].title);
  }
}

TEST(ConnectionFaults, AnyHostOrSettingsCallMayFailAndTheNextConnectionRecovers) {
  using Journey = std::vector<std::function<void(AddIn&)>>;
  const auto in = [](int mode) { return [mode](AddIn& a) { a.ConnectIn(mode); }; };
  const auto click = [](const wchar_t* bar) {
    return [bar](AddIn& a) {
      for (const auto& control : a.Bar(bar).controls)
        if (control->caption == L"Skeldra") return a.host->Click(*control);
    };
  };
  const auto complete = [](AddIn& a) { a.connect.AddinInstance_OnStartupComplete(); };
  const auto out = [](AddIn& a) { a.Disconnect(); };
  const std::pair<std::string, Journey> journeys[] = {
      {"after start-up", {in(Connect::kAfterStartup), click(L"Add-Ins"), click(L"Standard"), out}},
      {"at start-up", {in(Connect::kStartup), complete, click(L"Standard"), out}},
      {"external", {in(Connect::kExternal), out}}};
  for (const auto& [name, journey] : journeys) {
    for (const bool settings : {false, true}) {
      const auto counter = [settings](AddIn& a) -> CallCounter& {
        return settings ? a.registry.calls : a.host->calls;
      };
      int calls = 0;
      for (int n = 0; n <= calls; ++n) {  // the first run counts the calls, failing none
        SCOPED_TRACE(name + ", call " + std::to_string(n) + " of " + std::to_string(calls) +
                     (settings ? " to the settings" : " to the host") + " failing");
        AddIn a;
        counter(a).FailCall(n);
        for (const auto& event : journey) Event(a, event);
        if (n == 0) calls = counter(a).Calls();
        counter(a).FailCall(0);

        // Whatever state the failure left, connecting again and disconnecting ends clean: a
        // disconnection that stopped part way shows its window on the next connection first.
        const std::size_t reports = a.msgBox.calls.size();
        for (int cycle = 0; cycle < 2 && gVBE; ++cycle)
          a.ConnectIn(Connect::kAfterStartup), a.Disconnect();
        a.ConnectIn(Connect::kAfterStartup);
        EXPECT_TRUE(gToolWindow && gDocument);
        a.Disconnect();
        EXPECT_FALSE(gToolWindow || gDocument || gVBE);
        EXPECT_EQ(reports, a.msgBox.calls.size()) << "nothing to report once it works";
      }
      EXPECT_GT(calls, 0) << name;
    }
  }
}

}  // namespace
