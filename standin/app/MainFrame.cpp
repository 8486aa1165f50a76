// The main window and what the user does in it. Everything the add-in changes reaches the window
// through the object model's observer; the window then shows the model again from scratch.

#include "standin/app/MainFrame.h"

#include "platform/win32/WindowProc.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cwctype>

#include "standin/app/AddInManager.h"
#include "standin/app/RecentFiles.h"
#include "standin/app/Screenshot.h"
#include "platform/Error.h"

namespace standin_app {
namespace {

constexpr wchar_t kFrameClass[] = L"MarrowbyStandInFrame";
constexpr wchar_t kDockClass[] = L"MarrowbyStandInDock";
constexpr wchar_t kTitle[] = L"Stand-in IDE (Marrowby)";
constexpr int kDockWidth = 600;
constexpr int kSplitter = 4;
constexpr int kHeaderHeight = 20;

// Posted by the observer.
constexpr UINT kBarsChanged = WM_APP + 1;
constexpr UINT kProjectsChanged = WM_APP + 2;
constexpr UINT kAddInChanged = WM_APP + 3;

// Command identifiers: the fixed File menu, then one per control of the reflected bars, by the
// control's 1-based position.
constexpr int kOpenProject = 100;
constexpr int kExit = 101;
constexpr int kAddInsMenuFirst = 1000;
constexpr int kToolbarFirst = 2000;
constexpr int kMaxControls = 900;

constexpr UINT_PTR kScreenshotTimer = 1;
constexpr UINT kScreenshotDelay = 1500;  // ms: the add-in's window paints in the meantime

constexpr int kFaceSize = 16;

std::wstring WithoutAccelerator(const std::wstring& caption) {
  std::wstring text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    text += caption[i];
  }
  return text;
}

bool IsCaption(const std::wstring& caption, const wchar_t* plain) {
  return WithoutAccelerator(caption) == plain;
}

const standin::BarInfo* FindBar(const std::vector<standin::BarInfo>& bars, const wchar_t* name) {
  for (const auto& bar : bars)
    if (bar.name == name) return &bar;
  return nullptr;
}

// The face scaled to the toolbar's image size, for the image list to copy.
unique_hbitmap ScaledFace(HBITMAP face, SIZE size) {
  HDC screen = ::GetDC(nullptr);
  unique_hdc from(::CreateCompatibleDC(screen)), to(::CreateCompatibleDC(screen));
  unique_hbitmap scaled(::CreateCompatibleBitmap(screen, kFaceSize, kFaceSize));
  ::ReleaseDC(nullptr, screen);
  if (!from || !to || !scaled) return {};
  HGDIOBJ oldFrom = ::SelectObject(from.get(), face);
  HGDIOBJ oldTo = ::SelectObject(to.get(), scaled.get());
  ::SetStretchBltMode(to.get(), COLORONCOLOR);
  ::StretchBlt(to.get(), 0, 0, kFaceSize, kFaceSize, from.get(), 0, 0,
               size.cx > 0 ? size.cx : kFaceSize, size.cy > 0 ? size.cy : kFaceSize, SRCCOPY);
  ::SelectObject(from.get(), oldFrom);
  ::SelectObject(to.get(), oldTo);
  return scaled;
}

// The dock area: each tool window's frame fills it.
LRESULT CALLBACK DockProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_SIZE) {  // for WM_SIZE: the frames follow the area
    for (HWND child = ::GetWindow(window, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT))
      ::MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterClasses(HINSTANCE instance, WNDPROC frameProc) {
  static const bool registered = [&] {
    WNDCLASSEXW frame{};
    frame.cbSize = sizeof frame;
    frame.lpfnWndProc = frameProc;
    frame.hInstance = instance;
    frame.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    frame.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frame.lpszClassName = kFrameClass;
    WNDCLASSEXW dock{};
    dock.cbSize = sizeof dock;
    dock.lpfnWndProc = &DockProc;
    dock.hInstance = instance;
    dock.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    dock.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    dock.lpszClassName = kDockClass;
    return ::RegisterClassExW(&frame) && ::RegisterClassExW(&dock);
  }();
  return registered;
}

}  // namespace

MainFrame::~MainFrame() { Close(); }

bool MainFrame::Create(HINSTANCE instance) {
  instance_ = instance;
  if (!RegisterClasses(instance, &BoundWindowProc<MainFrame>)) return false;
  ::CreateWindowExW(0, kFrameClass, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 1100,
                    700, nullptr, nullptr, instance, this);
  if (!hwnd_ || !dock_) return false;
  Start();
  return true;
}

void MainFrame::Start() {
  ide_ = standin::MakeStandInIde(dock_);
  standin::AddStandardBars(*ide_);
  ide_->SetObserver(this);
  Layout();
  ShowBars();
  ShowProjects();
  ::ShowWindow(hwnd_, SW_SHOW);
  ::UpdateWindow(hwnd_);

  addIns_.ConnectAtStartup(*ide_);
  for (const std::wstring& fileName : options_.open) OpenProject(fileName);
  ShowBars();
  ShowProjects();
  TypeKeys();
  if (!options_.screenshot.empty())
    ::SetTimer(hwnd_, kScreenshotTimer, kScreenshotDelay, nullptr);
}

// The user clicks into the first tool window that shows and types: each key goes into the queue,
// where the message loop takes it as it takes the keyboard's.
void MainFrame::TypeKeys() {
  if (options_.keys.empty()) return;
  HWND window = nullptr;
  for (const auto& w : ide_->ToolWindows())
    if (w.visible && !window) window = w.window;
  if (!window) return;
  ::SetFocus(::GetWindow(window, GW_CHILD));
  BYTE state[256] = {};
  for (std::size_t i = 0; i < options_.keys.size(); ++i) {
    const bool ctrl = options_.keys[i] == L'^' && i + 1 < options_.keys.size();
    if (!ctrl) {
      ::PostMessageW(::GetFocus(), WM_CHAR, options_.keys[i], 1);
    } else {
      state[VK_CONTROL] = 0x80;
      ::SetKeyboardState(state);
      ::PostMessageW(::GetFocus(), WM_KEYDOWN, ::towupper(options_.keys[++i]), 1);
    }
    // Each key is taken before the next, so a key that moves the focus moves it for the rest.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (PreTranslate(message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    state[VK_CONTROL] = 0;
    ::SetKeyboardState(state);
  }
}

LRESULT MainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_TIMER:
      if (wParam == kScreenshotTimer) TakeScreenshot();
      return 0;
    case kBarsChanged:
      ShowBars();
      return 0;
    case kProjectsChanged:
      ShowProjects();
      return 0;
    case kAddInChanged:  // an add-in that set its own Connect to False is disconnected
      if (ide_)
        for (const std::wstring& progId : addIns_.Connected())
          if (!ide_->Connected(progId)) addIns_.Disconnect(progId);
      ShowBars();
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      menu_.release();  // the window destroys the menu it holds
      ::PostQuitMessage(exitCode_);
      return 0;
  }
  return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainFrame::OnCreate() {
  const auto font = reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT));
  toolbar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_TOP,
                               0, 0, 0, 0, hwnd_, nullptr, instance_, nullptr);
  ::SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ::SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELONG(kFaceSize, kFaceSize));
  status_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                              0, 0, 0, hwnd_, nullptr, instance_, nullptr);
  const HWND header = ::CreateWindowExW(0, L"STATIC", L" Project Explorer",
                                        WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0, 0, 0,
                                        0, hwnd_, nullptr, instance_, nullptr);
  ::SendMessageW(header, WM_SETFONT, font, FALSE);
  ::SetPropW(hwnd_, L"header", header);
  projects_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0,
                                0, 0, hwnd_, nullptr, instance_, nullptr);
  ::SendMessageW(projects_, WM_SETFONT, font, FALSE);
  dock_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, kDockClass, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, hwnd_, nullptr,
                            instance_, nullptr);
}

void MainFrame::Layout() {
  if (!toolbar_ || !status_ || !dock_) return;
  ::SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
  ::SendMessageW(status_, WM_SIZE, 0, 0);
  RECT client{}, bar{}, line{};
  ::GetClientRect(hwnd_, &client);
  ::GetWindowRect(toolbar_, &bar);
  ::GetWindowRect(status_, &line);
  const int top = bar.bottom - bar.top;
  const int bottom = client.bottom - (line.bottom - line.top);
  const int dockLeft = std::max(0, static_cast<int>(client.right) - kDockWidth);
  const int leftWidth = std::max(0, dockLeft - kSplitter);
  const int statusParts[] = {dockLeft, -1};
  ::SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(statusParts));
  if (auto header = static_cast<HWND>(::GetPropW(hwnd_, L"header")))
    ::MoveWindow(header, 0, top, leftWidth, kHeaderHeight, TRUE);
  ::MoveWindow(projects_, 0, top + kHeaderHeight, leftWidth,
               std::max(0, bottom - top - kHeaderHeight), TRUE);
  ::MoveWindow(dock_, dockLeft, top, client.right - dockLeft, std::max(0, bottom - top), TRUE);
}

// The menu bar and the toolbar, made again from the object model's bars.
void MainFrame::ShowBars() {
  if (!ide_ || !hwnd_) return;
  const auto bars = ide_->Bars();

  HMENU file = ::CreatePopupMenu();
  ::AppendMenuW(file, MF_STRING, kOpenProject, L"&Open Project...");
  ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(file, MF_STRING, kExit, L"E&xit");
  HMENU addInsMenu = ::CreatePopupMenu();
  addInMenu_.clear();
  if (const auto* addIns = FindBar(bars, L"Add-Ins")) {
    int index = 0;
    for (const auto& control : addIns->controls) {
      if (++index > kMaxControls) break;
      ::AppendMenuW(addInsMenu, MF_STRING | (control.enabled ? 0 : MF_GRAYED),
                    kAddInsMenuFirst + index, control.caption.c_str());
      addInMenu_.push_back(control.caption);
      // The IDE sets the add-ins' own entries apart from its built-in ones.
      if (IsCaption(control.caption, L"Add-In Manager...") &&
          index < static_cast<int>(addIns->controls.size()))
        ::AppendMenuW(addInsMenu, MF_SEPARATOR, 0, nullptr);
    }
  }
  HMENU menu = ::CreateMenu();
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(addInsMenu), L"&Add-Ins");
  ::SetMenu(hwnd_, menu);
  menu_.reset(menu);
  ::DrawMenuBar(hwnd_);

  while (::SendMessageW(toolbar_, TB_BUTTONCOUNT, 0, 0) > 0)
    ::SendMessageW(toolbar_, TB_DELETEBUTTON, 0, 0);
  unique_himagelist faces(::ImageList_Create(kFaceSize, kFaceSize, ILC_COLOR24, 4, 4));
  if (const auto* standard = FindBar(bars, L"Standard")) {
    std::vector<std::wstring> texts;
    texts.reserve(standard->controls.size());
    std::vector<TBBUTTON> buttons;
    int index = 0;
    for (const auto& control : standard->controls) {
      if (++index > kMaxControls) break;
      texts.push_back(WithoutAccelerator(control.caption));
      TBBUTTON button{};
      button.iBitmap = I_IMAGENONE;
      if (control.face && faces) {
        unique_hbitmap face = ScaledFace(control.face, control.faceSize);
        if (face) button.iBitmap = ::ImageList_Add(faces.get(), face.get(), nullptr);
      }
      button.idCommand = kToolbarFirst + index;
      button.fsState = control.enabled ? TBSTATE_ENABLED : 0;
      button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
      button.iString = reinterpret_cast<INT_PTR>(texts.back().c_str());
      buttons.push_back(button);
    }
    ::SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(faces.get()));
    faces_ = std::move(faces);
    ::SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(),
                   reinterpret_cast<LPARAM>(buttons.data()));
  }
  Layout();

  std::wstring connected = L"Add-ins:";
  const auto progIds = addIns_.Connected();
  for (const auto& progId : progIds) connected += L" " + progId;
  if (progIds.empty()) connected += L" none";
  for (const auto& problem : addIns_.Problems()) connected += L"; failed: " + problem;
  ::SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(connected.c_str()));
}

// The open projects in the explorer, the active one in the status line and the title.
void MainFrame::ShowProjects() {
  if (!ide_ || !hwnd_) return;
  const auto projects = ide_->Projects();
  const int active = ide_->ActiveProject();
  ::SendMessageW(projects_, LB_RESETCONTENT, 0, 0);
  for (const auto& project : projects) {
    const std::wstring line = project.name + L" (" + project.fileName + L")";
    ::SendMessageW(projects_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  ::SendMessageW(projects_, LB_SETCURSEL, active, 0);
  std::wstring status = L"No project open";
  std::wstring title = kTitle;
  if (active >= 0) {
    const auto& project = projects[static_cast<std::size_t>(active)];
    status = L"Project: " + project.name + L" - " + project.fileName;
    title = project.name + L" - " + title;
  }
  ::SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(status.c_str()));
  ::SetWindowTextW(hwnd_, title.c_str());
}

void MainFrame::CommandBarsChanged() {
  if (hwnd_) ::PostMessageW(hwnd_, kBarsChanged, 0, 0);
}

// A project the add-in opened (VBProjects.AddFromFile) or the user opened goes first in the
// recent list, as the IDE's own Open does.
void MainFrame::ProjectsChanged() {
  const auto& calls = ide_->ProjectCalls();
  for (; seenProjectCalls_ < calls.size(); ++seenProjectCalls_)
    if (calls[seenProjectCalls_].kind == standin::ProjectCall::kOpened)
      RememberRecentFile(calls[seenProjectCalls_].fileName);
  if (!userOpened_.empty()) RememberRecentFile(std::exchange(userOpened_, std::wstring()));
  if (hwnd_) ::PostMessageW(hwnd_, kProjectsChanged, 0, 0);
}

void MainFrame::AddInChanged(std::wstring_view) {
  if (hwnd_) ::PostMessageW(hwnd_, kAddInChanged, 0, 0);
}

void MainFrame::OnCommand(int id) {
  if (!ide_) return;
  if (id == kOpenProject) return OpenProjectDialog();
  if (id == kExit) return Close();
  if (id > kAddInsMenuFirst && id <= kAddInsMenuFirst + kMaxControls) {
    const int index = id - kAddInsMenuFirst;
    const std::wstring caption =
        index <= static_cast<int>(addInMenu_.size()) ? addInMenu_[index - 1] : L"";
    const auto click = ide_->Click(L"Add-Ins", index);
    if (!click.cancelDefault && IsCaption(caption, L"Add-In Manager...")) ShowAddInManager();
    return;
  }
  if (id > kToolbarFirst && id <= kToolbarFirst + kMaxControls) {
    const int index = id - kToolbarFirst;
    std::wstring caption;
    if (const auto* standard = FindBar(ide_->Bars(), L"Standard");
        standard && index <= static_cast<int>(standard->controls.size()))
      caption = standard->controls[index - 1].caption;
    const auto click = ide_->Click(L"Standard", index);
    if (!click.cancelDefault && IsCaption(caption, L"Open Project")) OpenProjectDialog();
  }
}

void MainFrame::OpenProjectDialog() {
  wchar_t fileName[MAX_PATH * 4] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = hwnd_;
  dialog.lpstrFilter = L"Visual Basic Projects (*.vbp)\0*.vbp\0All Files (*.*)\0*.*\0";
  dialog.lpstrFile = fileName;
  dialog.nMaxFile = MAX_PATH * 4;
  dialog.lpstrTitle = L"Open Project";
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!::GetOpenFileNameW(&dialog)) return;
  if (!OpenProject(fileName)) {
    const std::wstring text = std::wstring(L"File not found: ") + fileName;
    ::MessageBoxW(hwnd_, text.c_str(), L"Open Project", MB_OK | MB_ICONEXCLAMATION);
  }
}

bool MainFrame::OpenProject(const std::wstring& fileName) {
  userOpened_ = fileName;
  try {
    ide_->OpenProject(fileName, true);
    return true;
  } catch (const VbError&) {
    userOpened_.clear();
    return false;
  }
}

// Connects the add-ins the user checked and disconnects those unchecked, in the dialog's order.
void MainFrame::ShowAddInManager() {
  std::vector<AddInChoice> choices;
  for (auto& addIn : RegisteredAddIns())
    choices.push_back({addIn.progId, addIn.friendlyName, ide_->Connected(addIn.progId)});
  const std::vector<AddInChoice> before = choices;
  if (!RunAddInManager(hwnd_, choices)) return;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    if (choices[i].loaded == before[i].loaded) continue;
    if (choices[i].loaded)
      addIns_.Load(*ide_, choices[i].progId);
    else
      addIns_.Unload(*ide_, choices[i].progId);
  }
  ShowBars();
}

void MainFrame::TakeScreenshot() {
  ::KillTimer(hwnd_, kScreenshotTimer);
  ::RedrawWindow(hwnd_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  ::GdiFlush();
  if (!SaveWindowPicture(hwnd_, options_.screenshot)) exitCode_ = 1;
  Close();
}

// Disconnects the add-ins while the IDE is whole, then takes the object model down (its tool
// windows with it) and the window last.
void MainFrame::Close() {
  if (closing_) return;
  closing_ = true;
  addIns_.DisconnectAll();
  ide_.reset();
  if (hwnd_) ::DestroyWindow(hwnd_);
}

}  // namespace standin_app
