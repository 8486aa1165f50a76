#include "platform/win32/Win32Shell.h"

#include <windows.h>

#include <shellapi.h>  // after windows.h, which it needs

#include <string>

#include "platform/Error.h"
#include "platform/win32/unique_res.h"

void Win32Shell::Open(std::wstring_view target, Window owner) {
  const std::string file = ansi_.ToAnsi(target);
  ::ShellExecuteA(static_cast<HWND>(owner), "open", file.c_str(), "", "", SW_SHOW);
}

void Win32Shell::Start(std::wstring_view commandLine, int windowStyle) {
  if (commandLine.find_first_not_of(L' ') == std::wstring_view::npos)
    RaiseInvalidCall(L"Shell");
  // CreateProcessW may write into the command line, so it gets a copy of its own. A path with
  // blanks and no quotes is taken as the system takes it: the shortest leading part that names
  // a program.
  std::wstring line(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
    throw VbError(53, L"Shell", L"File not found");
  unique_handle process(started.hProcess), thread(started.hThread);
}
