// The About box as a real dialog, worked from a second thread as a user would: what it shows, its
// link, and System Info with nothing to start. Needs a display (under Wine, Xvfb).

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>
#include <vector>

#include "platform/tests/RecordingShell.h"
#include "about/win32/AboutForm.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/unique_res.h"
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

// How the link looks: underlined or not, and the colour the box gives its text.
std::pair<bool, COLORREF> LinkLook(HWND box) {
  HWND link = ::GetDlgItem(box, kAboutLink);
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(link, WM_GETFONT, 0, 0)), sizeof font, &font);
  unique_res<HDC, ::DeleteDC> dc(::CreateCompatibleDC(nullptr));
  ::SendMessageW(box, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), (LPARAM)link);
  return {font.lfUnderline != 0, ::GetTextColor(dc.get())};
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

  std::vector<std::wstring> texts;
  std::vector<std::pair<bool, COLORREF>> looks;
  HWND box = nullptr;
  bool ownerEnabled = true, escapeCloses = false;
  std::thread user([&] {
    if (!(box = DialogOwnedBy(owner))) return;
    for (int id : std::vector<int>{0, kAboutTitle, kAboutVersion, kAboutDescription, kAboutLink,
                                   kAboutCopyright, IDOK, kAboutSysInfo})
      texts.push_back(TextOf(id ? ::GetDlgItem(box, id) : box));
    ownerEnabled = ::IsWindowEnabled(owner);
    HWND link = ::GetDlgItem(box, kAboutLink);
    for (HWND under : {link, box, link}) {  // under the mouse: the link, the box's own surface
      looks.push_back(LinkLook(box));
      ::SendMessageW(under, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    }
    ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ::PostMessageW(::GetDlgItem(box, kAboutSysInfo), BM_CLICK, 0, 0);
    if (HWND shown = DialogOwnedBy(box)) {
      texts.insert(texts.end(), {TextOf(shown), TextOf(::GetDlgItem(shown, 0xFFFF))});
      if (::IsWindowVisible(::GetDlgItem(shown, IDCANCEL))) texts.push_back(L"not OK only");
      ::PostMessageW(shown, WM_COMMAND, IDOK, 0);
    }
    ::PostMessageW(::GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
    for (int wait = 0; wait < 1500 && ::IsWindow(box); ++wait) ::Sleep(10);
    if (!(escapeCloses = !::IsWindow(box))) ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  });
  form->ShowModal();
  user.join();
  ::DestroyWindow(owner);

  ASSERT_TRUE(box) << "the About box did not show over the top-level owner";
  EXPECT_EQ((std::vector<std::wstring>{
                L"About Skeldra", L"Skeldra", L"Version 1.0.1", L"Tolvane Skeldra Add-In for VB6",
                L"Tolvane WWW: http://www.tolvane.example/", L"Copyright \u00A9 Tolvane", L"OK",
                L"&System Info...", L"Skeldra", L"System Information Is Unavailable At This Time"}),
            texts) << "the box, then the message of System Info, with OK only, modal to the box";
  EXPECT_FALSE(ownerEnabled) << "the box is modal";
  const std::pair<bool, COLORREF> plain{false, RGB(0, 0, 0)}, lit{true, RGB(0, 0, 0xFF)};
  EXPECT_EQ((std::vector<std::pair<bool, COLORREF>>{plain, lit, plain}), looks);
  ASSERT_EQ(1u, shell.calls.size());
  EXPECT_EQ(L"http://www.tolvane.example/", shell.calls[0].target);
  EXPECT_EQ(box, shell.calls[0].owner);
  EXPECT_TRUE(escapeCloses);
}

}  // namespace
