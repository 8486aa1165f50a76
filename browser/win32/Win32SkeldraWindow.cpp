#include "browser/win32/Win32SkeldraWindow.h"

#include <commctrl.h>

#include <array>
#include <utility>
#include <vector>

#include "ui/win32/Win32Controls.h"
#include "ui/win32/Win32Images.h"
#include "ui/win32/Win32ListView.h"
#include "platform/win32/WindowProc.h"
#include "platform/win32/unique_res.h"

namespace {

constexpr wchar_t kWindowClass[] = L"MarrowbySkeldraDocument";
constexpr int kDefaultPointer = 0;
constexpr int kHourglass = 11;
constexpr int kPopupRightButton = 2, kPopupCenterAlign = 4, kPopupRightAlign = 8;
// Enough for every window of the thread to repaint, few enough that a window that never
// validates cannot hold DoEvents.
constexpr int kMaxPaintsPerDoEvents = 64;

// The cursor of the host language's MousePointer values this document uses.
HCURSOR CursorOf(int pointer) {
  return ::LoadCursorW(nullptr, pointer == kHourglass ? IDC_WAIT : IDC_ARROW);
}

class Win32Container final : public DocumentContainer {
 public:
  Win32Container(const HWND& window, const Twips& twips) : window_(window), twips_(twips) {}

  /// The controls that can take the focus, each with its window.
  std::vector<std::pair<HWND, Control*>> focusable;

  float ScaleWidth() const override { return twips_.FromPixelsX(Client().right); }
  float ScaleHeight() const override { return twips_.FromPixelsY(Client().bottom); }
  float MinWidth() const override { return minWidth_; }
  void MinWidth(float width) override { minWidth_ = width; }
  float MinHeight() const override { return minHeight_; }
  void MinHeight(float height) override { minHeight_ = height; }

  void PopupMenu(const Menu& menu, int flags) override {
    POINT at{};
    ::GetCursorPos(&at);
    Show(menu, flags, at);
  }
  void PopupMenu(const Menu& menu, int flags, float x, float y) override {
    POINT at{twips_.ToPixelsX(x), twips_.ToPixelsY(y)};
    ::ClientToScreen(window_, &at);
    Show(menu, flags, at);
  }

  Control* ActiveControl() const override {
    const HWND focus = ::GetFocus();
    if (!focus) return nullptr;
    for (const auto& [hwnd, control] : focusable)
      if (focus == hwnd || ::IsChild(hwnd, focus)) return control;
    return nullptr;
  }

 private:
  void Show(const Menu& menu, int flags, POINT at) {
    unique_hmenu popup(::CreatePopupMenu());
    if (!popup) ThrowOutOfMemory(L"PopupMenu");
    for (std::size_t i = 0; i < menu.Items.size(); ++i) {
      const std::wstring& caption = menu.Items[i].Caption;
      if (caption == L"-")
        ::AppendMenuW(popup.get(), MF_SEPARATOR, 0, nullptr);
      else
        ::AppendMenuW(popup.get(), MF_STRING, i + 1, caption.c_str());
    }
    UINT track = TPM_RETURNCMD | TPM_NONOTIFY |
                 ((flags & kPopupRightButton) ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON);
    if (flags & kPopupCenterAlign)
      track |= TPM_CENTERALIGN;
    else if (flags & kPopupRightAlign)
      track |= TPM_RIGHTALIGN;
    const auto chosen = static_cast<std::size_t>(
        ::TrackPopupMenuEx(popup.get(), track, at.x, at.y, window_, nullptr));
    popup.reset();
    if (chosen < 1 || chosen > menu.Items.size()) return;  // closed without a choice
    // The command may replace the menu it came from: run a copy.
    const std::function<void()> click = menu.Items[chosen - 1].Click;
    if (click) click();
  }

  RECT Client() const {
    RECT r{};
    ::GetClientRect(window_, &r);
    return r;
  }

  const HWND& window_;   // not owned: the document window, null once destroyed
  const Twips& twips_;  // not owned
  float minWidth_ = 0, minHeight_ = 0;
};

class Win32Application final : public Application {
 public:
  explicit Win32Application(HINSTANCE module) : module_(module) {}

  int MousePointer() const override { return pointer_; }
  /// The pointer shows at once, and stays over the document while it is not the default: the
  /// document window answers WM_SETCURSOR with it.
  void MousePointer(int pointer) override {
    pointer_ = pointer;
    ::SetCursor(CursorOf(pointer));
  }

  // Paint messages only. The document calls DoEvents so that the window shows its new state
  // before a long load; dispatching input as well would let a click re-enter the document in the
  // middle of its own handler, so keyboard and mouse messages wait in the queue until the
  // handler has returned.
  void DoEvents() override {
    MSG message;
    for (int i = 0; i < kMaxPaintsPerDoEvents &&
                    ::PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
         ++i)
      ::DispatchMessageW(&message);
  }

  std::wstring Path() const override {
    std::wstring file(MAX_PATH, L'\0');
    for (;;) {
      const DWORD length = ::GetModuleFileNameW(module_, file.data(), static_cast<DWORD>(file.size()));
      if (length == 0) return L"";
      if (length < file.size()) {
        file.resize(length);
        break;
      }
      if (file.size() >= 32768) return L"";  // longer than any path
      file.resize(file.size() * 2);
    }
    const auto slash = file.find_last_of(L'\\');
    if (slash == std::wstring::npos) return L"";
    // A drive's root keeps its backslash ("C:\"); any other folder goes without.
    return file.substr(0, slash == 2 && file[1] == L':' ? slash + 1 : slash);
  }

 private:
  HINSTANCE module_;
  int pointer_ = kDefaultPointer;
};

class SkeldraWindow final : public Win32SkeldraWindow {
 public:
  SkeldraWindow(HINSTANCE module, ModalForm& about)
      : module_(module), about_(about), container_(hwnd_, twips_), app_(module) {}
  ~SkeldraWindow() override;

  /// Creates the window and its controls; false when the window cannot be made.
  bool Make(HWND parent);

  HWND Handle() const override { return hwnd_; }
  SkeldraControls Controls() override;
  bool TranslateAccelerator(MSG* message) override;
  void FocusFirst() override {
    if (HWND first = tabOrder_.First()) Focus(first);
  }

  // For BoundWindowProc.
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  void Detach() { hwnd_ = nullptr; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  NotifyTarget* TargetOf(HWND sender) const;
  void Focus(HWND control);
  int NextId() { return nextId_++; }

  static int windowCount_;  // windows of the class alive, to unregister it after the last

  HINSTANCE module_;
  ModalForm& about_;  // not owned
  HWND hwnd_ = nullptr;
  bool counted_ = false;  // in windowCount_
  bool closing_ = false;
  Twips twips_;
  DrawnImages fileIcons_ = DrawnImages::FileIcons();
  DrawnImages toolbarIcons_ = DrawnImages::ToolbarIcons();
  TabOrder tabOrder_;
  std::vector<std::pair<HWND, NotifyTarget*>> targets_;  // the controls that handle notifications
  Win32Container container_;
  Win32Application app_;
  int nextId_ = SkeldraWindowIds::kFirstInFrame;
  // Child windows: destroyed with the document window, before these objects go.
  std::unique_ptr<Win32Toolbar> toolbar_;
  std::unique_ptr<Win32ListView> customize_, recent_, favor_;
  std::unique_ptr<Win32Frame> frame_;
  std::array<std::unique_ptr<Win32Label>, 11> labels_;
  std::array<std::unique_ptr<Win32TextBox>, 11> boxes_;
  std::unique_ptr<Win32TabStrip> tabStrip_;
  std::unique_ptr<Win32CommonDialog> dialog_;
  std::unique_ptr<Win32EditBox> filter_;
};

int SkeldraWindow::windowCount_ = 0;

bool SkeldraWindow::Make(HWND parent) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExW(module_, kWindowClass, &wc)) {
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = BoundWindowProc<SkeldraWindow>;
    wc.hInstance = module_;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    if (!::RegisterClassExW(&wc)) return false;
  }
  ++windowCount_;
  counted_ = true;
  if (!::CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, L"",
                         WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                         module_, this))
    return false;

  if (HDC dc = ::GetDC(hwnd_)) {
    twips_ = Twips(::GetDeviceCaps(dc, LOGPIXELSX), ::GetDeviceCaps(dc, LOGPIXELSY));
    ::ReleaseDC(hwnd_, dc);
  }

  namespace ids = SkeldraWindowIds;
  toolbar_ = std::make_unique<Win32Toolbar>(hwnd_, ids::kToolbar, twips_, toolbarIcons_);
  customize_ = std::make_unique<Win32ListView>(hwnd_, ids::kCustomize, twips_, nullptr, true);
  recent_ = std::make_unique<Win32ListView>(hwnd_, ids::kRecent, twips_, &fileIcons_, false, L"not");
  favor_ = std::make_unique<Win32ListView>(hwnd_, ids::kFavorites, twips_, &fileIcons_, false,
                                           L"not");
  frame_ = std::make_unique<Win32Frame>(hwnd_, ids::kFrame, twips_);
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    labels_[i] = std::make_unique<Win32Label>(frame_->Handle(), NextId(), twips_);
    boxes_[i] = std::make_unique<Win32TextBox>(frame_->Handle(), NextId(), twips_);
  }
  tabStrip_ = std::make_unique<Win32TabStrip>(hwnd_, ids::kTabStrip, twips_, tabOrder_);
  dialog_ = std::make_unique<Win32CommonDialog>(hwnd_);
  filter_ = std::make_unique<Win32EditBox>(hwnd_, ids::kFilter, twips_);

  // The pages lie over the tab strip's display area: it stays behind every one of them. The
  // labels lie behind the text boxes, as the host language's windowless labels do.
  tabStrip_->ZOrder(1);
  for (auto& label : labels_) label->ZOrder(1);

  targets_ = {{toolbar_->Handle(), toolbar_.get()},     {tabStrip_->Handle(), tabStrip_.get()},
              {recent_->Handle(), recent_.get()},       {favor_->Handle(), favor_.get()},
              {customize_->Handle(), customize_.get()}, {filter_->Handle(), filter_.get()}};
  container_.focusable = {{recent_->Handle(), recent_.get()},     {favor_->Handle(), favor_.get()},
                          {filter_->Handle(), filter_.get()},     {toolbar_->Handle(), toolbar_.get()},
                          {tabStrip_->Handle(), tabStrip_.get()}, {customize_->Handle(), customize_.get()},
                          {frame_->Handle(), frame_.get()}};

  for (HWND control : {toolbar_->Handle(), tabStrip_->Handle(), recent_->Handle(),
                       favor_->Handle(), customize_->Handle(), frame_->Handle()})
    tabOrder_.Add(control);
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    tabOrder_.Add(labels_[i]->Handle());
    tabOrder_.Add(boxes_[i]->Handle());
  }
  // The filter box, over the toolbar, comes after the pages: Tab from a list reaches it before
  // going round to the first control.
  tabOrder_.Add(filter_->Handle());
  return true;
}

SkeldraWindow::~SkeldraWindow() {
  closing_ = true;
  if (hwnd_) ::DestroyWindow(hwnd_);
  if (counted_ && --windowCount_ == 0) ::UnregisterClassW(kWindowClass, module_);
}

SkeldraControls SkeldraWindow::Controls() {
  std::array<Label*, 11> labels{};
  for (std::size_t i = 0; i < labels.size(); ++i) labels[i] = labels_[i].get();
  return SkeldraControls{
      container_,  app_,        *toolbar_,   *tabStrip_,  *recent_,    *favor_,
      *customize_, *frame_,     labels,      *boxes_[0],  *boxes_[1],  *boxes_[2],
      *boxes_[3],  *boxes_[4],  *boxes_[5],  *boxes_[6],  *boxes_[7],  *boxes_[8],
      *boxes_[9],  *boxes_[10], *dialog_,    about_,      *filter_,
  };
}

LRESULT SkeldraWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (onResize) onResize();
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == NM_SETFOCUS && onFocus && !closing_) onFocus();
      if (NotifyTarget* target = TargetOf(header->hwndFrom)) return target->OnNotify(*header);
      break;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_SETFOCUS && onFocus && !closing_) onFocus();
      if (NotifyTarget* target = TargetOf(reinterpret_cast<HWND>(lParam))) {
        target->OnCommand(HIWORD(wParam), LOWORD(wParam));
        return 0;
      }
      break;
    case WM_SETFOCUS:
      // The container gave the document the focus: its first control takes it.
      if (!closing_) {
        FocusFirst();
        if (onFocus) onFocus();
      }
      return 0;
    case WM_SETCURSOR:
      if (app_.MousePointer() != kDefaultPointer) {
        ::SetCursor(CursorOf(app_.MousePointer()));
        return TRUE;
      }
      break;
    case WM_CONTEXTMENU:
      // The lists show the document's own menus from MouseDown; the host's window must not
      // show one of its own as well.
      return 0;
    case WM_DESTROY:
      closing_ = true;  // the controls' last notifications reach no event
      break;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

NotifyTarget* SkeldraWindow::TargetOf(HWND sender) const {
  if (closing_ || !sender) return nullptr;
  for (const auto& [hwnd, target] : targets_)
    if (hwnd == sender) return target;
  return nullptr;
}

void SkeldraWindow::Focus(HWND control) {
  ::SetFocus(control);
  // As a dialog does: a text box entered from the keyboard has its text selected.
  if (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
    ::SendMessageW(control, EM_SETSEL, 0, -1);
}

// Tab and Shift+Tab follow the document's tab order (TabOrder); the arrows go to
// IsDialogMessageW, which walks the window's groups. A key the control with the focus asks for
// (WM_GETDLGCODE) stays with it, as does every other key: the host translates and dispatches
// those itself, its own shortcuts included.
bool SkeldraWindow::TranslateAccelerator(MSG* message) {
  if (!message || !hwnd_) return false;
  if (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN) return false;
  if (message->hwnd != hwnd_ && !::IsChild(hwnd_, message->hwnd)) return false;
  const auto key = message->wParam;
  const int shift = (::GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (::GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                    (::GetKeyState(VK_MENU) < 0 ? 4 : 0);
  if (onKeyDown && onKeyDown(static_cast<int>(key), shift)) return true;
  // What is typed into the filter box is the box's: the host's shortcuts (Delete, Ctrl+V) must
  // not act on it as well. Tab and Shift+Tab still leave it.
  if (message->hwnd == filter_->Handle() && key != VK_TAB && !(shift & 4)) {
    ::TranslateMessage(message);
    ::DispatchMessageW(message);
    return true;
  }
  if (message->message != WM_KEYDOWN) return false;
  const bool tab = key == VK_TAB;
  const bool arrow = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
  if (!tab && !arrow) return false;
  if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;

  const LRESULT wants = ::SendMessageW(message->hwnd, WM_GETDLGCODE, key,
                                       reinterpret_cast<LPARAM>(message));
  if (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  if (tab) {
    if (wants & DLGC_WANTTAB) return false;
    if (HWND next = tabOrder_.Next(::GetFocus(), ::GetKeyState(VK_SHIFT) < 0)) Focus(next);
    return true;
  }
  if (wants & DLGC_WANTARROWS) return false;
  return ::IsDialogMessageW(hwnd_, message) != FALSE;
}

}  // namespace

std::unique_ptr<Win32SkeldraWindow> Win32SkeldraWindow::Create(HWND parent, HINSTANCE module,
                                                               ModalForm& about) {
  try {
    auto window = std::make_unique<SkeldraWindow>(module, about);
    if (!window->Make(parent)) return nullptr;
    return window;
  } catch (...) {
    return nullptr;
  }
}
