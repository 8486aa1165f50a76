#pragma once
// The Add-In Manager: a modal dialog listing the registered add-ins, each with a "Loaded" box.

#include <windows.h>

#include <string>
#include <vector>

namespace standin_app {

struct AddInChoice {
  std::wstring progId, friendlyName;
  bool loaded = false;
};

/// Control identifiers, for the row of choice i: its name and its "Loaded" check box.
constexpr int kAddInNameFirst = 200;
constexpr int kAddInLoadedFirst = 100;

/// Shows the dialog over owner until the user closes it. On OK, returns true with each choice's
/// loaded as the user left it; on Cancel, returns false and (choices) is not changed.
bool RunAddInManager(HWND owner, std::vector<AddInChoice>& choices);

}  // namespace standin_app
