// The add-in's connection over a recording host: what each way of connecting makes and in what
// order, the command entries and their clicks, what disconnection leaves behind, and how errors
// reach the user.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
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

using Log = std::vector<std::string>;
using Captions = std::vector<std::wstring>;

// The steps of a connection as the host sees them: the window made, an entry added to a bar,
// the window shown and viewed.
Log Steps(const Log& log) {
  Log steps;
  for (const std::string& call : log)
    if (call.starts_with("CreateToolWindow") || call.starts_with("Controls.Add") || call == "View")
      steps.push_back(call);
  return steps;
}

// The description the fake host gives a failing operation.
std::wstring Failed(std::string_view operation) {
  return std::wstring(operation.begin(), operation.end()) + L" failed";
}

Log Concat(std::initializer_list<Log> parts) {
  Log all;
  for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Log kCreated{"CreateToolWindow Marrowby.Skeldra"};
const Log kMenuEntry{"Controls.Add Add-Ins"};
const Log kButton{"Controls.Add Standard"};
const Log kShown{"View"};
const Captions kToolbar{L"Add Project", L"Open Project", L"Save Project"};
const Captions kAddInsMenu{L"&Add-In Manager...", L"Visual Data Manager..."};

class ConnectTest : public testing::Test {
 protected:
  ConnectTest() {
    clipboard_.log = &host_->log;
    clipboard_.text = L"copied";
  }
  ~ConnectTest() override {
    gToolWindow.reset();
    gDocument.reset();
    gVBE.reset();
  }

  // The entry the event hands over: the add-in's own (the last), whatever a test did to the list.
  void ConnectIn(int mode) { connect_.AddinInstance_OnConnection(host_, mode, host_->addins.back()); }
  void Disconnect() { connect_.AddinInstance_OnDisconnection(0); }

  void SetDisplayOnConnect(std::wstring_view value) {
    settings_.SaveSetting(L"Microsoft Visual Basic AddIns", L"Skeldra", L"DisplayOnConnect", value);
  }
  std::wstring DisplayOnConnect() {
    return settings_.GetSetting(L"Microsoft Visual Basic AddIns", L"Skeldra", L"DisplayOnConnect",
                                L"(none)");
  }

  FakeIde::Bar& Toolbar() { return host_->bar(L"Standard"); }
  FakeIde::Bar& AddInsMenu() { return host_->bar(L"Add-Ins"); }
  FakeIde::ToolWindow& Made(std::size_t i = 0) { return host_->toolWindows.at(i); }
  bool Showing() { return Made().window->visible; }

  std::shared_ptr<FakeIde> host_ = std::make_shared<FakeIde>();
  MemoryRegistry registry_;
  MemoryRegistry failing_{registry_.View()};
  Windows1252CodePage ansi_;
  RegistrySettings settings_{failing_, ansi_};
  FakeClipboard clipboard_;
  RecordingMsgBox msgBox_;
  Connect connect_{settings_, clipboard_, msgBox_};
};

// ---- Connecting after start-up --------------------------------------------------------------

struct Display {
  std::optional<std::wstring> stored;
  bool shown;
};

class ConnectAfterStartupTest : public ConnectTest, public testing::WithParamInterface<Display> {};

TEST_P(ConnectAfterStartupTest, CreatesTheWindowThenTheEntriesAndShowsOnlyForExactly1) {
  if (GetParam().stored) SetDisplayOnConnect(*GetParam().stored);
  ConnectIn(Connect::kAfterStartup);

  const bool shown = GetParam().shown;
  EXPECT_EQ(Concat({kCreated, kMenuEntry, kButton, shown ? kShown : Log{}}), Steps(host_->log));
  EXPECT_EQ(host_->addins[1].get(), Made().addIn) << "the event's add-in";
  EXPECT_EQ((std::vector<std::wstring>{L"Marrowby.Skeldra", L"Skeldra", L"T_o_l_v_a_n_e__S_k_e_l_d_r_a"}),
            (std::vector<std::wstring>{Made().progId, Made().caption, Made().guidPosition}));
  EXPECT_TRUE(Made().window == gToolWindow && Made().document == gDocument && host_ == gVBE);
  EXPECT_EQ(shown, Showing());
  EXPECT_EQ(shown ? 1 : 0, Made().document->views);

  EXPECT_EQ((Captions{L"Add Project", L"Open Project", L"Skeldra", L"Save Project"}),
            Toolbar().Captions())
      << "before the control that was last";
  EXPECT_TRUE(Toolbar().visible);
  EXPECT_EQ((Captions{kAddInsMenu[0], kAddInsMenu[1], L"Skeldra"}), AddInsMenu().Captions());
  EXPECT_EQ(2, Toolbar().controls[2]->faces + AddInsMenu().controls[2]->faces);
  EXPECT_TRUE(msgBox_.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(DisplayOnConnect, ConnectAfterStartupTest,
                         testing::Values(Display{L"1", true}, Display{L"0", false},
                                         Display{std::nullopt, false}, Display{L" 1", false},
                                         Display{L"True", false}));

// ---- Connecting at start-up and from the command line ---------------------------------------

class ConnectWithoutEntriesTest : public ConnectTest, public testing::WithParamInterface<int> {};

TEST_P(ConnectWithoutEntriesTest, MakesAHiddenWindowAndDisconnectsCompletely) {
  SetDisplayOnConnect(L"1");
  ConnectIn(GetParam());
  EXPECT_EQ(kCreated, host_->log);
  EXPECT_FALSE(Showing());

  Disconnect();  // no entries to delete
  EXPECT_EQ(L"0", DisplayOnConnect());
  EXPECT_FALSE(gToolWindow || gDocument || gVBE);
}

INSTANTIATE_TEST_SUITE_P(Modes, ConnectWithoutEntriesTest,
                         testing::Values(Connect::kStartup, Connect::kCommandLine));

TEST_F(ConnectTest, StartupCompleteMakesTheMenuEntryThenTheButtonThenShows) {
  SetDisplayOnConnect(L"1");
  ConnectIn(Connect::kStartup);
  connect_.AddinInstance_OnStartupComplete();
  EXPECT_EQ(Concat({kCreated, kMenuEntry, kButton, kShown}), Steps(host_->log));
  EXPECT_EQ(3u, AddInsMenu().controls.size());
}

// ---- Connecting from another program --------------------------------------------------------

struct External {
  const char* name;
  std::function<void(FakeIde&)> arrange;
  int owner;  // position of the add-in given the window; 0 for no window
};

class ConnectExternalTest : public ConnectTest, public testing::WithParamInterface<External> {};

TEST_P(ConnectExternalTest, ShowsTheWindowOfTheRightEntryWithoutMakingEntries) {
  GetParam().arrange(*host_);
  ConnectIn(Connect::kExternal);

  EXPECT_EQ(0, std::count_if(host_->log.begin(), host_->log.end(),
                             [](const std::string& s) { return s.starts_with("Controls.Add"); }));
  if (GetParam().owner == 0) {
    EXPECT_TRUE(host_->toolWindows.empty());
    EXPECT_EQ((std::vector<RecordingMsgBox::Call>{
                  {L"Object variable or With block variable not set", 16, L"Skeldra"}}),
              msgBox_.calls)
        << "Show finds no window";
    return;
  }
  ASSERT_EQ(1u, host_->toolWindows.size());
  EXPECT_EQ(host_->addins[GetParam().owner - 1].get(), Made().addIn);
  EXPECT_TRUE(Showing());
  EXPECT_EQ(1, Made().document->views);
  EXPECT_TRUE(msgBox_.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ConnectExternalTest,
    testing::Values(External{"OwnEntryUnconnected", [](FakeIde&) {}, 2},
                    External{"NoOwnEntry", [](FakeIde& h) { h.addins.pop_back(); }, 1},
                    External{"NoOwnEntryGivesNone",
                             [](FakeIde& h) {
                               h.addins.pop_back();
                               h.missingAddInGivesNone = true;
                             },
                             1},
                    External{"OwnEntryConnected",
                             [](FakeIde& h) { h.addins[1]->connected = true; }, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The entries ----------------------------------------------------------------------------

TEST_F(ConnectTest, EitherEntryShowsTheWindowAndViewsAgainAndAWindowThatRefusesIsReported) {
  ConnectIn(Connect::kAfterStartup);
  host_->Click(*Toolbar().controls[0]);
  EXPECT_FALSE(Showing()) << "a control of the host's own";
  for (FakeIde::Bar* bar : {&Toolbar(), &AddInsMenu()}) {
    Made().window->visible = false;
    host_->Click(*bar->controls[2]);
    EXPECT_TRUE(Showing());
  }
  EXPECT_EQ(2, Made().document->views);

  host_->failing = {"Window.Visible"};
  host_->Click(*Toolbar().controls[2]);
  EXPECT_EQ(2, Made().document->views);
  EXPECT_EQ((std::vector<RecordingMsgBox::Call>{{L"Window.Visible failed", 16, L"Skeldra"}}),
            msgBox_.calls);
}

TEST_F(ConnectTest, ASecondButtonReplacesTheFirstInEverythingButTheToolbar) {
  ConnectIn(Connect::kAfterStartup);
  const auto first = Toolbar().controls[2];
  connect_.AddToCommandBar();
  ASSERT_EQ((Captions{L"Add Project", L"Open Project", L"Skeldra", L"Skeldra", L"Save Project"}),
            Toolbar().Captions());
  const auto second = Toolbar().controls[3];

  host_->Click(*first);
  EXPECT_FALSE(Showing()) << "the first button's click is no longer bound";

  Disconnect();
  EXPECT_TRUE(second->deleted);
  EXPECT_FALSE(first->deleted);
  EXPECT_EQ((Captions{L"Add Project", L"Open Project", L"Skeldra", L"Save Project"}),
            Toolbar().Captions());
}

TEST_F(ConnectTest, TheUsersClipboardIsBackAfterEachEntryWhateverHappened) {
  const struct {
    std::set<std::string> failing;
    bool failPut;
    std::size_t messages;  // from the toolbar button; the menu entry fails silently
  } cases[] = {{{}, false, 0}, {{"PasteFace"}, false, 1}, {{}, true, 1}};
  ConnectIn(Connect::kStartup);
  for (const auto& c : cases) {
    host_->failing = c.failing;
    clipboard_.failPut = c.failPut;
    msgBox_.calls.clear();
    connect_.AddinInstance_OnStartupComplete();
    EXPECT_EQ(L"copied", clipboard_.text);
    EXPECT_EQ(L"", clipboard_.picture);
    EXPECT_EQ(c.messages, msgBox_.calls.size());
  }
}

// ---- Errors ---------------------------------------------------------------------------------

TEST_F(ConnectTest, AFailedButtonIsReportedAsOkOnlyAndSkipsTheShow) {
  SetDisplayOnConnect(L"1");
  ConnectIn(Connect::kStartup);
  for (const char* step : {"CommandBar.Visible", "Controls.Add", "Caption", "CommandBarEvents"}) {
    host_->failing = {step};
    msgBox_.calls.clear();
    connect_.AddToCommandBar();
    EXPECT_EQ((std::vector<RecordingMsgBox::Call>{{Failed(step), 0, L"Skeldra"}}), msgBox_.calls);
  }
  EXPECT_EQ(0u, std::count(host_->log.begin(), host_->log.end(), "View"));
}

TEST_F(ConnectTest, AWindowThatCannotBeMadeIsReportedAsCriticalAndEndsTheConnection) {
  const struct {
    int mode;
    const char* failing;
  } cases[] = {{Connect::kAfterStartup, "CreateToolWindow"}, {Connect::kExternal, "Addins.Item"}};
  for (const auto& c : cases) {
    host_->failing = {c.failing};
    host_->log.clear();
    msgBox_.calls.clear();
    ConnectIn(c.mode);
    EXPECT_EQ((std::vector<RecordingMsgBox::Call>{{Failed(c.failing), 16, L"Skeldra"}}),
              msgBox_.calls);
    EXPECT_TRUE(host_->log.empty()) << "no entries, no show";
    EXPECT_EQ(host_, gVBE) << "kept";
  }
}

// ---- Disconnecting --------------------------------------------------------------------------

TEST_F(ConnectTest, DisconnectionRemovesTheEntriesRemembersTheWindowAndLetsGo) {
  for (bool showing : {true, false}) {
    ConnectIn(Connect::kAfterStartup);
    host_->toolWindows.back().window->visible = showing;

    Disconnect();
    EXPECT_EQ(showing ? L"1" : L"0", DisplayOnConnect());
    EXPECT_EQ(kToolbar, Toolbar().Captions());
    EXPECT_EQ(kAddInsMenu, AddInsMenu().Captions());
    EXPECT_FALSE(gToolWindow || gDocument || gVBE);
  }
  ASSERT_EQ(2u, host_->toolWindows.size()) << "a new window on each complete connection";
  EXPECT_NE(Made(0).document, Made(1).document);
}

TEST_F(ConnectTest, AFailedDeleteKeepsEverythingAndTheNextConnectionShowsTheWindowFirst) {
  SetDisplayOnConnect(L"earlier");
  ConnectIn(Connect::kAfterStartup);
  Made().window->visible = true;
  host_->failing = {"Delete"};
  Disconnect();
  EXPECT_EQ(L"earlier", DisplayOnConnect()) << "not written";
  EXPECT_TRUE(gToolWindow && gDocument && gVBE);

  host_->failing.clear();
  host_->log.clear();
  Made().window->visible = false;
  ConnectIn(Connect::kAfterStartup);
  EXPECT_EQ(Concat({kShown, kMenuEntry, kButton}), Steps(host_->log));
  EXPECT_EQ(1u, host_->toolWindows.size());
  EXPECT_EQ(Made().window, gToolWindow);
}

// ---- Any call failing ------------------------------------------------------------------------

// One run of a journey through the connection, on a host and settings of its own.
class ConnectionRun : public ConnectTest {
 public:
  void TestBody() override {}
  using ConnectTest::ConnectIn;
  using ConnectTest::Disconnect;
  using ConnectTest::connect_;
  using ConnectTest::host_;
  using ConnectTest::msgBox_;
  using ConnectTest::failing_;
  using ConnectTest::SetDisplayOnConnect;

  // One host event: at most one report, critical (or plain, from making the toolbar button) and
  // with the add-in's caption.
  void Event(const std::function<void()>& event) {
    const std::size_t reports = msgBox_.calls.size();
    event();  // the handlers are noexcept: anything escaping them ends the test program
    EXPECT_LE(msgBox_.calls.size(), reports + 1);
    for (std::size_t i = reports; i < msgBox_.calls.size(); ++i) {
      EXPECT_TRUE(msgBox_.calls[i].style == 16 || msgBox_.calls[i].style == 0);
      EXPECT_EQ(L"Skeldra", msgBox_.calls[i].title);
    }
  }
  // Clicks the add-in's entry on the bar, when it is there.
  void ClickEntry(std::wstring_view bar) {
    for (const auto& control : host_->bar(bar).controls)
      if (control->caption == L"Skeldra" && !control->deleted) return host_->Click(*control);
  }
};

TEST(ConnectionFaults, AnyHostOrSettingsCallMayFailAndTheNextConnectionRecovers) {
  const std::vector<std::pair<std::string, std::function<void(ConnectionRun&)>>> journeys{
      {"after start-up",
       [](ConnectionRun& r) {
         r.Event([&] { r.ConnectIn(Connect::kAfterStartup); });
         r.Event([&] { r.ClickEntry(L"Add-Ins"); });
         r.Event([&] { r.ClickEntry(L"Standard"); });
         r.Event([&] { r.Disconnect(); });
       }},
      {"at start-up",
       [](ConnectionRun& r) {
         r.Event([&] { r.ConnectIn(Connect::kStartup); });
         r.Event([&] { r.connect_.AddinInstance_OnStartupComplete(); });
         r.Event([&] { r.ClickEntry(L"Standard"); });
         r.Event([&] { r.Disconnect(); });
       }},
      {"external",
       [](ConnectionRun& r) {
         r.Event([&] { r.ConnectIn(Connect::kExternal); });
         r.Event([&] { r.Disconnect(); });
       }},
  };
  for (const auto& [name, journey] : journeys) {
    for (const bool settings : {false, true}) {
      auto counter = [settings](ConnectionRun& r) -> CallCounter& {
        return settings ? r.failing_.calls : r.host_->calls;
      };
      ConnectionRun clean;
      clean.SetDisplayOnConnect(L"1");
      counter(clean).FailCall(0);
      journey(clean);
      const int calls = counter(clean).Calls();
      ASSERT_GT(calls, 0) << name;

      for (int n = 1; n <= calls; ++n) {
        SCOPED_TRACE(name + ", call " + std::to_string(n) + " of " + std::to_string(calls) +
                     (settings ? " to the settings" : " to the host") + " failing");
        ConnectionRun run;
        run.SetDisplayOnConnect(L"1");
        counter(run).FailCall(n);
        journey(run);
        counter(run).FailCall(0);

        // Whatever state the failure left, connecting again and disconnecting ends clean: a
        // disconnection that stopped part way shows its window on the next connection first.
        const std::size_t reports = run.msgBox_.calls.size();
        for (int cycle = 0; cycle < 2 && gVBE; ++cycle) {
          run.ConnectIn(Connect::kAfterStartup);
          run.Disconnect();
        }
        run.ConnectIn(Connect::kAfterStartup);
        EXPECT_TRUE(gToolWindow && gDocument);
        run.Disconnect();
        EXPECT_FALSE(gToolWindow || gDocument || gVBE);
        EXPECT_EQ(reports, run.msgBox_.calls.size()) << "nothing to report once it works";
      }
    }
  }
}

}  // namespace
