#include "ui/win32/Win32Controls.h"

#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>

#include "ui/win32/Win32Images.h"
#include "platform/Boundary.h"
#include "platform/Error.h"

// ---------------------------------------------------------------------------------------------
// TabOrder

int TabOrder::IndexOf(HWND control) const {
  const auto it = std::find(controls_.begin(), controls_.end(), control);
  return it == controls_.end() ? -1 : static_cast<int>(it - controls_.begin());
}

void TabOrder::MoveTo(HWND control, int index) {
  const auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  controls_.erase(it);
  const int place = std::clamp(index, 0, static_cast<int>(controls_.size()));
  controls_.insert(controls_.begin() + place, control);
}

HWND TabOrder::Next(HWND from, bool backward) const {
  const int count = static_cast<int>(controls_.size());
  // The focus may sit in a window inside a control: start from that control.
  int start = -1;
  for (HWND w = from; w && start < 0; w = ::GetParent(w)) start = IndexOf(w);
  if (start < 0) start = backward ? count : -1;
  for (int step = 1; step <= count; ++step) {
    const int i = ((backward ? start - step : start + step) % count + count) % count;
    HWND control = controls_[static_cast<std::size_t>(i)];
    if ((::GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP) && ::IsWindowVisible(control) &&
        ::IsWindowEnabled(control))
      return control;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Win32TabStrip

Win32TabStrip::Win32TabStrip(HWND parent, int id, const Twips& twips, TabOrder& tabOrder)
    : Win32Control(CreateChild(0, WC_TABCONTROLW, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
                               parent, id),
                   twips),
      tabOrder_(tabOrder) {
  ::SetWindowSubclass(hwnd_, ClickProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

Win32TabStrip::~Win32TabStrip() {
  if (::IsWindow(hwnd_)) ::RemoveWindowSubclass(hwnd_, ClickProc, 1);
}

LRESULT CALLBACK Win32TabStrip::ClickProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) noexcept {
  if (message != WM_LBUTTONDOWN) return ::DefSubclassProc(hwnd, message, wParam, lParam);
  TCHITTESTINFO hit{};
  hit.pt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const int tab = TabCtrl_HitTest(hwnd, &hit);
  const bool again = tab >= 0 && tab == TabCtrl_GetCurSel(hwnd);
  const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
  // The event's handler reports its own failures; nothing may leave a window procedure.
  Silently([&] {
    auto& strip = *reinterpret_cast<Win32TabStrip*>(self);
    if (again && ::IsWindow(hwnd) && strip.events.Click) strip.events.Click();
  });
  return result;
}

void Win32TabStrip::AddTab(std::wstring caption) {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = caption.data();
  if (TabCtrl_InsertItem(hwnd_, TabCount(), &item) < 0) ThrowOutOfMemory(L"Tabs.Add");
  captions_.push_back(std::move(caption));
  if (TabCtrl_GetCurSel(hwnd_) < 0) TabCtrl_SetCurSel(hwnd_, 0);
}

const std::wstring& Win32TabStrip::TabCaption(int index) const {
  if (index < 1 || index > static_cast<int>(captions_.size())) ThrowOutOfBounds(L"Tabs");
  return captions_[static_cast<std::size_t>(index - 1)];
}

void Win32TabStrip::SelectTab(int index) {
  if (index < 1 || index > TabCount()) ThrowOutOfBounds(L"Tabs");
  TabCtrl_SetCurSel(hwnd_, index - 1);
  if (events.Click) events.Click();
}

RECT Win32TabStrip::Margins() const {
  // A single row of tabs leaves the same margins at any size; a strip laid out smaller than its
  // tabs is measured at a size that holds them.
  const RECT placed = RectInParent(hwnd_);
  const RECT whole{0, 0, std::max<LONG>(placed.right - placed.left, 200),
                   std::max<LONG>(placed.bottom - placed.top, 200)};
  RECT display = whole;
  TabCtrl_AdjustRect(hwnd_, FALSE, &display);
  return RECT{display.left, display.top, whole.right - display.right,
              whole.bottom - display.bottom};
}

float Win32TabStrip::ClientLeft() const { return Left() + twips().FromPixelsX(Margins().left); }
float Win32TabStrip::ClientTop() const { return Top() + twips().FromPixelsY(Margins().top); }
float Win32TabStrip::ClientWidth() const {
  const RECT m = Margins();
  return std::max(0.f, Width() - twips().FromPixelsX(m.left + m.right));
}
float Win32TabStrip::ClientHeight() const {
  const RECT m = Margins();
  return std::max(0.f, Height() - twips().FromPixelsY(m.top + m.bottom));
}

void Win32TabStrip::TabIndex(int index) {
  if (index < 0) ThrowInvalidValue(L"TabIndex");
  tabOrder_.MoveTo(hwnd_, index);
}

LRESULT Win32TabStrip::OnNotify(NMHDR& header) {
  if (header.code == TCN_SELCHANGE && events.Click) events.Click();
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Win32Toolbar

Win32Toolbar::Win32Toolbar(HWND parent, int id, const Twips& twips, const DrawnImages& images)
    : Win32Control(CreateChild(0, TOOLBARCLASSNAMEW,
                               WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                   CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                               parent, id),
                   twips),
      images_(images) {
  ::SendMessageW(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ::SendMessageW(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Handle()));
  // The bar's own height: its buttons' and a margin of two pixels above and below.
  const int height = HIWORD(::SendMessageW(hwnd_, TB_GETBUTTONSIZE, 0, 0)) + 4;
  ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Toolbar::AddButton(std::wstring key, std::wstring toolTip, std::wstring imageKey,
                             bool twoState) {
  if (!key.empty()) {
    for (auto& button : buttons_)
      if (button.key == key) ThrowKeyNotUnique(L"Buttons.Add");
  }
  const int command = 100 + static_cast<int>(buttons_.size());
  TBBUTTON button{};
  const int image = images_.IndexOf(imageKey);
  button.iBitmap = image >= 0 ? image : I_IMAGENONE;
  button.idCommand = command;
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = twoState ? BTNS_CHECK : BTNS_BUTTON;
  button.iString = -1;
  if (!::SendMessageW(hwnd_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button)))
    ThrowOutOfMemory(L"Buttons.Add");
  buttons_.push_back(Button{std::move(key), std::move(toolTip), command});
}

const Win32Toolbar::Button& Win32Toolbar::Find(std::wstring_view key) const {
  for (auto& button : buttons_)
    if (button.key == key) return button;
  ThrowNotFound(L"Buttons");
}

int Win32Toolbar::ButtonValue(std::wstring_view key) const {
  return ::SendMessageW(hwnd_, TB_ISBUTTONCHECKED, Find(key).command, 0) ? 1 : 0;
}

void Win32Toolbar::ButtonValue(std::wstring_view key, int value) {
  const int command = Find(key).command;
  if (value != 0 && value != 1) ThrowInvalidValue(L"Value");
  ::SendMessageW(hwnd_, TB_CHECKBUTTON, command, MAKELPARAM(value == 1, 0));
}

LRESULT Win32Toolbar::OnNotify(NMHDR& header) {
  if (header.code != TBN_GETINFOTIPW) return 0;
  auto& tip = reinterpret_cast<NMTBGETINFOTIPW&>(header);
  for (auto& button : buttons_) {
    if (button.command != tip.iItem || !tip.pszText || tip.cchTextMax <= 0) continue;
    ::lstrcpynW(tip.pszText, button.toolTip.c_str(), tip.cchTextMax);
  }
  return 0;
}

void Win32Toolbar::OnCommand(WORD, WORD id) {
  for (auto& button : buttons_) {
    if (button.command != id) continue;
    // A two-state button has toggled itself before the command arrives: its Value is the new one.
    if (events.ButtonClick) events.ButtonClick(ToolbarButton{button.key, ButtonValue(button.key)});
    return;
  }
}

// ---------------------------------------------------------------------------------------------
// Text box, frame and label

Win32TextBox::Win32TextBox(HWND parent, int id, const Twips& twips)
    : Win32Control(CreateChild(WS_EX_CLIENTEDGE, L"EDIT",
                               WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_READONLY | ES_AUTOHSCROLL,
                               parent, id),
                   twips) {}

Win32EditBox::Win32EditBox(HWND parent, int id, const Twips& twips)
    : Win32Control(CreateChild(WS_EX_CLIENTEDGE, L"EDIT",
                               WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, parent, id),
                   twips) {}

const std::wstring& Win32EditBox::CueBanner() const {
  wchar_t cue[256] = {};
  ::SendMessageW(hwnd_, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 256);
  return cue_ = cue;
}

void Win32EditBox::CueBanner(std::wstring text) {
  // Shown while the box is empty, even when it has the focus.
  ::SendMessageW(hwnd_, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32EditBox::OnCommand(WORD code, WORD) {
  if (code == EN_CHANGE && events.Change) events.Change();
}

namespace {
constexpr UINT_PTR kBackgroundSubclass = 1;
}  // namespace

Win32Frame::Win32Frame(HWND parent, int id, const Twips& twips)
    : Win32Control(CreateChild(WS_EX_CONTROLPARENT, L"BUTTON",
                               WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | BS_GROUPBOX, parent,
                               id),
                   twips) {
  ::SetWindowSubclass(hwnd_, BackgroundProc, kBackgroundSubclass, 0);
}

Win32Frame::~Win32Frame() {
  if (::IsWindow(hwnd_)) ::RemoveWindowSubclass(hwnd_, BackgroundProc, kBackgroundSubclass);
}

// A group box draws its border and caption only. The document window clips its children, so it
// paints nothing under the frame either: the frame fills its own background.
LRESULT CALLBACK Win32Frame::BackgroundProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR) noexcept {
  if (message != WM_ERASEBKGND) return ::DefSubclassProc(hwnd, message, wParam, lParam);
  RECT client;
  ::GetClientRect(hwnd, &client);
  ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
  return 1;
}

Win32Label::Win32Label(HWND parent, int id, const Twips& twips)
    : Win32Control(CreateChild(0, L"STATIC", WS_VISIBLE | WS_CLIPSIBLINGS | SS_LEFT, parent, id), twips) {}

// ---------------------------------------------------------------------------------------------
// Win32CommonDialog

std::wstring Win32CommonDialog::DialogFilter(std::wstring_view filter) {
  std::wstring list(filter);
  if (list.empty()) return list;
  std::replace(list.begin(), list.end(), L'|', L'\0');
  if (list.back() != L'\0') list.push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

void Win32CommonDialog::ShowOpen() {
  const std::wstring filter = DialogFilter(filter_);
  std::wstring file(32768, L'\0');
  OPENFILENAMEW open{};
  open.lStructSize = sizeof(open);
  open.hwndOwner = owner_;
  open.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  open.nFilterIndex = static_cast<DWORD>(std::max(filterIndex_, 0));
  open.lpstrFile = file.data();
  open.nMaxFile = static_cast<DWORD>(file.size());
  open.lpstrInitialDir = initDir_.empty() ? nullptr : initDir_.c_str();
  open.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
  open.Flags = static_cast<DWORD>(flags_) | OFN_EXPLORER | OFN_HIDEREADONLY;
  fileName_.clear();
  if (::GetOpenFileNameW(&open)) {
    fileName_ = file.c_str();
    return;
  }
  // A dialog that could not show (CommDlgExtendedError non-zero) counts as cancelled as well.
  if (cancelError_) throw VbError(32755, L"CommonDialog", L"Cancel was selected.");
}
