// Windows.CreateToolWindow and the Window it returns: a hidden dockable frame in the dock area,
// hosting the ActiveX control of a ProgID in Wine's ATL container window.

#include "platform/win32/WindowProc.h"
#include "standin/Model.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace standin {
namespace {

constexpr wchar_t kFrameClass[] = L"MarrowbyStandInToolWindow";

HINSTANCE Module() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

[[noreturn]] void RaiseCannotCreate() {
  throw VbError(429, L"", L"ActiveX component can't create object");
}

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

// The container's library is loaded once and kept: its window class serves every stand-in of
// the process. Null when it cannot be had.
AtlAxGetControlFn AtlAxGetControl() {
  static const AtlAxGetControlFn getControl = []() -> AtlAxGetControlFn {
    HMODULE atl = ::LoadLibraryW(L"atl.dll");
    if (!atl) return nullptr;
    auto init = reinterpret_cast<AtlAxWinInitFn>(
        reinterpret_cast<void*>(::GetProcAddress(atl, "AtlAxWinInit")));
    auto get = reinterpret_cast<AtlAxGetControlFn>(
        reinterpret_cast<void*>(::GetProcAddress(atl, "AtlAxGetControl")));
    return init && get && init() ? get : nullptr;
  }();
  return getControl;
}

class WindowsObject final : public IdeObject<WindowsObject> {
 public:
  explicit WindowsObject(IdePtr ide);
  static const Member kMembers[];
};

// Stores the control into DocObj, passed by reference as an object or a Variant.
void StoreDocument(VARIANT& docObj, IUnknown* control) {
  com_ptr<IDispatch> document;
  control->QueryInterface(IID_IDispatch, document.put_void());
  if (docObj.vt == (VT_BYREF | VT_DISPATCH)) {
    if (*docObj.ppdispVal) (*docObj.ppdispVal)->Release();
    *docObj.ppdispVal = document.detach();
  } else {
    ::VariantClear(docObj.pvarVal);
    docObj.pvarVal->vt = VT_DISPATCH;
    docObj.pvarVal->pdispVal = document.detach();
  }
}

const WindowsObject::Member WindowsObject::kMembers[] = {
    // (AddInInst, ProgId, Caption, GuidPosition, DocObj)
    {{L"CreateToolWindow", 1, Kind::kMethod, 5},
     [](WindowsObject& self, Call& call) {
       if (!call.Object(0)) RaiseInvalidArgument();
       VARIANT& docObj = call.RefArg(4);
       if (docObj.vt != (VT_BYREF | VT_DISPATCH) && docObj.vt != (VT_BYREF | VT_VARIANT))
         RaiseTypeMismatch(L"");
       auto window = Make<ToolWindow>(self.ide_, call.Text(1), call.Text(2), call.Text(3));
       com_ptr<IUnknown> control = window->Create();
       self.ide_->toolWindows.push_back(window);
       StoreDocument(docObj, control.get());
       call.Return(window.get());
     }},
};

WindowsObject::WindowsObject(IdePtr ide) : IdeObject(L"Windows", kMembers, std::move(ide)) {}

}  // namespace

const ToolWindow::Member ToolWindow::kMembers[] = {
    {{L"Caption", 1, Kind::kGet, 0},
     [](ToolWindow& self, Call& call) { call.Return(self.caption_); }},
    {{L"Visible", 2, Kind::kGet, 0},
     [](ToolWindow& self, Call& call) { call.Return(self.Info().visible); }},
    {{L"Visible", 2, Kind::kPut, 0},
     [](ToolWindow& self, Call& call) {
       ::ShowWindow(self.Frame(), ToBool(call.Value()) ? SW_SHOW : SW_HIDE);
     }},
};

ToolWindow::ToolWindow(IdePtr ide, std::wstring progId, std::wstring caption,
                       std::wstring guidPosition)
    : IdeObject(L"Window", kMembers, std::move(ide)),
      progId_(std::move(progId)),
      caption_(std::move(caption)),
      guidPosition_(std::move(guidPosition)) {}

ToolWindow::~ToolWindow() { Destroy(); }

com_ptr<IUnknown> ToolWindow::Create() {
  const AtlAxGetControlFn getControl = AtlAxGetControl();
  if (!getControl) RaiseCannotCreate();
  static const bool registered = [] {
    WNDCLASSEXW frameClass{};
    frameClass.cbSize = sizeof frameClass;
    frameClass.lpfnWndProc = &BoundWindowProc<ToolWindow>;
    frameClass.hInstance = Module();
    frameClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frameClass.lpszClassName = kFrameClass;
    return ::RegisterClassExW(&frameClass) != 0;
  }();
  if (!registered) RaiseCannotCreate();

  // Hidden until the add-in shows it; it fills the dock area.
  RECT area{};
  ::GetClientRect(ide_->dockParent, &area);
  ::CreateWindowExW(WS_EX_TOOLWINDOW, kFrameClass, caption_.c_str(),
                    WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, 0, 0,
                    area.right, area.bottom, ide_->dockParent, nullptr, Module(), this);
  if (!frame_) RaiseCannotCreate();
  RECT client{};
  ::GetClientRect(frame_, &client);
  container_ = ::CreateWindowExW(0, L"AtlAxWin", progId_.c_str(), WS_CHILD | WS_VISIBLE, 0, 0,
                                 client.right, client.bottom, frame_, nullptr, Module(), nullptr);
  // The container makes its window even when the ProgID is not registered: ask for the control.
  com_ptr<IUnknown> control;
  if (!container_ || FAILED(getControl(container_, control.put())) || !control) {
    Destroy();
    RaiseCannotCreate();
  }
  return control;
}

void ToolWindow::Close() {
  if (frame_) ::SendMessageW(frame_, WM_CLOSE, 0, 0);
}

void ToolWindow::Destroy() {
  if (frame_) ::DestroyWindow(frame_);
}

ToolWindowInfo ToolWindow::Info() const {
  const bool visible = frame_ && (::GetWindowLongW(frame_, GWL_STYLE) & WS_VISIBLE);
  return {progId_, caption_, guidPosition_, frame_, visible};
}

HWND ToolWindow::Frame() const {
  if (!frame_) RaiseDisconnected();
  return frame_;
}

LRESULT ToolWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_SIZE:  // the control fills the frame
      if (container_) ::MoveWindow(container_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_CLOSE:  // the close box hides a tool window; Window.Visible then reads False
      ::ShowWindow(frame_, SW_HIDE);
      return 0;
  }
  return ::DefWindowProcW(frame_, message, wParam, lParam);
}

com_ptr<IDispatch> MakeWindows(IdePtr ide) {
  return com_ptr<IDispatch>(Make<WindowsObject>(std::move(ide)).get());
}

}  // namespace standin
