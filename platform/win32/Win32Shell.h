#pragma once
#include "platform/CodePage.h"
#include "platform/Shell.h"

#include <string>

/// The shell through the Win32 API: ShellExecuteA for Open, with the target in the ANSI code page
/// as the host language would pass it; CreateProcessW for Start; Explorer for ShowInFolder.
class Win32Shell final : public Shell {
 public:
  explicit Win32Shell(const CodePage& ansi) : ansi_(ansi) {}

  void Open(std::wstring_view target, Window owner) override;
  void Start(std::wstring_view commandLine, int windowStyle) override;
  void ShowInFolder(std::wstring_view path, Window owner) override;

 private:
  const CodePage& ansi_;  // not owned
};

/// Explorer's arguments that show the path as ShowInFolder does: /select with the file when it
/// exists, else the nearest folder above it that exists; empty when none does.
std::wstring ExplorerArguments(std::wstring_view path);
