#pragma once
#include "platform/CodePage.h"
#include "platform/Shell.h"

/// The shell through the Win32 API: ShellExecuteA for Open, with the target in the ANSI code page
/// as the host language would pass it; CreateProcessW for Start.
class Win32Shell final : public Shell {
 public:
  explicit Win32Shell(const CodePage& ansi) : ansi_(ansi) {}

  void Open(std::wstring_view target, Window owner) override;
  void Start(std::wstring_view commandLine, int windowStyle) override;

 private:
  const CodePage& ansi_;  // not owned
};
