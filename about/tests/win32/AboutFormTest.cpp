// The About box as a real dialog: shown from a window of the test, driven from a second thread
// the way a user would work it, over the real registry, file system and program start. Needs a
// display (under Wine, an X server such as Xvfb).

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "about/SysInfo.h"
#include "about/tests/win32/AboutTestWorld.h"
#include "about/win32/AboutForm.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/unique_res.h"
#include "registry/win32/Advapi32Registry.h"

namespace {

constexpr wchar_t kPathKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t kLocationKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";

// The shell of the system for starting programs; opening a web address is only recorded, so
// that no browser starts. Calls come on the box's thread and are read on the test's.
class TestShell final : public Shell {
 public:
  struct Call {
    std::wstring target;
    Window owner;
    int windowStyle;
  };

  explicit TestShell(const CodePage& ansi) : real_(ansi) {}

  void Open(std::wstring_view target, Window owner) override {
    std::lock_guard<std::mutex> lock(mutex_);
    opened_.push_back({std::wstring(target), owner, 0});
  }
  void Start(std::wstring_view commandLine, int windowStyle) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      started_.push_back({std::wstring(commandLine), nullptr, windowStyle});
    }
    real_.Start(commandLine, windowStyle);
  }

  std::vector<Call> Opened() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return opened_;
  }
  std::vector<Call> Started() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return started_;
  }

 private:
  Win32Shell real_;
  mutable std::mutex mutex_;
  std::vector<Call> opened_, started_;
};

// How the link label looks: its font's underline and the colour the box gives its text.
struct LinkLook {
  bool underlined;
  COLORREF colour;
};

COLORREF TextColourOf(HWND box, HWND label) {
  unique_res<HDC, ::DeleteDC> dc(::CreateCompatibleDC(nullptr));
  ::SetTextColor(dc.get(), RGB(1, 2, 3));
  ::SendMessageW(box, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                 reinterpret_cast<LPARAM>(label));
  return ::GetTextColor(dc.get());
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  auto handle = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  ::GetObjectW(handle, sizeof font, &font);
  return font;
}

LinkLook LookOf(HWND box) {
  HWND link = ::GetDlgItem(box, kAboutLink);
  return {FontOf(link).lfUnderline != 0, TextColourOf(box, link)};
}

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

// Where a control lies in a picture of its window.
RECT PlaceIn(HWND box, HWND control) {
  RECT window{}, r{};
  ::GetWindowRect(box, &window);
  ::GetWindowRect(control, &r);
  ::OffsetRect(&r, -window.left, -window.top);
  return r;
}

bool Near(std::uint32_t pixel, std::uint32_t expected, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int a = static_cast<int>((pixel >> shift) & 0xFF);
    const int b = static_cast<int>((expected >> shift) & 0xFF);
    if (a - b > tolerance || b - a > tolerance) return false;
  }
  return true;
}

std::wstring ScreenshotPath(const wchar_t* name) {
  // build/<preset>/about/<test>.exe: the pictures go to build/<preset>/screenshots.
  const std::wstring folder = ProgramFolder();
  return folder.substr(0, folder.rfind(L'\\')) + L"\\screenshots\\" + name;
}

int ButtonsOf(HWND window) {
  int buttons = 0;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t windowClass[16] = {};
    ::GetClassNameW(child, windowClass, 16);
    if (_wcsicmp(windowClass, L"Button") == 0 && ::IsWindowVisible(child)) ++buttons;
  }
  return buttons;
}

class AboutFormTest : public testing::Test {
 protected:
  // One owner window serves every test: under Wine without a window manager, each top-level
  // window that goes away costs a wait of seconds.
  static void SetUpTestSuite() {
    HINSTANCE self = ::GetModuleHandleW(nullptr);  // the test program's own resources
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = self;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"MarrowbyAboutTestOwner";
    ::RegisterClassW(&windowClass);
    owner_ =
        ::CreateWindowExW(0, windowClass.lpszClassName, L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                          40, 40, 800, 600, nullptr, nullptr, self, nullptr);
  }
  static void TearDownTestSuite() {
    if (owner_) ::DestroyWindow(owner_);
    owner_ = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(owner_) << "no window could be made: Wine needs a display (DISPLAY, e.g. Xvfb)";
    form_ = MakeAboutForm(owner_, ::GetModuleHandleW(nullptr), platform_);
  }

  // Shows the box. drive runs on another thread once the box is up and should end by closing
  // it; whatever it leaves open is closed after it, so that the test always ends.
  void ShowDriven(const std::function<void(HWND box)>& drive) {
    const DWORD boxThread = ::GetCurrentThreadId();
    std::thread driver([&] {
      HWND box = WaitForWindow([&] { return FindOwnedDialog(boxThread, owner_); });
      if (!box) {
        ADD_FAILURE() << "the About box did not show";
        return;
      }
      drive(box);
      if (HWND message = FindOwnedDialog(boxThread, box))
        ::PostMessageW(message, WM_COMMAND, IDOK, 0);
      if (::IsWindow(box)) ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    form_->ShowModal();
    driver.join();
  }

  static void Click(HWND box, int id) { ::PostMessageW(::GetDlgItem(box, id), BM_CLICK, 0, 0); }

  // Clicks System Info; the message box it shows, if one comes, read and closed with OK.
  struct Message {
    std::wstring caption, text;
    HWND owner;
    int buttons;
  };
  std::optional<Message> ClickSysInfoAndReadMessage(HWND box, bool expectMessage) {
    const DWORD boxThread = ::GetWindowThreadProcessId(box, nullptr);
    Click(box, kAboutSysInfo);
    if (!expectMessage) return std::nullopt;
    HWND message = WaitForWindow([&] { return FindOwnedDialog(boxThread, box); });
    if (!message) return std::nullopt;
    Message m{WindowText(message), StaticTexts(message), ::GetWindow(message, GW_OWNER),
              ButtonsOf(message)};
    ::PostMessageW(message, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntilGone(message));
    return m;
  }

  static HWND owner_;
  Advapi32Registry registry_;
  Win32CodePage ansi_;
  Win32FileSystem files_;
  TestShell shell_{ansi_};
  AboutPlatform platform_{registry_, ansi_, files_, shell_};
  std::unique_ptr<ModalForm> form_;
};

HWND AboutFormTest::owner_ = nullptr;

// --- Form load ------------------------------------------------------------------------------

TEST_F(AboutFormTest, FormLoadShowsTheTitleAndTheModulesVersionRecordOverADisabledOwner) {
  struct Seen {
    std::wstring caption, title, version, description, copyright, link, ok, sysInfo;
    bool ownerEnabled = true;
    HWND focus = nullptr;
    LOGFONTW titleFont{}, copyFont{};
    COLORREF titleColour = 0;
  } seen;
  Screenshot shot;
  RECT banner{}, icon{}, line{};
  bool closed = false;

  ShowDriven([&](HWND box) {
    seen.caption = WindowText(box);
    seen.title = WindowText(::GetDlgItem(box, kAboutTitle));
    seen.version = WindowText(::GetDlgItem(box, kAboutVersion));
    seen.description = WindowText(::GetDlgItem(box, kAboutDescription));
    seen.copyright = WindowText(::GetDlgItem(box, kAboutCopyright));
    seen.link = WindowText(::GetDlgItem(box, kAboutLink));
    seen.ok = WindowText(::GetDlgItem(box, IDOK));
    seen.sysInfo = WindowText(::GetDlgItem(box, kAboutSysInfo));
    seen.ownerEnabled = ::IsWindowEnabled(owner_);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(box, nullptr), &gui);
    seen.focus = gui.hwndFocus;
    seen.titleFont = FontOf(::GetDlgItem(box, kAboutTitle));
    seen.copyFont = FontOf(::GetDlgItem(box, kAboutCopyright));
    seen.titleColour = TextColourOf(box, ::GetDlgItem(box, kAboutTitle));
    shot = Screenshot::Of(box);
    banner = PlaceIn(box, ::GetDlgItem(box, kAboutBanner));
    icon = PlaceIn(box, ::GetDlgItem(box, kAboutIcon));
    line = PlaceIn(box, ::GetDlgItem(box, kAboutLine));
    EXPECT_EQ(::GetDlgItem(box, IDOK), seen.focus);
    Click(box, IDOK);
    closed = WaitUntilGone(box);
  });

  EXPECT_EQ(L"About Skeldra", seen.caption);
  EXPECT_EQ(L"Skeldra", seen.title);
  EXPECT_EQ(L"Version 1.0.1", seen.version) << "the test program's record is 1.0.0.1";
  EXPECT_EQ(L"Tolvane Skeldra Add-In for VB6", seen.description);
  EXPECT_EQ(L"Copyright \u00A9 Tolvane", seen.copyright);
  EXPECT_EQ(L"Tolvane WWW: http://www.tolvane.example/", seen.link);
  EXPECT_EQ(L"OK", seen.ok);
  EXPECT_EQ(L"&System Info...", seen.sysInfo);
  EXPECT_FALSE(seen.ownerEnabled) << "the box is modal to its owner";
  EXPECT_TRUE(closed) << "OK closes the box";
  EXPECT_TRUE(::IsWindowEnabled(owner_));

  const int dpi = ScreenDpi();
  EXPECT_STREQ(L"Arial", seen.titleFont.lfFaceName);
  EXPECT_EQ(-::MulDiv(1425, dpi, 7200), seen.titleFont.lfHeight) << "14.25 points";
  EXPECT_LT(seen.titleFont.lfWeight, FW_BOLD);
  EXPECT_EQ(RGB(0, 0, 0x80), seen.titleColour);
  EXPECT_STREQ(L"Arial", seen.copyFont.lfFaceName);
  EXPECT_EQ(-::MulDiv(975, dpi, 7200), seen.copyFont.lfHeight) << "9.75 points";
  EXPECT_GE(seen.copyFont.lfWeight, FW_BOLD);

  ASSERT_FALSE(shot.pixels.empty());
  EXPECT_TRUE(shot.Save(ScreenshotPath(L"about.bmp")));
  // The pictures are drawn: the banner's dark left edge, the icon's blue frame, the separator's
  // grey line over its white one.
  EXPECT_TRUE(Near(shot.At(banner.left + 3, banner.top + 3), 0x0B1F4D, 40))
      << std::hex << shot.At(banner.left + 3, banner.top + 3);
  EXPECT_EQ(banner.right - banner.left, shot.width - 2 * banner.left) << "the banner spans the box";
  EXPECT_TRUE(Near(shot.At(icon.left + 2, icon.top + 16), 0x3F81C8, 50))
      << std::hex << shot.At(icon.left + 2, icon.top + 16);
  EXPECT_EQ(0x808080u, shot.At((line.left + line.right) / 2, line.top));
  EXPECT_EQ(0xFFFFFFu, shot.At((line.left + line.right) / 2, line.bottom - 1));
}

TEST_F(AboutFormTest, EscapeAndEnterCloseTheBoxAndEachShowingRunsFormLoadAgain) {
  std::vector<std::wstring> captions;
  std::vector<LinkLook> looks;
  std::vector<bool> closed;
  for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
    ShowDriven([&](HWND box) {
      captions.push_back(WindowText(box));
      looks.push_back(LookOf(box));
      ::SendMessageW(::GetDlgItem(box, kAboutLink), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
      ::PostMessageW(::GetDlgItem(box, IDOK), WM_KEYDOWN, key, 0);
      closed.push_back(WaitUntilGone(box));
    });
  }
  ASSERT_EQ(2u, captions.size());
  EXPECT_TRUE(closed[0]) << "Escape: OK is the cancel button";
  EXPECT_TRUE(closed[1]) << "Enter: OK is the default button";
  EXPECT_EQ(L"About Skeldra", captions[1]);
  EXPECT_FALSE(looks[1].underlined) << "the link left lit by the first showing starts plain";
  EXPECT_EQ(RGB(0, 0, 0), looks[1].colour);
}

TEST_F(AboutFormTest, AChildWindowAsOwnerPutsTheBoxOverItsTopLevelWindow) {
  // As the add-in shows it: from the document, a child window deep in the host's frame.
  HWND document = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 200,
                                    owner_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(document);
  form_ = MakeAboutForm(document, ::GetModuleHandleW(nullptr), platform_);
  bool ownerEnabled = true;
  ShowDriven([&](HWND box) {  // found as a dialog owned by the top-level owner_
    ownerEnabled = ::IsWindowEnabled(owner_);
    Click(box, IDOK);
  });
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(::IsWindowEnabled(owner_));
  ::DestroyWindow(document);
}

// --- The link -------------------------------------------------------------------------------

TEST_F(AboutFormTest, TheLinkLightsUpUnderTheMouseAndOpensTheMakersAddress) {
  std::vector<LinkLook> looks;
  HWND shown = nullptr;
  Screenshot lit;
  ShowDriven([&](HWND box) {
    shown = box;
    HWND link = ::GetDlgItem(box, kAboutLink);
    looks.push_back(LookOf(box));  // 0: as loaded
    ::SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    looks.push_back(LookOf(box));  // 1: over the link
    lit = Screenshot::Of(box);
    ::SendMessageW(::GetDlgItem(box, kAboutTitle), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    looks.push_back(LookOf(box));  // 2: over another control
    ::SendMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    looks.push_back(LookOf(box));  // 3: over the form's own surface
    ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    Click(box, IDOK);
  });

  ASSERT_EQ(4u, looks.size());
  EXPECT_FALSE(looks[0].underlined);
  EXPECT_EQ(RGB(0, 0, 0), looks[0].colour);
  EXPECT_TRUE(looks[1].underlined);
  EXPECT_EQ(RGB(0, 0, 0xFF), looks[1].colour);
  EXPECT_TRUE(looks[2].underlined) << "only the form's own surface puts the link back";
  EXPECT_EQ(RGB(0, 0, 0xFF), looks[2].colour);
  EXPECT_FALSE(looks[3].underlined);
  EXPECT_EQ(RGB(0, 0, 0), looks[3].colour);
  lit.Save(ScreenshotPath(L"about-link.bmp"));

  const auto opened = shell_.Opened();
  ASSERT_EQ(1u, opened.size());
  EXPECT_EQ(L"http://www.tolvane.example/", opened[0].target);
  EXPECT_EQ(static_cast<void*>(shown), opened[0].owner);
}

// --- System Info ----------------------------------------------------------------------------

TEST_F(AboutFormTest, SystemInfoStartsTheRegisteredProgramAsItIsNamed) {
  TempFolder temp;
  const std::wstring program =
      temp.CopyProbe(L"Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe");
  ScopedMachineValue path(kPathKey, L"PATH");
  ScopedMachineValue location(kLocationKey, L"MSINFO");
  ASSERT_TRUE(path.Set(program));
  location.Remove();

  std::optional<int> style;
  bool messageShown = false;
  ShowDriven([&](HWND box) {
    ClickSysInfoAndReadMessage(box, false);
    style = ProbeStartStyle(program);
    messageShown = FindOwnedDialog(::GetWindowThreadProcessId(box, nullptr), box) != nullptr;
    Click(box, IDOK);
  });

  ASSERT_TRUE(style.has_value()) << "the program did not start";
  EXPECT_EQ(SW_SHOWNORMAL, *style);
  EXPECT_FALSE(messageShown);
  const auto started = shell_.Started();
  ASSERT_EQ(1u, started.size());
  EXPECT_EQ(program, started[0].target) << "the path with its blanks, unquoted";
}

TEST_F(AboutFormTest, SystemInfoStartsTheProgramInTheRegisteredFolder) {
  TempFolder temp;
  const std::wstring program = temp.CopyProbe(L"Shared Tools\\MSINFO32.EXE");
  ScopedMachineValue path(kPathKey, L"PATH");
  ScopedMachineValue location(kLocationKey, L"MSINFO");
  path.Remove();
  ASSERT_TRUE(location.Set(temp.Path() + L"\\Shared Tools"));

  std::optional<int> style;
  ShowDriven([&](HWND box) {
    ClickSysInfoAndReadMessage(box, false);
    style = ProbeStartStyle(program);
    Click(box, IDOK);
  });

  ASSERT_TRUE(style.has_value()) << "the program did not start";
  EXPECT_EQ(SW_SHOWNORMAL, *style);
}

TEST_F(AboutFormTest, SystemInfoWithoutAProgramToStartTellsTheUser) {
  TempFolder temp;
  struct Case {
    const char* name;
    std::optional<std::wstring> path, location;
  } cases[] = {
      {"neither value", std::nullopt, std::nullopt},
      {"a path naming no program", temp.Path() + L"\\Gone\\msinfo32.exe", std::nullopt},
      {"a folder without the program", std::nullopt, temp.Path()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedMachineValue path(kPathKey, L"PATH");
    ScopedMachineValue location(kLocationKey, L"MSINFO");
    if (c.path)
      ASSERT_TRUE(path.Set(*c.path));
    else
      path.Remove();
    if (c.location)
      ASSERT_TRUE(location.Set(*c.location));
    else
      location.Remove();

    std::optional<Message> message;
    HWND shown = nullptr;
    bool stillShown = false;
    ShowDriven([&](HWND box) {
      shown = box;
      message = ClickSysInfoAndReadMessage(box, true);
      stillShown = ::IsWindowVisible(box);
      Click(box, IDOK);
    });

    ASSERT_TRUE(message.has_value()) << "no message box";
    EXPECT_EQ(L"Skeldra", message->caption);
    EXPECT_EQ(L"System Information Is Unavailable At This Time", message->text);
    EXPECT_EQ(shown, message->owner) << "the message is modal to the box";
    EXPECT_EQ(1, message->buttons) << "OK only";
    EXPECT_TRUE(stillShown) << "the box stays after the message";
  }
}

}  // namespace
