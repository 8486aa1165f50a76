// Every user journey through the document, run once for each call it makes to the registry, to
// the files and to the host, with that one call failing. Whatever fails: no exception gets out
// of a handler, the pointer comes back, an action shows at most one critical message (adding a
// favourite none), no favourite is half-written or lost, and the window goes on working.

#include <functional>
#include <map>

#include "browser/tests/BrowserFixture.h"

namespace {

using Stored = std::map<std::wstring, std::wstring>;

enum class Fault { kRegistry, kFiles, kHost };

// One run of a journey, on a document of its own.
class JourneyRun : public BrowserTest {
 public:
  JourneyRun() {
    fav_ = {Project(L"f1.vbp", Vbp{.name = "F1"}), Project(L"f2.vbp", Vbp{.name = "F2"})};
    SetFavorites({{L"1", fav_[0]}, {L"2", fav_[1]}});
    SetRecent({{L"1", Project(L"new.vbp", Vbp{.name = "New"})}, {L"2", Missing(L"gone.vbp")},
               {L"3", fav_[1]}});
  }
  void TestBody() override {}
  using BrowserTest::w_;
  using BrowserTest::doc_;

  // From now on the nth call of that kind fails; 0 fails none.
  void Fail(Fault kind, int n) {
    for (Fault k : {Fault::kRegistry, Fault::kFiles, Fault::kHost}) Counter(k).FailCall(k == kind ? n : 0);
  }
  int Calls(Fault kind) { return Counter(kind).Calls(); }

  // One user action: nothing escapes it, the pointer is back, one report at most.
  void Step(const std::function<void()>& action, bool silent = false) {
    const std::size_t reports = msgBox_.calls.size();
    EXPECT_NO_THROW(action());
    EXPECT_LE(msgBox_.calls.size(), reports + (silent ? 0 : 1));
    for (std::size_t i = reports; i < msgBox_.calls.size(); ++i) {
      EXPECT_EQ(16, msgBox_.calls[i].style);
      EXPECT_FALSE(msgBox_.calls[i].prompt.empty());
    }
    if (!w_.App.pointers.empty()) {
      EXPECT_EQ(0, w_.App.pointers.back()) << "pointer restored";
    }
  }

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

  // Presses the row when the list shows it (a failed load may have left the list empty).
  void PressIfShown(HeadlessListView& list, std::wstring_view number, int button = 1,
                    std::wstring_view choice = {}) {
    for (int i = 1; i <= list.ItemCount(); ++i)
      if (list.Item(i).Text() == number) return Press(list, number, button, choice);
  }

  // The favourites stored, with paths relative to this run's folder.
  Stored Favorites() {
    const std::wstring folder = world_->PathOf(L"");
    Stored stored;
    for (const RegValue& v : StoredFavorites())
      stored[v.Name] = v.Data.starts_with(folder) ? v.Data.substr(folder.size()) : v.Data;
    return stored;
  }

  std::vector<std::wstring> fav_;

 private:
  CallCounter& Counter(Fault kind) {
    return kind == Fault::kRegistry ? failing_.calls
           : kind == Fault::kFiles  ? files_.calls
                                    : host_->calls;
  }
};

using Journey = std::function<void(JourneyRun&)>;

const std::map<std::string, Journey>& Journeys() {
  static const std::map<std::string, Journey> journeys{
      {"BrowseSortAndCustomize",
       [](JourneyRun& r) {
         r.Show();
         r.Step([&] { r.w_.lvwRecent.UserClickColumn(2); });
         r.Step([&] { r.w_.TabStrip1.UserClickTab(2); });
         r.Step([&] { r.PressIfShown(r.w_.lvwFavor, L"1"); });
         r.Step([&] { r.PressIfShown(r.w_.lvwFavor, L"2", 2, L"mnuPopFavor_Prop"); });
         r.Step([&] { r.w_.TabStrip1.UserClickTab(1); });
         r.Step([&] { r.w_.Toolbar1.UserClick(L"Customize"); });
         r.Step([&] {
           if (r.w_.lvwCustomize.ItemCount() > 1)
             r.w_.lvwCustomize.UserCheck(r.w_.lvwCustomize.Item(2), false);
         });
         r.Step([&] { r.w_.Toolbar1.UserClick(L"Customize"); });
         r.Step([&] { r.w_.Toolbar1.UserClick(L"Properties"); });
       }},
      {"AddAndRemoveFavourites",
       [](JourneyRun& r) {
         r.Show();
         r.Step([&] { r.PressIfShown(r.w_.lvwRecent, L"1", 2, L"mnuPopRecent_Add"); }, true);
         r.Step([&] { r.w_.TabStrip1.UserClickTab(2); });
         r.Step([&] { r.PressIfShown(r.w_.lvwFavor, L"1", 2, L"mnuPopFavor_Delete"); });
         r.Step([&] { r.PressIfShown(r.w_.lvwRecent, L"3", 2, L"mnuPopRecent_Add"); }, true);
         r.Step([&] { r.w_.TabStrip1.UserClickTab(2); });
       }},
      {"OpenProjects",
       [](JourneyRun& r) {
         r.Show();
         r.Step([&] {
           r.PressIfShown(r.w_.lvwRecent, L"1");
           r.w_.lvwRecent.UserDoubleClick();
         });
         r.Step([&] { r.PressIfShown(r.w_.lvwRecent, L"3", 2, L"mnuPopRecent_Open"); });
         r.Step([&] { r.w_.Toolbar1.UserClick(L"Open"); });
         r.Step([&] { r.w_.TabStrip1.UserClickTab(2); });
         r.Step([&] { r.PressIfShown(r.w_.lvwFavor, L"2", 2, L"mnuPopFavor_Open"); });
         r.Step([&] { r.doc_.UserDocument_Terminate(); });
       }},
  };
  return journeys;
}

class FaultInjection : public testing::TestWithParam<FileWorldMaker> {};

TEST_P(FaultInjection, EveryCallOfEveryJourneyMayFail) {
  for (const auto& [name, journey] : Journeys()) {
    for (Fault kind : {Fault::kRegistry, Fault::kFiles, Fault::kHost}) {
      // The journey untouched: how many calls it makes, and what it leaves stored.
      JourneyRun clean;
      clean.Fail(kind, 0);
      journey(clean);
      const int calls = clean.Calls(kind);
      const Stored original{{L"1", L"f1.vbp"}, {L"2", L"f2.vbp"}};
      const Stored intended = clean.Favorites();
      ASSERT_GT(calls, 0) << name;

      for (int n = 1; n <= calls && !HasFailure(); ++n) {
        SCOPED_TRACE(name + ", call " + std::to_string(n) + " of " + std::to_string(calls) +
                     " to the " +
                     (kind == Fault::kRegistry ? "registry" : kind == Fault::kFiles ? "files" : "host") +
                     " failing");
        JourneyRun run;
        run.Fail(kind, n);
        journey(run);
        run.Fail(kind, 0);

        // Each value stored is as it was or as the journey meant it; none vanished that the
        // journey did not remove.
        const Stored now = run.Favorites();
        for (const auto& [value, data] : now) {
          const bool kept = original.count(value) && original.at(value) == data;
          const bool meant = intended.count(value) && intended.at(value) == data;
          EXPECT_TRUE(kept || meant) << "favourite " << value;
        }
        for (const auto& [value, data] : original) {
          if (intended.count(value)) {
            EXPECT_EQ(data, now.at(value)) << "favourite " << value;
          }
        }

        // The window goes on working once the failure has passed.
        if (name != "OpenProjects") {  // that one ends by closing the window
          run.Step([&] { run.w_.TabStrip1.UserClickTab(1); });
          EXPECT_EQ(3, run.w_.lvwRecent.ItemCount());
          run.Step([&] { run.w_.TabStrip1.UserClickTab(2); });
          EXPECT_EQ(static_cast<int>(now.size()), run.w_.lvwFavor.ItemCount());
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(FileSystems, FaultInjection, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
