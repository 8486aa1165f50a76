// Every user journey through the document, run once for each call it makes to the registry, to
// the files and to the host, with that one call failing. Whatever fails: no exception gets out
// of a handler, the pointer comes back, an action shows at most one critical message (adding a
// favourite none), no favourite is half-written or lost, and the window goes on working.

#include <functional>
#include <map>

#include "browser/tests/BrowserFixture.h"

namespace {

using Stored = std::map<std::wstring, std::wstring>;

const char* const kKinds[] = {"registry", "files", "host"};

// One run of a journey, on a document of its own.
class JourneyRun : public BrowserTest {
 public:
  JourneyRun() {
    SetFavorites({{L"1", Project(L"f1.vbp")}, {L"2", Project(L"f2.vbp")}});
    SetRecent({{L"1", Project(L"new.vbp")}, {L"2", Missing(L"gone.vbp")},
               {L"3", world_->PathOf(L"f2.vbp")}});
  }
  void TestBody() override {}
  using BrowserTest::doc_, BrowserTest::Press;

  // The calls of a kind: 0 registry, 1 files, 2 host.
  CallCounter& Counter(int kind) {
    return kind == 0 ? failing_.calls : kind == 1 ? files_.calls : host_->calls;
  }

  // One user action: nothing escapes it, the pointer is back, one critical report at most.
  void Step(const std::function<void()>& action, bool silent = false) {
    const std::size_t reports = msgBox_.calls.size();
    EXPECT_NO_THROW(action());
    EXPECT_LE(msgBox_.calls.size(), reports + (silent ? 0 : 1));
    for (std::size_t i = reports; i < msgBox_.calls.size(); ++i)
      EXPECT_TRUE(msgBox_.calls[i].style == 16 && !msgBox_.calls[i].prompt.empty()) << "critical";
    EXPECT_EQ(0, App.MousePointer()) << "pointer restored";
  }
  void Click(HeadlessListView& list, const wchar_t* row, const wchar_t* choice = L"",
             bool silent = false) {
    Step([&] { Press(list, row, *choice ? 2 : 1, choice); }, silent);
  }
  void Tab(int index) { Step([&] { TabStrip1.UserClickTab(index); }); }
  void Button(const wchar_t* key) { Step([&] { Toolbar1.UserClick(key); }); }

  // The window is shown and viewed. View, a method the window's owner calls, raises its
  // failures to that caller, which reports them; the handlers it runs catch their own.
  void Show() {
    Step([&] {
      try {
        Open();
      } catch (const VbError&) {
        msgBox_.Show(L"(reported by the owner)", 16, L"");
      }
    });
  }

  // The favourites stored, with paths relative to this run's folder.
  Stored Favorites() {
    const std::wstring folder = world_->PathOf(L"");
    Stored stored;
    for (const RegValue& v : StoredFavorites())
      stored[v.Name] = v.Data.starts_with(folder) ? v.Data.substr(folder.size()) : v.Data;
    return stored;
  }
};

const std::map<std::string, std::function<void(JourneyRun&)>> kJourneys{
    {"BrowseSortAndCustomize",
     [](JourneyRun& r) {
       r.Show();
       r.Step([&] { r.lvwRecent.UserClickColumn(2); });
       r.Tab(2);
       r.Click(r.lvwFavor, L"1");
       r.Click(r.lvwFavor, L"2", L"mnuPopFavor_Prop");
       r.Tab(1);
       r.Button(L"Customize");
       r.Step([&] {
         if (r.lvwCustomize.ItemCount() > 1)
           r.lvwCustomize.UserCheck(r.lvwCustomize.Item(2), false);
       });
       r.Button(L"Customize");
       r.Button(L"Properties");
     }},
    {"AddAndRemoveFavourites",
     [](JourneyRun& r) {
       r.Show();
       r.Click(r.lvwRecent, L"1", L"mnuPopRecent_Add", true);
       r.Tab(2);
       r.Click(r.lvwFavor, L"1", L"mnuPopFavor_Delete");
       r.Click(r.lvwRecent, L"3", L"mnuPopRecent_Add", true);
       r.Tab(2);
     }},
    {"OpenProjects",
     [](JourneyRun& r) {
       r.Show();
       r.Step([&] {
         r.Press(r.lvwRecent, L"1");
         r.lvwRecent.UserDoubleClick();
       });
       r.Click(r.lvwRecent, L"3", L"mnuPopRecent_Open");
       r.Button(L"Open");
       r.Tab(2);
       r.Click(r.lvwFavor, L"2", L"mnuPopFavor_Open");
       r.Step([&] { r.doc_.UserDocument_Terminate(); });
     }},
};

class FaultInjection : public testing::TestWithParam<FileWorldMaker> {};

TEST_P(FaultInjection, EveryCallOfEveryJourneyMayFail) {
  const Stored original{{L"1", L"f1.vbp"}, {L"2", L"f2.vbp"}};
  for (const auto& [name, journey] : kJourneys) {
    // The journey untouched: how many calls of each kind it makes, and what it leaves stored.
    JourneyRun clean;
    journey(clean);
    const Stored intended = clean.Favorites();
    for (int kind = 0; kind < 3; ++kind) {
      const int calls = clean.Counter(kind).Calls();
      ASSERT_GT(calls, 0) << name;

      for (int n = 1; n <= calls && !HasFailure(); ++n) {
        SCOPED_TRACE(name + ", call " + std::to_string(n) + " of " + std::to_string(calls) +
                     " to the " + kKinds[kind] + " failing");
        JourneyRun run;
        run.Counter(kind).FailCall(n);
        journey(run);
        run.Counter(kind).FailCall(0);

        // Each value stored is as it was or as the journey meant it; none vanished that the
        // journey did not remove.
        const Stored now = run.Favorites();
        for (const auto& [value, data] : now) {
          const bool kept = original.count(value) && original.at(value) == data;
          EXPECT_TRUE(kept || (intended.count(value) && intended.at(value) == data)) << value;
        }
        for (const auto& [value, data] : original)
          EXPECT_TRUE(!intended.count(value) || (now.count(value) && now.at(value) == data))
              << "favourite " << value;

        // The window goes on working once the failure has passed.
        if (name != "OpenProjects") {  // that one ends by closing the window
          run.Tab(1);
          EXPECT_EQ(3, run.lvwRecent.ItemCount());
          run.Tab(2);
          EXPECT_EQ(static_cast<int>(now.size()), run.lvwFavor.ItemCount());
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(FileSystems, FaultInjection, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
