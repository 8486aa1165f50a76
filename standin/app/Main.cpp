// standin.exe: the stand-in IDE. It loads the add-ins registered to load at start-up and shows
// their windows and commands, as the IDE does.
//
//   standin.exe [--screenshot picture.bmp] [--keys keys] [project.vbp ...]
//
// With --keys it types the keys into the first tool window that shows, once start-up is done, as
// the user would after a click into it: ^X is Ctrl+X, any other character is itself.
// With --screenshot it saves a picture of its window once start-up has painted, then closes as
// the user would, and exits 0 when the picture was saved.

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>

#include "standin/app/MainFrame.h"

namespace {

standin_app::Options ParseOptions() {
  standin_app::Options options;
  int count = 0;
  wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!args) return options;
  for (int i = 1; i < count; ++i) {
    const std::wstring arg = args[i];
    if (arg == L"--screenshot" && i + 1 < count)
      options.screenshot = args[++i];
    else if (arg == L"--keys" && i + 1 < count)
      options.keys = args[++i];
    else
      options.open.push_back(arg);
  }
  ::LocalFree(args);
  return options;
}

int Run(HINSTANCE instance) {
  standin_app::MainFrame frame(ParseOptions());
  if (!frame.Create(instance)) return 2;
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (frame.PreTranslate(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return frame.ExitCode();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (FAILED(::OleInitialize(nullptr))) return 3;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
  ::InitCommonControlsEx(&controls);
  int code = 2;
  try {
    code = Run(instance);
  } catch (...) {
  }
  ::OleUninitialize();
  return code;
}
