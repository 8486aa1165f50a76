#include "about/win32/AboutForm.h"

#include <commctrl.h>
#include <winver.h>

#include <cstddef>
#include <cwchar>
#include <string>
#include <vector>

#include "about/SysInfo.h"
#include "ide/mMain.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/win32/WindowProc.h"
#include "platform/win32/unique_res.h"

namespace {

using unique_font = unique_res<HFONT, ::DeleteObject>;
using unique_bitmap = unique_res<HBITMAP, ::DeleteObject>;
using unique_icon = unique_res<HICON, ::DestroyIcon>;
using unique_dc = unique_res<HDC, ::DeleteDC>;

// The layout, in pixels at 96 dots per inch; the box scales it to the screen's.
constexpr int kClientWidth = 400;
constexpr int kClientHeight = 292;

struct ControlPlace {
  int id;
  const wchar_t* windowClass;
  DWORD style;
  int x, y, width, height;
};

// Every static notifies, so that the mouse over any control is the control's and only the bare
// surface of the box is the form's (for the link's hover look). Creation order is tab order.
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
constexpr DWORD kPicture = SS_OWNERDRAW | SS_NOTIFY;
constexpr ControlPlace kPlaces[] = {
    {kAboutBanner, L"STATIC", kPicture, 0, 0, 400, 60},
    {kAboutIcon, L"STATIC", kPicture, 14, 74, 32, 32},
    {kAboutTitle, L"STATIC", kLabel, 58, 72, 328, 26},
    {kAboutVersion, L"STATIC", kLabel, 58, 100, 328, 16},
    {kAboutDescription, L"STATIC", kLabel, 58, 120, 328, 58},
    {kAboutLink, L"STATIC", kLabel, 14, 186, 372, 16},
    {kAboutLine, L"STATIC", kPicture, 10, 210, 380, 2},
    {kAboutCopyright, L"STATIC", kLabel, 14, 226, 270, 52},
    {IDOK, L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 296, 222, 92, 26},
    {kAboutSysInfo, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 296, 254, 92, 26},
};

constexpr COLORREF kTitleColour = RGB(0x00, 0x00, 0x80);       // &H800000
constexpr COLORREF kLinkColour = RGB(0x00, 0x00, 0x00);        // black
constexpr COLORREF kLinkHotColour = RGB(0x00, 0x00, 0xFF);     // &HFF0000
constexpr COLORREF kLineShadowColour = RGB(0x80, 0x80, 0x80);  // &H808080
constexpr COLORREF kLineLightColour = RGB(0xFF, 0xFF, 0xFF);

// A dialog template without controls: the box makes its own at WM_INITDIALOG, placed in pixels.
#include <pshpack2.h>
struct EmptyDialogTemplate {
  DLGTEMPLATE header;
  WORD menu = 0;
  WORD windowClass = 0;
  WCHAR title[1] = {};
  WORD pointSize = 8;
  WCHAR typeface[13] = L"MS Shell Dlg";
};
#include <poppack.h>
static_assert(offsetof(EmptyDialogTemplate, menu) == sizeof(DLGTEMPLATE));

// Message boxes owned by the box, so that they are modal to it.
class OwnedMsgBox final : public MsgBox {
 public:
  explicit OwnedMsgBox(HWND owner) : owner_(owner) {}
  int Show(std::wstring_view prompt, int style, std::wstring_view title) override {
    return ::MessageBoxW(owner_, std::wstring(prompt).c_str(), std::wstring(title).c_str(),
                         static_cast<UINT>(style));
  }

 private:
  HWND owner_;
};

std::wstring VersionString(const std::vector<BYTE>& block, const std::wstring& translation,
                           const wchar_t* name) {
  void* text = nullptr;
  UINT length = 0;
  const std::wstring path = L"\\StringFileInfo\\" + translation + L"\\" + name;
  if (!::VerQueryValueW(block.data(), path.c_str(), &text, &length) || !text) return {};
  std::wstring value(static_cast<const wchar_t*>(text), length);
  return value.substr(0, value.find(L'\0'));
}

class AboutForm final : public ModalForm {
 public:
  AboutForm(HWND owner, HINSTANCE module, const AboutPlatform& platform)
      : owner_(owner), module_(module), platform_(platform) {}

  void ShowModal() override {
    if (hwnd_) return;  // already showing: its owner is disabled, so this is a stray call
    EmptyDialogTemplate dialog{};
    dialog.header.style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dialog.header.cx = 200;
    dialog.header.cy = 120;
    HWND owner = owner_ ? owner_ : ::GetActiveWindow();
    ::DialogBoxIndirectParamW(module_, &dialog.header, owner, BoundDialogProc<AboutForm>,
                              reinterpret_cast<LPARAM>(this));
    // The dialog and its controls are gone: what form load took goes with them.
    hwnd_ = link_ = title_ = nullptr;
    linkHot_ = false;
    titleFont_.reset();
    copyFont_.reset();
    linkFont_.reset();
    banner_.reset();
    icon_.reset();
  }

  // For BoundDialogProc.
  INT_PTR OnInitDialog(HWND hwnd) {
    hwnd_ = hwnd;
    CreateControls();
    FormLoad();
    ::SetFocus(::GetDlgItem(hwnd_, IDOK));
    return FALSE;  // the focus is set
  }

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      case WM_MOUSEMOVE:  // over the form's own surface
        SetLinkHot(false);
        return TRUE;
      case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
      case WM_DRAWITEM:
        OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      default:
        return FALSE;
    }
  }

 private:
  // Label1's own mouse moves (WM_MOUSEMOVE) give it the hover look.
  static LRESULT CALLBACK LinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR data) noexcept {
    if (message == WM_MOUSEMOVE) {
      reinterpret_cast<AboutForm*>(data)->SetLinkHot(true);
    } else if (message == WM_NCDESTROY) {
      ::RemoveWindowSubclass(hwnd, LinkProc, id);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
  }

  // for WM_COMMAND from the buttons (and Enter and Esc, which the dialog turns into IDOK and
  // IDCANCEL) and from the link
  void OnCommand(int id, int code) {
    if (id == IDOK || id == IDCANCEL) {
      ::EndDialog(hwnd_, id);
    } else if (id == kAboutSysInfo && code == BN_CLICKED) {
      OwnedMsgBox msgBox(hwnd_);
      StartSysInfo(platform_, msgBox, kAppTitle);
    } else if (id == kAboutLink && code == STN_CLICKED) {
      platform_.shell.Open(kMakerWebAddress, hwnd_);
    }
  }

  int Scale(int pixels) const { return ::MulDiv(pixels, dpi_, 96); }

  unique_font MakeFont(const wchar_t* face, int hundredthsOfAPoint, int weight) const {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(hundredthsOfAPoint, dpi_, 7200);
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    ::lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return unique_font(::CreateFontIndirectW(&font));
  }

  void CreateControls() {
    {
      HDC screen = ::GetDC(nullptr);
      dpi_ = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
      if (screen) ::ReleaseDC(nullptr, screen);
      if (dpi_ <= 0) dpi_ = 96;
    }
    auto dialogFont = reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    dialogFont_ = dialogFont ? dialogFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW underlined{};
    ::GetObjectW(dialogFont_, sizeof underlined, &underlined);
    underlined.lfUnderline = TRUE;
    linkFont_.reset(::CreateFontIndirectW(&underlined));
    titleFont_ = MakeFont(L"Arial", 1425, FW_NORMAL);
    copyFont_ = MakeFont(L"Arial", 975, FW_BOLD);

    for (const ControlPlace& place : kPlaces) {
      HWND control = ::CreateWindowExW(
          0, place.windowClass, L"", WS_CHILD | WS_VISIBLE | place.style, Scale(place.x),
          Scale(place.y), Scale(place.width), Scale(place.height), hwnd_,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)), module_, nullptr);
      HFONT font = place.id == kAboutTitle       ? titleFont_.get()
                   : place.id == kAboutCopyright ? copyFont_.get()
                                                 : dialogFont_;
      ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    title_ = ::GetDlgItem(hwnd_, kAboutTitle);
    link_ = ::GetDlgItem(hwnd_, kAboutLink);
    ::SetWindowTextW(link_, kMakerLinkCaption);
    ::SetWindowSubclass(link_, LinkProc, 1, reinterpret_cast<DWORD_PTR>(this));
    ::SetDlgItemTextW(hwnd_, IDOK, L"OK");
    ::SetDlgItemTextW(hwnd_, kAboutSysInfo, L"&System Info...");
    PlaceOverOwner();
  }

  // The box is sized to its layout and centred over its owner, kept on the owner's screen.
  void PlaceOverOwner() {
    RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;

    HWND owner = ::GetWindow(hwnd_, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : hwnd_, MONITOR_DEFAULTTONEAREST),
                      &monitor);
    RECT around = monitor.rcWork;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &around);
    int x = around.left + (around.right - around.left - width) / 2;
    int y = around.top + (around.bottom - around.top - height) / 2;
    const RECT& work = monitor.rcWork;
    if (x + width > work.right) x = work.right - width;
    if (y + height > work.bottom) y = work.bottom - height;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    ::SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Form_Load, in its order.
  void FormLoad() {
    const AboutTexts texts = FormLoadTexts(kAppTitle, ReadVersionRecord(module_));
    ::SetWindowTextW(hwnd_, texts.Caption.c_str());
    const int iconSize = Scale(32);
    icon_.reset(static_cast<HICON>(
        ::LoadImageW(module_, L"ICO", IMAGE_ICON, iconSize, iconSize, LR_DEFAULTCOLOR)));
    ::SetDlgItemTextW(hwnd_, kAboutVersion, texts.Version.c_str());
    ::SetDlgItemTextW(hwnd_, kAboutTitle, texts.Title.c_str());
    ::SetDlgItemTextW(hwnd_, kAboutDescription, texts.Description.c_str());
    ::SetDlgItemTextW(hwnd_, kAboutCopyright, texts.Copyright.c_str());
    banner_.reset(static_cast<HBITMAP>(
        ::LoadImageW(module_, L"BANNER", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  }

  void SetLinkHot(bool hot) {
    if (hot == linkHot_ || !link_) return;
    linkHot_ = hot;
    ::SendMessageW(link_, WM_SETFONT,
                   reinterpret_cast<WPARAM>(hot && linkFont_ ? linkFont_.get() : dialogFont_),
                   FALSE);
    ::InvalidateRect(link_, nullptr, TRUE);
  }

  // for WM_CTLCOLORSTATIC: the title's and the link's colours; every static on the face colour
  HBRUSH OnCtlColorStatic(HDC dc, HWND control) const {
    COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    if (control == title_) text = kTitleColour;
    if (control == link_) text = linkHot_ ? kLinkHotColour : kLinkColour;
    ::SetTextColor(dc, text);
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    return ::GetSysColorBrush(COLOR_BTNFACE);
  }

  // for WM_DRAWITEM from the owner-drawn statics: the banner, the icon and the separator
  void OnDrawItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    switch (item.CtlID) {
      case kAboutBanner:
        if (banner_) {
          BITMAP size{};
          ::GetObjectW(banner_.get(), sizeof size, &size);
          unique_dc memory(::CreateCompatibleDC(dc));
          HGDIOBJ old = ::SelectObject(memory.get(), banner_.get());
          ::SetStretchBltMode(dc, HALFTONE);
          ::SetBrushOrgEx(dc, 0, 0, nullptr);
          ::StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(), 0, 0,
                       size.bmWidth, size.bmHeight, SRCCOPY);
          ::SelectObject(memory.get(), old);
        }
        break;
      case kAboutIcon:
        if (icon_)
          ::DrawIconEx(dc, r.left, r.top, icon_.get(), r.right - r.left, r.bottom - r.top, 0,
                       nullptr, DI_NORMAL);
        break;
      case kAboutLine: {
        // Etched: a grey line over a white one, each a pixel at 96 dots per inch.
        const int thickness = Scale(1) > 0 ? Scale(1) : 1;
        RECT shadow{r.left, r.top, r.right, r.top + thickness};
        RECT light{r.left, r.top + thickness, r.right, r.top + 2 * thickness};
        ::SetDCBrushColor(dc, kLineShadowColour);
        ::FillRect(dc, &shadow, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
        ::SetDCBrushColor(dc, kLineLightColour);
        ::FillRect(dc, &light, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
        break;
      }
    }
  }

  HWND owner_;
  HINSTANCE module_;
  AboutPlatform platform_;

  // While the box shows:
  HWND hwnd_ = nullptr;
  HWND title_ = nullptr;
  HWND link_ = nullptr;
  int dpi_ = 96;
  bool linkHot_ = false;
  HFONT dialogFont_ = nullptr;  // the dialog's, not owned
  unique_font titleFont_, copyFont_, linkFont_;
  unique_bitmap banner_;
  unique_icon icon_;
};

}  // namespace

std::unique_ptr<ModalForm> MakeAboutForm(HWND owner, HINSTANCE module,
                                         const AboutPlatform& platform) {
  return std::make_unique<AboutForm>(owner, module, platform);
}

VersionRecord ReadVersionRecord(HINSTANCE module) {
  VersionRecord record;
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const auto* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
  const DWORD size = found ? ::SizeofResource(module, found) : 0;
  if (!data || size == 0) return record;
  // VerQueryValueW reads a copy, as GetFileVersionInfoW would hand it over, with room to spare.
  std::vector<BYTE> block(data, data + size);
  block.resize(size * 2);

  void* value = nullptr;
  UINT length = 0;
  if (::VerQueryValueW(block.data(), L"\\", &value, &length) && value &&
      length >= sizeof(VS_FIXEDFILEINFO)) {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    record.FileVersionMS = fixed->dwFileVersionMS;
    record.FileVersionLS = fixed->dwFileVersionLS;
  }

  // The first translation the record lists, then the usual US English ones.
  std::vector<std::wstring> translations;
  if (::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) && value &&
      length >= 2 * sizeof(WORD)) {
    const auto* pair = static_cast<const WORD*>(value);
    wchar_t name[9];
    std::swprintf(name, 9, L"%04x%04x", pair[0], pair[1]);
    translations.push_back(name);
  }
  translations.push_back(L"040904b0");
  translations.push_back(L"040904e4");
  for (const std::wstring& translation : translations) {
    record.FileDescription = VersionString(block, translation, L"FileDescription");
    record.LegalCopyright = VersionString(block, translation, L"LegalCopyright");
    if (!record.FileDescription.empty() || !record.LegalCopyright.empty()) break;
  }
  return record;
}
