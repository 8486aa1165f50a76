#pragma once
// A shell that starts nothing: it records what it is asked, and behaves as the system's does
// (ShellContractTest runs both over one table).

#include <set>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/Shell.h"

class RecordingShell final : public Shell {
 public:
  struct Call {
    std::wstring target;
    int windowStyle;  // an opened target shows as it is: SW_SHOW, 5
    Window owner;
  };

  void Open(std::wstring_view target, Window owner) override {
    calls.push_back({std::wstring(target), 5, owner});
  }
  /// Starts only the command lines in programs.
  void Start(std::wstring_view commandLine, int windowStyle) override {
    if (commandLine.find_first_not_of(L' ') == std::wstring_view::npos) RaiseInvalidCall(L"Shell");
    if (!programs.count(std::wstring(commandLine))) throw VbError(53, L"Shell", L"File not found");
    calls.push_back({std::wstring(commandLine), windowStyle, nullptr});
  }
  /// Noted as "show " and the path.
  void ShowInFolder(std::wstring_view path, Window owner) override {
    calls.push_back({L"show " + std::wstring(path), 1, owner});
  }

  std::set<std::wstring> programs;
  std::vector<Call> calls;
};
