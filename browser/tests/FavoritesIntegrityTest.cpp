// The favourites under long random runs of what users and other programs do to them: adding from
// the recent list, removing, editing the key from outside and reloading. Whatever the order, no
// stored favourite is ever replaced, names stay numbers from 1 to 32767 that no other value
// reads as, and a remove deletes exactly the one value shown.

#include <map>
#include <optional>
#include <random>
#include <set>

#include "browser/tests/BrowserFixture.h"
#include "catalogue/Text.h"

namespace {

using Stored = std::map<std::wstring, std::wstring>;  // name -> path; names are unique

std::optional<long> NumberOf(const std::wstring& name) {
  return text::ParseWholeNumber(name, -32768, 32767);
}

class FavoritesIntegrity : public BrowserTest {
 protected:
  Stored Now() {
    Stored stored;
    for (const RegValue& v : StoredFavorites()) stored[v.Name] = v.Data;
    return stored;
  }
  int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  template <typename T>
  const T& Pick(const std::vector<T>& from) {
    return from[Roll(static_cast<int>(from.size()))];
  }

  void Add(const std::wstring& number) {
    const std::wstring path = Row(lvwRecent, number)->SubItems(2);
    const bool missing = Row(lvwRecent, number)->SmallIcon() == L"not";
    const Stored before = Now();
    // Already a favourite when stored as one the list shows (the first value that reads as its
    // number), or when shown in the favourites list as last loaded.
    bool known = false;
    std::set<long> numbers;
    for (const RegValue& v : StoredFavorites())
      if (const auto n = NumberOf(v.Name); n && numbers.insert(*n).second)
        known = known || v.Data == path;
    for (const std::wstring& shown : ColumnTexts(lvwFavor, 2)) known = known || shown == path;
    Press(lvwRecent, number, 2, L"mnuPopRecent_Add");
    const Stored after = Now();

    ASSERT_EQ(before.size() + !(missing || known), after.size()) << "adding " << number;
    for (const auto& [name, data] : before) EXPECT_EQ(data, after.at(name)) << "replaced " << name;
    for (const auto& [name, data] : after) {
      if (before.count(name)) continue;
      EXPECT_EQ(path, data);
      const auto n = NumberOf(name);
      ASSERT_TRUE(n && *n >= 1 && *n <= 32767 && std::to_wstring(*n) == name) << name;
      for (const auto& [other, unused] : before) EXPECT_NE(n, NumberOf(other)) << other;
    }
  }

  void Remove(const std::wstring& number) {
    const Stored before = Now();
    std::optional<std::wstring> shown;  // the first value that reads as the number
    for (const RegValue& v : StoredFavorites())
      if (!shown && NumberOf(v.Name) == NumberOf(number)) shown = v.Name;
    const std::size_t reports = msgBox_.calls.size();
    Press(lvwFavor, number, 2, L"mnuPopFavor_Delete");
    Stored expected = before;
    if (shown) expected.erase(*shown);
    EXPECT_EQ(expected, Now()) << "removing " << number;
    EXPECT_EQ(reports + !shown, msgBox_.calls.size()) << "a failed remove is reported";
    if (!shown) return;
    const std::vector<std::wstring> icons = ColumnTexts(lvwFavor, -1);
    const auto missing = std::count(icons.begin(), icons.end(), L"not");
    EXPECT_EQ(icons.size(), lists_.FavoriteProjects()->Count() + missing) << "reloaded";
  }

  void OutsideEdit() {
    static const std::vector<std::wstring> names{L"1", L"2", L"3", L"07", L"12", L"0", L"-4",
                                                 L"40000", L"abc", L" 5", L"32767"};
    const Stored now = Now();
    const int kind = Roll(3);
    if (kind == 0) return Set(kFavoritesList, {{Pick(names), Pick(paths_)}});
    if (now.empty()) return;
    const std::wstring& name = std::next(now.begin(), Roll(static_cast<int>(now.size())))->first;
    if (kind == 1) return reg_.RegDelKey(kHkeyCurrentUser, kFavoritesList, name);
    reg_.RegSetKeyValue(kHkeyCurrentUser, kFavoritesList, name, Pick(paths_));
  }

  std::mt19937 random_;
  std::vector<std::wstring> paths_;
};

TEST_P(FavoritesIntegrity, RandomRunsNeverReplaceOrLoseAFavourite) {
  for (int i = 0; i < 8; ++i) paths_.push_back(Project(L"p" + std::to_wstring(i) + L".vbp"));
  paths_.push_back(Missing(L"gone.vbp"));
  paths_.push_back(world_->PathOf(L"P1.VBP"));  // the same file, another path text
  for (std::size_t i = 0; i < paths_.size(); ++i) SetRecent({{std::to_wstring(i + 1), paths_[i]}});
  Open();

  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    random_.seed(seed);
    for (const auto& [name, data] : Now()) reg_.RegDelKey(kHkeyCurrentUser, kFavoritesList, name);
    TabStrip1.UserClickTab(1);

    for (int step = 0; step < 60 && !HasFatalFailure(); ++step) {
      const int action = Roll(5);
      if (action <= 1) {
        TabStrip1.UserClickTab(1);
        Add(Pick(ColumnTexts(lvwRecent)));
      } else if (action == 2) {
        if (lvwFavor.ItemCount() == 0 || Roll(3) == 0) TabStrip1.UserClickTab(2);
        if (lvwFavor.ItemCount() > 0) {
          if (Roll(3) == 0) OutsideEdit();  // between the reload and the click
          Remove(Pick(ColumnTexts(lvwFavor)));
        }
      } else if (action == 3) {
        OutsideEdit();
      } else {
        TabStrip1.UserClickTab(2);
      }
      ASSERT_EQ(0, App.MousePointer()) << "pointer restored";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(FileSystems, FavoritesIntegrity, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
