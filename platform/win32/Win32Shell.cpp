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

std::wstring ExplorerArguments(std::wstring_view path) {
  std::wstring target(path);
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return L"/select,\"" + target + L"\"";
  // Up one folder at a time; a drive's root keeps its backslash ("C:\").
  for (;;) {
    const auto slash = target.find_last_of(L"\\/");
    if (slash == std::wstring::npos || slash < 2) return L"";  // no folder, or a share's top
    const bool root = slash == 2 && target[1] == L':';
    if (root && target.size() == 3) return L"";  // the drive's root is gone too
    target.resize(root ? slash + 1 : slash);
    const DWORD folder = ::GetFileAttributesW(target.c_str());
    if (folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY))
      return L"\"" + target + L"\"";
  }
}

void Win32Shell::ShowInFolder(std::wstring_view path, Window owner) {
  const std::wstring arguments = ExplorerArguments(path);
  if (arguments.empty()) return;
  ::ShellExecuteW(static_cast<HWND>(owner), L"open", L"explorer.exe", arguments.c_str(), nullptr,
                  SW_SHOWNORMAL);
}
