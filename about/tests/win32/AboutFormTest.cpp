// The About box as a real dialog, worked from a second thread as a user would: what it shows, its
// link, and System Info with nothing to start. Needs a display (under Wine, Xvfb). Then the
// system's shell, which starts System Info and opens the link.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "about/win32/AboutForm.h"
#include "platform/Error.h"
#include "platform/tests/FileWorld.h"
#include "platform/tests/RecordingShell.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Shell.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  return std::wstring(text, ::GetWindowTextW(window, text, 256));
}

// The visible dialog that owner owns, once there is one; null after 15 seconds.
HWND DialogOwnedBy(HWND owner) {
  for (int wait = 0; wait < 1500; ++wait, ::Sleep(10))
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, L"#32770", nullptr));)
      if (::GetWindow(w, GW_OWNER) == owner && ::IsWindowVisible(w)) return w;
  return nullptr;
}

TEST(AboutForm, ShowsItsTextsLightsAndOpensItsLinkAndTellsWhenThereIsNoSystemInfo) {
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                 600, 400, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(owner) << "no window: Wine needs a display";
  // The add-in shows the box from its document, a child window: the box goes over the top one.
  HWND document = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 90, 90, owner,
                                    nullptr, nullptr, nullptr);
  MemoryRegistry registry;  // no System Info registered
  Win32CodePage ansi;
  Win32FileSystem files;
  RecordingShell shell;
  const auto form =
      MakeAboutForm(document, ::GetModuleHandleW(nullptr), {registry, ansi, files, shell});

  // The user's side, with the box modal on this thread: what it shows, the link lit under the
  // mouse (over the box's own surface it is not) and clicked, System Info's message (OK only,
  // modal to the box) and Esc.
  std::thread user([&] {
    HWND box = DialogOwnedBy(owner);
    ASSERT_TRUE(box) << "the About box did not show over the top-level owner";
    std::vector<std::wstring> texts;
    for (int id : std::vector<int>{0, kAboutTitle, kAboutVersion, kAboutDescription, kAboutLink,
                                   kAboutCopyright, IDOK, kAboutSysInfo})
      texts.push_back(TextOf(id ? ::GetDlgItem(box, id) : box));
    HWND link = ::GetDlgItem(box, kAboutLink);
    ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    for (const auto& call : shell.calls)
      texts.push_back(call.target + (call.owner == box ? L" opened over the box" : L""));
    ::PostMessageW(::GetDlgItem(box, kAboutSysInfo), BM_CLICK, 0, 0);
    if (HWND shown = DialogOwnedBy(box)) {
      texts.insert(texts.end(), {TextOf(shown), TextOf(::GetDlgItem(shown, 0xFFFF))});
      if (::IsWindowVisible(::GetDlgItem(shown, IDCANCEL))) texts.push_back(L"not OK only");
      ::PostMessageW(shown, WM_COMMAND, IDOK, 0);
    }
    EXPECT_EQ((std::vector<std::wstring>{
                  L"About Skeldra", L"Skeldra", L"Version 1.0.1", L"Tolvane Skeldra Add-In for VB6",
                  L"Tolvane WWW: http://www.tolvane.example/", L"Copyright \u00A9 Tolvane", L"OK",
                  L"&System Info...", L"http://www.tolvane.example/ opened over the box",
                  L"Skeldra", L"System Information Is Unavailable At This Time"}),
              texts);
    ::PostMessageW(::GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
    for (int wait = 0; wait < 1500 && ::IsWindow(box); ++wait) ::Sleep(10);
    EXPECT_FALSE(::IsWindow(box)) << "Esc closes the box";
    if (::IsWindow(box)) ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  });
  form->ShowModal();
  user.join();
  ::DestroyWindow(owner);
}

// The window style that reaches the program, a copy of about_start_probe.exe, which notes beside
// itself the style it was started with (-1 here when it noted none within 15 seconds); and a
// program that is not there raises.
TEST(ShellContract, TheStyleReachesTheProgramAndWhatCannotStartRaises) {
  const std::unique_ptr<FileWorld> folder = MakeWin32FileWorld();
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const auto probe = std::filesystem::path(self).replace_filename("about_start_probe.exe");
  Win32CodePage ansi;
  Win32Shell shell(ansi);
  const auto styleNoted = [&](const wchar_t* name, int style) {  // -1: opened
    const std::wstring line = folder->PathOf(name);
    std::filesystem::create_directories(std::filesystem::path(line).parent_path());
    std::filesystem::copy_file(probe, line, std::filesystem::copy_options::overwrite_existing);
    style < 0 ? shell.Open(line, nullptr) : shell.Start(line, style);
    int noted = -1;
    const std::filesystem::path note = line + L".started";
    for (int wait = 0; wait < 1500 && !(std::ifstream(note) >> noted); ++wait) ::Sleep(10);
    return noted;
  };
  EXPECT_EQ(SW_SHOWMINNOACTIVE, styleNoted(L"Program Files\\the probe.exe", SW_SHOWMINNOACTIVE))
      << "a path with blanks, unquoted";
  EXPECT_EQ(SW_SHOW, styleNoted(L"opened.exe", -1)) << "opened in its current size and place";
  EXPECT_THROW(shell.Start(folder->PathOf(L"missing.exe"), SW_SHOWNORMAL), VbError);
}

}  // namespace
