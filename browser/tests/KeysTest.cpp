// The keys the document claims from its host, by the control that has the focus: what each
// claimed key does, and which keys it leaves to the host.

#include <map>

#include "browser/tests/BrowserFixture.h"

namespace {

class Keys : public BrowserTest {
 protected:
  // What a key can change, by name; the file names only, for paths.
  std::map<std::string, std::wstring> Observe() {
    const auto file = [](const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); };
    const std::map<const Control*, std::wstring> names = {
        {&w_.lvwRecent, L"recent"}, {&w_.lvwFavor, L"favor"}, {&w_.txtFilter, L"filter"},
        {&w_.TabStrip1, L"tabs"}};
    ListView& shown = w_.lvwRecent.Visible() ? w_.lvwRecent : w_.lvwFavor;
    return {{"tab", std::to_wstring(w_.TabStrip1.SelectedIndex())},
            {"focus", names.count(headless::focused) ? names.at(headless::focused) : L"?"},
            {"opened", host_->opened.empty() ? L"" : file(host_->opened.back().first)},
            {"favorites", std::to_wstring(StoredFavorites().size())},
            {"copied", file(clipboard_.held.text)},
            {"menus", std::to_wstring(w_.UserDocument.popups.size())},
            {"filter", w_.txtFilter.Text()},
            {"loads", std::to_wstring(w_.App.pointers.size() / 2)},
            {"selected", shown.SelectedItem() ? shown.SelectedItem()->Text() : L""}};
  }
};

constexpr int kShift = 1, kCtrl = 2;
// The virtual-key codes the host passes.
constexpr int kTab = 0x09, kReturn = 0x0D, kEscape = 0x1B, kDown = 0x28, kDelete = 0x2E,
              kApps = 0x5D, kF5 = 0x74, kF10 = 0x79;

TEST_P(Keys, AClaimedKeyDoesWhatItsMenuOrButtonDoesAndTheRestAreLeftToTheHost) {
  const std::wstring f1 = Project(L"f1.vbp"), f2 = Project(L"f2.vbp");
  SetFavorites({{L"1", f1}, {L"2", f2}});
  SetRecent({{L"1", Project(L"new.vbp")}, {L"2", Missing(L"gone.vbp")}, {L"3", f2}});
  Open();
  Press(w_.lvwRecent, L"1");
  const std::map<std::wstring, Control*> controls = {
      {L"recent", &w_.lvwRecent}, {L"favor", &w_.lvwFavor}, {L"filter", &w_.txtFilter},
      {L"tabs", &w_.TabStrip1}};
  // The control with the focus, text typed into the filter box first, the key and its Shift and
  // Ctrl; whether the document claims it, and what changed (name=value, in name order).
  const struct {
    const wchar_t* focus;
    const wchar_t* typed;
    int key, shift;
    bool claimed;
    std::wstring changed;
  } steps[] = {
      {L"recent", nullptr, kReturn, 0, true, L"opened=new.vbp"},
      {L"recent", nullptr, 'C', kCtrl, true, L"copied=new.vbp"},
      {L"recent", nullptr, kDelete, 0, true, L""},  // the IDE's own list keeps its entries
      {L"recent", nullptr, kF10, kShift, true, L"menus=1"},
      {L"recent", nullptr, kApps, 0, true, L"menus=2"},
      {L"recent", nullptr, 'A', 0, false, L""},
      {L"recent", nullptr, kF10, 0, false, L""},
      {L"recent", nullptr, kF5, 0, true, L"loads=2 selected="},  // read again, as a tab does
      {L"recent", nullptr, kTab, kCtrl, true, L"focus=favor loads=3 tab=2"},
      {L"favor", nullptr, 'F', kCtrl, true, L"focus=filter"},
      {L"filter", nullptr, kDown, 0, true, L"focus=favor selected=1"},
      {L"favor", nullptr, kDelete, 0, true, L"favorites=1 loads=4 selected="},
      {L"favor", nullptr, kTab, kCtrl | kShift, true, L"focus=recent loads=5 tab=1"},
      {L"filter", L"gone", kEscape, 0, true, L"filter="},
      {L"filter", nullptr, kDelete, 0, false, L""},  // the box's own key
      {L"filter", nullptr, kF5, 0, true, L"loads=6"},
      {L"tabs", nullptr, kF5, 0, false, L""},
      {L"tabs", nullptr, 'F', kCtrl, true, L"focus=filter"},
  };
  for (const auto& step : steps) {
    controls.at(step.focus)->SetFocus();
    if (step.typed) w_.txtFilter.Text(step.typed);
    const auto before = Observe();
    EXPECT_EQ(step.claimed, doc_.UserDocument_KeyDown(step.key, step.shift)) << step.key;
    std::wstring changed;
    for (const auto& [name, value] : Observe())
      if (before.at(name) != value)
        changed += (changed.empty() ? L"" : L" ") + std::wstring(name.begin(), name.end()) + L"=" + value;
    EXPECT_EQ(step.changed, changed) << step.focus << " " << step.key << "+" << step.shift;
  }
  ASSERT_EQ(2u, w_.UserDocument.popups.size());
  EXPECT_EQ(L"mnuPopRecent", w_.UserDocument.popups.back().first);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, Keys, testing::ValuesIn(FileWorlds()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
