#include "ui/tests/HeadlessControls.h"

void HeadlessContainer::PopupMenu(const Menu& menu, int flags) {
  popups.emplace_back(menu.Name, flags);
  // Taken before the command runs, so a menu the command pops up itself closes unchosen.
  const std::wstring chosen = std::exchange(choose, std::wstring());
  for (const MenuItem& item : menu.Items)
    if (!chosen.empty() && item.Name == chosen) return item.Click();
  EXPECT_EQ(L"", chosen) << "the menu has no such item";
}
