#pragma once
// What a control answers to a fixed run of calls, one line a step: the same run over the headless
// controls and over the Win32 ones must read alike, and the headless reading is pinned natively.

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Error.h"
#include "ui/Controls.h"

namespace contract {

using Strings = std::vector<std::wstring>;

template <typename F>
inline int Raised(F&& call) {
  try {
    call();
  } catch (const VbError& e) {
    return e.Number();
  }
  return 0;
}

// A record of what a control answers, one line a step, to compare between implementations.
class Transcript {
 public:
  template <typename T>
  void operator()(std::wstring_view step, const T& answer) {
    std::wostringstream line;
    line << step << L": " << answer;
    lines.push_back(line.str());
  }
  Strings lines;
};

inline std::wstring Order(ListView& list) {
  std::wstring order;
  for (int i = 1; i <= list.ItemCount(); ++i) order += list.Item(i).Text() + L" ";
  return order;
}

inline Strings ListViewContract(ListView& list) {
  Transcript log;
  for (const wchar_t* key : {L"Name", L"Kind", L"Size", L"Date"}) list.AddColumn(key, key, 1440);
  log(L"duplicate column", Raised([&] { list.AddColumn(L"Kind", L"", 100); }));
  log(L"negative width", Raised([&] { list.AddColumn(L"New", L"", -1); }));
  log(L"missing column", Raised([&] { list.Column(L"Nope"); }));
  log(L"column 5", Raised([&] { list.Column(5); }));
  list.Column(L"Date").Position(1);
  list.Column(1).Position(99);
  std::wstring places;
  for (int i = 1; i <= 4; ++i) places += std::to_wstring(list.Column(i).Position());
  log(L"positions", places);
  list.Column(2).Width(0);
  list.Column(3).Width(2000);
  log(L"widths", std::to_wstring(list.Column(2).Width()) + L"/" + std::to_wstring(list.Column(3).Width()));
  log(L"negative column width", Raised([&] { list.Column(3).Width(-5); }));

  list.AddItem(L"k1", L"b", L"").SubItems(2, L"dll");
  list.AddItem(L"", L"A", L"yes").SubItems(2, L"exe");
  ListItem& ten = list.AddItem(L"", L"10", L"not");
  ten.SubItems(2, L"dll");
  log(L"duplicate row", Raised([&] { list.AddItem(L"k1", L"again", L""); }));
  list.Sorted(true);
  log(L"sorted", Order(list));
  list.AddItem(L"", L"2", L"").SubItems(2, L"exe");
  log(L"added while sorted", Order(list));
  ten.Text(L"c");
  log(L"text changed", Order(list));
  list.SortKey(2);
  log(L"by sub-item 2, ties as added", Order(list));
  list.SortOrder(1);
  log(L"descending", Order(list));
  log(L"bad order", Raised([&] { list.SortOrder(2); }));
  log(L"bad key", Raised([&] { list.SortKey(-1); }));
  list.Sorted(false);
  log(L"unsorted", Order(list));
  log(L"item 0", Raised([&] { list.Item(0); }));
  log(L"item 5", Raised([&] { list.Item(5); }));
  log(L"sub-item 0", Raised([&] { list.Item(1).SubItems(0); }));
  log(L"never set", list.Item(1).SubItems(7) + L"|" + list.Item(2).SmallIcon());

  int checks = 0;
  list.events.ItemCheck = [&](ListItem&) { ++checks; };
  list.Item(1).Checked(true);
  log(L"checked from code", std::to_wstring(list.Item(1).Checked()) + std::to_wstring(checks));

  list.SelectedItem(&list.Item(3));
  list.DropHighlight(&list.Item(2));
  log(L"selected", list.SelectedItem()->Text() + list.DropHighlight()->Text());
  list.SelectedItem(nullptr);
  log(L"none selected", list.SelectedItem() == nullptr);
  list.SelectedItem(&list.Item(3));
  list.ClearItems();
  log(L"cleared", list.ItemCount() + !list.SelectedItem() + !list.DropHighlight());
  log(L"key free again", Raised([&] { list.AddItem(L"k1", L"", L""); }));
  return log.lines;
}

inline Strings TabStripContract(TabStrip& tabs) {
  Transcript log;
  log(L"none selected", tabs.SelectedIndex());
  tabs.AddTab(L"Recent");
  tabs.AddTab(L"Favorites");
  log(L"first selected", tabs.SelectedIndex());
  std::wstring clicks;
  tabs.events.Click = [&] { clicks += std::to_wstring(tabs.SelectedIndex()); };
  tabs.SelectTab(2);
  tabs.SelectTab(2);
  log(L"clicks after selecting", clicks);
  log(L"tab 3", Raised([&] { tabs.SelectTab(3); }));
  log(L"caption 0", Raised([&] { tabs.TabCaption(0); }));
  tabs.TabIndex(1);
  log(L"tab index", tabs.TabIndex());
  return log.lines;
}

inline Strings ToolbarContract(Toolbar& bar) {
  Transcript log;
  bar.AddButton(L"Pin", L"Keep", L"custom", true);
  bar.AddButton(L"Open", L"Open", L"Open", false);
  log(L"duplicate", Raised([&] { bar.AddButton(L"Pin", L"", L"", false); }));
  log(L"unknown", Raised([&] { bar.ButtonValue(L"pin"); }));
  bar.ButtonValue(L"Pin", 1);
  log(L"pressed", bar.ButtonValue(L"Pin"));
  bar.ButtonValue(L"Pin", 0);
  log(L"released", bar.ButtonValue(L"Pin"));
  const float height = bar.Height();
  bar.Move(0, 0, 3000);
  log(L"width, own height", std::to_wstring(bar.Width()) + std::to_wstring(bar.Height() == height));
  return log.lines;
}

inline Strings ControlContract(Control& control) {
  Transcript log;
  control.Move(10, 20, 333.3f, 400);
  log(L"negative", Raised([&] { control.Move(1, 2, -3, 4); }) + Raised([&] { control.Move(1, 2, 3, -4); }));
  log(L"kept", std::to_wstring(control.Left()) + L"," + std::to_wstring(control.Top()) + L"," +
                   std::to_wstring(control.Width()) + L"," + std::to_wstring(control.Height()));
  control.Visible(false);
  log(L"hidden", control.Visible());
  return log.lines;
}

}  // namespace contract
